#include "suffixes/SuffixList.h"

namespace orvella::suffixes {

SuffixList::SuffixList(QObject *parent) : QObject(parent), m_model(QStringLiteral("Suffix List"))
{
    connect(&m_model, &lists::NameListModel::itemsChanged, this, [this] { m_dirty = true; });
}

bool SuffixList::IsSuffix(QStringView word)
{
    if (m_dirty) {
        m_lowered.clear();
        for (const QString &entry : m_model.items())
            m_lowered.insert(entry.toLower());
        m_dirty = false;
    }
    if (m_lowered.isEmpty())
        return false;
    return m_lowered.contains(word.toString().toLower());
}

} // namespace orvella::suffixes
