#pragma once

#include "lists/NameListModel.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace orvella::lists {

// The live suffix list: the entries the suffix editor shows and the sort steps over.
// Lookups ignore letter case and are answered from a set that is rebuilt after the
// entries change.
class SuffixList : public QObject {
    Q_OBJECT
public:
    explicit SuffixList(QObject *parent = nullptr);

    NameListModel &model() { return m_model; }
    const NameListModel &model() const { return m_model; }

    // True when the word equals an entry, ignoring letter case (whole strings, no trimming).
    bool IsSuffix(QStringView word);

private:
    NameListModel m_model;
    // A standard set looked up by view rather than a QSet: QSet lookups cost a sort of
    // a million names in the suffix-skipping reading more than half a second.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const noexcept
        {
            return std::hash<std::u16string_view>{}(text);
        }
    };
    std::unordered_set<std::u16string, TextHash, std::equal_to<>> m_lowered;
    bool m_dirty = true;
};

} // namespace orvella::lists
