#pragma once

#include <QString>
#include <exception>

namespace orvella::core {

// A failed step: carries the one-line description that the error report shows.
class Failure : public std::exception {
public:
    explicit Failure(QString description) : m_description(std::move(description)) {}
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return "orvella::core::Failure"; }

private:
    QString m_description;
};

} // namespace orvella::core
