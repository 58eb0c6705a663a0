#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvella::names {

// Common given-name pairs, one a line: a short or familiar form, a space, the full
// name ("Bob Robert", "Liz Elizabeth", "Pepe José"), as the nickname list starts out.
QStringList defaultNicknames();

// The nickname list: which given names stand for the same full name. Letter case and
// accents do not matter.
class NicknameSet {
public:
    NicknameSet() : NicknameSet(defaultNicknames()) {}
    // Lines of two words or more (the first the nickname, the last the full name); other
    // lines are left out, as are repeats (ignoring case). A nickname listed with two
    // full names stands for the first.
    explicit NicknameSet(const QStringList &lines);

    const QStringList &entries() const { return m_entries; }
    // The full name a folded given name stands for (see foldName), or the name itself.
    QString fullNameOf(const QString &folded) const { return m_full.value(folded, folded); }

private:
    QStringList m_entries;
    QHash<QString, QString> m_full;
};

// A name's text as the duplicate search compares it: in lower case, without accents.
QString foldName(QStringView text);

} // namespace orvella::names
