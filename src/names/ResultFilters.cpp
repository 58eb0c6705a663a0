#include "names/ResultFilters.h"

#include "core/Failure.h"
#include "core/NumberText.h"

namespace orvella::names {

LastNameGroup *NameGroups::find(QStringView head) const
{
    return m_byLastName.value(head.toString(), nullptr);
}

LastNameGroup *NameGroups::create()
{
    m_groups.push_back(std::make_unique<LastNameGroup>());
    return m_groups.back().get();
}

void NameGroups::add(LastNameGroup *group)
{
    if (!m_byLastName.contains(group->lastName()))
        m_byLastName.insert(group->lastName(), group);
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
