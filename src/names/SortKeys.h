#pragma once

#include "core/FieldDelimiter.h"

#include <QString>
#include <QStringView>
#include <functional>

namespace orvella::names {

// The field delimiter between a key's head field and its tail field.
using core::kFieldDelimiter;

// Which field a name is filed under, chosen by the option buttons "Sort by Last/First"
// (Option1) and "Sort by First/Last" (Option2).
enum class SortBy { LastFirst, FirstLast };

// How a Last/First reading takes the last name: "Sort by last word but ignore common
// suffixes like Jr. Sr. III etc." (Option3) or "Sort by last word" (Option4). A
// First/Last reading keeps the choice but does not use it.
enum class LastWordReading { SkipSuffixes, LastWord };

// The option buttons' reading of a name.
struct SortOptions {
    SortBy sortBy = SortBy::LastFirst;
    LastWordReading lastWord = LastWordReading::SkipSuffixes;

    bool firstLast() const { return sortBy == SortBy::FirstLast; }
    bool skipsSuffixes() const { return lastWord == LastWordReading::SkipSuffixes; }
    bool operator==(const SortOptions &) const = default;
};

using SuffixTest = std::function<bool(QStringView word)>;
using ParticleTest = std::function<bool(QStringView word)>;

// A name as the option buttons read it, as views into the name (nothing is copied):
// the sort key and the "How Names Are Read" view are both made from these fields.
struct NameFields {
    QStringView head;       // the field the name is filed under
    QStringView tail;       // the rest of the name, after the delimiter
    bool delimited = false; // false: the key is the head alone
    QStringView lastName;   // the head's last (First/Last: first) name, without suffix or particles
    QStringView suffix;     // the last word stepped over (empty when none)
    QStringView particles;  // the particle words the last name takes along (empty when none)
};

// The one place that decides how the option buttons read a name: which words it has,
// which is the head and what the tail is (see buildSortKey for the layouts). When
// isParticle is given, the last name of a Last/First reading takes along the run of
// particle words directly before it, unless that run reaches the first word.
NameFields readFields(QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                      const ParticleTest &isParticle = {});

// The sort key of a name: the field to sort by, the delimiter, the rest of the name.
// Words are the pieces between single U+0020 spaces (two spaces give an empty word).
//   First/Last:               w0!!!TWINE!!!w1 w2 ... wn
//   Last/First, last word:    wn!!!TWINE!!!w0 w1 ... w(n-1)
//   Last/First, skip suffix:  w(n-1) wn!!!TWINE!!!w0 ... w(n-2)   (when wn is a suffix;
//                             the tail then ends with a space)
// A one-word name is its own key in every reading; an empty name has an empty key.
// isSuffix is asked about the last word
// only in the suffix-skipping reading, and only when the name has more than one word.
QString buildSortKey(QStringView name, const SortOptions &options, const SuffixTest &isSuffix);
// The same into a text the caller keeps (it is replaced), to spare an allocation per
// name; with the particles of readFields when isParticle is given. suffixLength (when
// given) is set to the length of the suffix stepped over at the head's end, with the
// space before it (0 when none).
void buildSortKeyInto(QString &key, QStringView name, const SortOptions &options, const SuffixTest &isSuffix,
                      const ParticleTest &isParticle = {}, qsizetype *suffixLength = nullptr);

// A sort key taken apart at its first field delimiter, without copying it: the head
// field, and when the key has a delimiter, the text after it. The key's units are the
// head's, the delimiter's, then the tail's.
struct KeyParts {
    QStringView head;
    QStringView tail;
    bool split = false;

    qsizetype size() const { return split ? head.size() + kFieldDelimiter.size() + tail.size() : head.size(); }
    // The unit at position 0 .. size() - 1.
    char16_t unit(qsizetype at) const
    {
        if (at < head.size())
            return head.utf16()[at];
        at -= head.size();
        if (at < kFieldDelimiter.size())
            return kFieldDelimiter.utf16()[at];
        return tail.utf16()[at - kFieldDelimiter.size()];
    }
    QString toString() const;
    // Appends the key's text, delimiter included, to a text the caller keeps.
    void appendTo(QString &text) const
    {
        text.append(head);
        if (split)
            text.append(kFieldDelimiter).append(tail);
    }
};

KeyParts splitKey(QStringView key);

// The name as entered: the key's fields (split at every delimiter) in reading order,
// each without spaces at its ends, joined by one space, without spaces at the ends.
QString revealName(QStringView key, const SortOptions &options);
QString revealName(const KeyParts &key, const SortOptions &options);
// The same into a text the caller keeps (it is replaced), to spare an allocation per name.
void revealNameInto(QString &name, const KeyParts &key, const SortOptions &options);

// The head field: the text before the first delimiter, or the whole key.
QStringView headField(QStringView key);

// U+0020 only; tabs and other white space are part of a word.
QStringView trimSpaces(QStringView text);

} // namespace orvella::names
