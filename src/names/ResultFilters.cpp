#include "names/ResultFilters.h"

#include "core/Failure.h"
#include "core/NumberText.h"

namespace orvella::names {

clsDomain *NameGroups::find(QStringView head) const
{
    return m_byDomain.value(head.toString(), nullptr);
}

clsDomain *NameGroups::create()
{
    m_groups.push_back(std::make_unique<clsDomain>());
    return m_groups.back().get();
}

void NameGroups::add(clsDomain *group)
{
    if (!m_byDomain.contains(group->Domain()))
        m_byDomain.insert(group->Domain(), group);
}

std::optional<int> LimitReader::read(const QString &text)
{
    if (m_valid && text == m_text)
        return m_value;
    m_text = text;
    m_valid = true;
    m_value.reset();
    m_error.clear();
    try {
        m_value = core::readInt16(text);
    } catch (const core::Failure &failure) {
        m_error = failure.description();
    }
    return m_value;
}

} // namespace orvella::names
