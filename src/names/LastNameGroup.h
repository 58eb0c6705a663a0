#pragma once

#include <QList>
#include <QString>

namespace orvella::names {

// One group of the per-last-name limit: the head field it stands for and the display
// names that joined it.
class LastNameGroup {
public:
    const QString &lastName() const { return m_lastName; }
    void setLastName(const QString &lastName) { m_lastName = lastName; }
    int size() const { return static_cast<int>(m_members.size()); }
    void add(const QString &name) { m_members.append(name); }

private:
    QString m_lastName;
    QList<QString> m_members;
};

} // namespace orvella::names
