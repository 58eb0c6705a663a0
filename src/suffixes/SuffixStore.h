#pragma once

#include <QList>
#include <QString>

namespace orvella::core {
class SettingsStore;
}
namespace orvella::lists {
class NameListModel;
}

namespace orvella::suffixes {

inline constexpr const char *kSuffixListKey = "SuffixList";

// The 77 suffixes the list starts with, in their order.
const QList<QString> &defaultSuffixes();

// Stored form: the entries joined by "!!!TWINE!!!" (between entries only); an empty
// list is "". Unpacking splits at every delimiter, keeping empty pieces; "" gives none.
QString packSuffixList(const QList<QString> &entries);
QList<QString> unpackSuffixList(const QString &stored);

// Appends the stored entries, or the default list when there are none. Writes nothing.
void LoadSuffixList(lists::NameListModel &list, const core::SettingsStore &settings);
// Appends the 77 default entries after whatever the list holds.
void LoadSampleSuffix(lists::NameListModel &list);
// Writes the list's stored form under "SuffixList". Throws when the store cannot be written.
void SaveSuffixList(const lists::NameListModel &list, core::SettingsStore &settings);

} // namespace orvella::suffixes
