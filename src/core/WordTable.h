#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

namespace orvella::core {

// Choices stored and given as words, each in a table of its words and their values.

// The value of a word the table knows (exactly as written there); nothing otherwise.
template<typename Value, size_t N>
std::optional<Value> lookUpWord(QStringView word, const std::pair<const char16_t *, Value> (&words)[N])
{
    for (const auto &[text, value] : words) {
        if (word == QStringView(text))
            return value;
    }
    return std::nullopt;
}

// The first word of a value (the table's first word for a value it lacks).
template<typename Value, size_t N>
QString wordOf(Value value, const std::pair<const char16_t *, Value> (&words)[N])
{
    for (const auto &[text, known] : words) {
        if (known == value)
            return QString::fromUtf16(text);
    }
    return QString::fromUtf16(words[0].first);
}

} // namespace orvella::core
