#pragma once

// The word lists and names the reading tests read with: the program's own suffix,
// particle and title lists, the reading choices as bits, and names from name columns.

#include "names/Designations.h"
#include "names/NameReading.h"
#include "names/Particles.h"
#include "suffixes/SuffixStore.h"
#include "tables/NameRows.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace reading_lists {

using namespace orvella::names;

inline bool defaultParticle(QStringView word)
{
    static const ParticleSet particles;
    return particles.contains(word);
}

enum Choice { Neither = 0, Comma = 1, Particles = 2, Both = 3, Steps = 4, Family = 8, Two = 16 };

// The program's own suffix and title lists.
inline bool listedSuffix(QStringView word)
{
    static const QSet<QString> lowered = [] {
        QSet<QString> set;
        for (const QString &entry : orvella::suffixes::defaultSuffixes())
            set.insert(entry.toLower());
        return set;
    }();
    return lowered.contains(word.toString().toLower());
}

inline const DesignationSet *defaultDesignations()
{
    static const DesignationSet designations;
    return &designations;
}

inline bool defaultTitle(QStringView word)
{
    static const TitleSet titles;
    return titles.isTitle(word);
}

// A name from a table's name columns, "Last|Given|Suffix": the name as the table
// builds it ("Last, Given, Suffix") and its parts as views into it.
struct ColumnName {
    QString name;
    orvella::tables::NameParts parts;

    explicit ColumnName(const char *cells)
    {
        const QStringList cell = QString::fromUtf8(cells).split(u'|');
        name = cell[0];
        if (!cell[1].isEmpty())
            name += ", " + cell[1];
        if (!cell[2].isEmpty())
            name += (cell[1].isEmpty() ? " " : ", ") + cell[2];
        const QStringView all(name);
        parts.lastName = all.first(cell[0].size());
        parts.given = cell[1].isEmpty() ? QStringView() : all.sliced(cell[0].size() + 2, cell[1].size());
        parts.suffix = all.last(cell[2].size());
    }
};

} // namespace reading_lists
