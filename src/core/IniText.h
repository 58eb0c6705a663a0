#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace orvella::core {

// The text of an INI settings file in the form QSettings reads and writes: "[Section]"
// lines, "key=value" lines, ";" comments; keys and values escaped the QSettings way.
// It is read and changed one key at a time. A change rewrites the line of that key
// alone: every other line stays as it stands, byte for byte, apart from damage that
// QSettings cannot read either, which is dropped so that the file is clean again:
// a leading UTF-8 byte-order mark, a line that is neither blank, a comment, a section
// header nor "key=value", and a section header cut before its "]" (which is closed).
//
// Values come back exactly as they were set, whatever their characters. An ordinary
// value is written byte for byte as QSettings writes it. The few characters that
// QSettings cannot bring back (a lone surrogate, U+FEFF) are written as its hex
// escape ("\xd800"), which QSettings reads as well.
//
// Lines end as QSettings reads them, in LF, CR LF or a lone CR; a backslash right
// before the line break continues the line in the next one (the continued lines belong
// to their entry: kept with it, replaced with it). Reading follows QSettings, except
// that a value is everything after the first "=": a ";" in it is text, not the start
// of a comment, a "," does not split it into a list, blanks around it are kept, and a
// line break inside double quotes ends the line. Double quotes and backslash escapes
// are read as QSettings reads them.
class IniText {
public:
    explicit IniText(QByteArray text = {});

    // The value of the key's last line in the section (the one QSettings would read),
    // or none when the section holds no such key.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Writes the key's line in place of its last one (earlier lines of the same key are
    // dropped), or after the section's last line, or in a new section at the end.
    void setValue(QStringView section, QStringView key, QStringView value);

    const QByteArray &bytes() const { return m_text; }

    // How a value and a key are written after and before the "=".
    static QByteArray escapedValue(QStringView value);
    static QString unescapedValue(QByteArrayView written);
    static QByteArray escapedKey(QStringView key);
    static QString unescapedKey(QByteArrayView written);

private:
    // The text of an unescaped value without QSettings' "@" marks (see escapedValue).
    static QString withoutMarks(const QString &text);
    void rewrite(QStringView section, QStringView key, const std::optional<QByteArray> &line);

    QByteArray m_text;
};

} // namespace orvella::core
