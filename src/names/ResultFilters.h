#pragma once

#include "names/LastNameGroup.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace orvella::names {

// Exact, case-sensitive set of the input names seen so far ("Remove duplicates").
class DuplicateFilter {
public:
    qsizetype size() const { return m_seen.size(); }
    bool seen(const QString &name) const { return m_seen.contains(name); }
    void add(const QString &name) { m_seen.insert(name); }

private:
    QSet<QString> m_seen;
};

// Head fields already kept ("Keep unique last names").
class UniqueFilter {
public:
    qsizetype size() const { return m_heads.size(); }
    bool seen(QStringView head) const { return m_heads.contains(head.toString()); }
    void add(QStringView head) { m_heads.insert(head.toString()); }

private:
    QSet<QString> m_heads;
};

// The name groups of "Keep only this number of names per last name", in order of
// creation. A group is found by its exact head field; since a group is only created
// when none matches, every head field has at most one group.
class NameGroups {
public:
    LastNameGroup *find(QStringView head) const;
    LastNameGroup *create();
    // Makes a created group findable under its last name.
    void add(LastNameGroup *group);
    int size() const { return static_cast<int>(m_groups.size()); }

private:
    std::vector<std::unique_ptr<LastNameGroup>> m_groups;
    QHash<QString, LastNameGroup *> m_byLastName;
};

// The limit as the user typed it, read as a 16-bit whole number. Remembers the last
// text read so that a run over many keys parses it once.
class LimitReader {
public:
    // The limit, or empty when the text is no such number (error() then says why).
    std::optional<int> read(const QString &text);
    const QString &error() const { return m_error; }

private:
    QString m_text;
    std::optional<int> m_value;
    QString m_error;
    bool m_valid = false;
};

} // namespace orvella::names
