#pragma once

#include <QList>
#include <QString>

namespace orvella::names {

// One name group of the per-last-name limit: the head field it stands for and the
// display names that joined it.
class clsDomain {
public:
    const QString &Domain() const { return m_domain; }
    void setDomain(const QString &domain) { m_domain = domain; }
    int Count() const { return static_cast<int>(m_members.size()); }
    void AddEmailAddress(const QString &name) { m_members.append(name); }

private:
    QString m_domain;
    QList<QString> m_members;
};

} // namespace orvella::names
