#include "core/Procedure.h"

#include "core/ErrorReport.h"

#include <algorithm>
#include <stdexcept>

namespace orvella::core {

QString Procedure::describeCurrentException()
{
    try {
        throw;
    } catch (const Failure &failure) {
        return failure.description();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected failure");
    }
}

void Procedure::reportCurrent(int number)
{
    bool outOfMemory = false;
    try {
        throw;
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    } catch (...) {
    }
    if (outOfMemory && m_passOnOutOfMemory)
        throw;

    ++m_failures;
    if (outOfMemory && m_release) {
        m_outOfMemory = true;
        m_skipping = true;
        try {
            m_release();
        } catch (...) {
        }
    }
    try {
        if (m_eachStepOnce) {
            if (std::find(m_reportedSteps.begin(), m_reportedSteps.end(), number) != m_reportedSteps.end())
                return;
            m_reportedSteps.push_back(number);
        }
        const QString description = describeCurrentException();
        showErrorReport(m_desktop, description, QLatin1String(m_module), QLatin1String(m_name), number);
    } catch (...) {
        // Memory is so short that not even the report could be shown. The procedure goes
        // on without it rather than end the program.
    }
}

} // namespace orvella::core
