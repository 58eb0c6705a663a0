#pragma once

#include <QList>
#include <QString>

namespace orvella::core {
class SettingsStore;
} // namespace orvella::core
namespace orvella::suffixes {

inline constexpr const char *kSuffixListKey = "SuffixList";

// The 77 suffixes the list starts with, in their order.
const QList<QString> &defaultSuffixes();

// Stored form: the entries joined by "!!!TWINE!!!" (between entries only); an empty
// list is "". Unpacking splits at every delimiter, keeping empty pieces; "" gives none.
QString packSuffixList(const QList<QString> &entries);
QList<QString> unpackSuffixList(const QString &stored);

// The stored entries, or the default list when none are stored. Writes nothing.
QList<QString> storedSuffixList(const core::SettingsStore &settings);
// Writes the entries' stored form under "SuffixList". Throws when the store cannot be
// written.
void saveSuffixList(const QList<QString> &entries, core::SettingsStore &settings);

} // namespace orvella::suffixes
