#pragma once

#include "core/Failure.h"

#include <QString>
#include <exception>
#include <new>
#include <utility>
#include <vector>

namespace orvella::core {

class Desktop;

// Runs the numbered steps of one reporting procedure. A step that throws is reported
// with the uniform error report under this procedure's name and the step's number, and
// the procedure goes on with its next step. A failing test counts as true, so the
// "then" branch runs. Called procedures that have no report of their own simply throw;
// their failure is reported here, under the calling step's number.
class Procedure {
public:
    Procedure(Desktop &desktop, const char *module, const char *name)
        : m_desktop(desktop), m_module(module), m_name(name)
    {
    }

    template<typename Body>
    void step(int number, Body &&body)
    {
        try {
            std::forward<Body>(body)();
        } catch (...) {
            reportCurrent(number);
        }
    }

    // A conditional step: true when the condition holds or when evaluating it failed.
    template<typename Condition>
    bool test(int number, Condition &&condition)
    {
        try {
            return std::forward<Condition>(condition)();
        } catch (...) {
            reportCurrent(number);
            return true;
        }
    }

    // From now on each step number is reported the first time it fails only; later
    // failures of the same step go on without a box. For commands whose steps run once
    // per item of a long list: a failure that repeats for every item would otherwise
    // show one modal box per item, which a user cannot get through.
    void reportEachStepOnce() { m_eachStepOnce = true; }

    // Number of failures so far in this run of the procedure, reported or not.
    int failures() const { return m_failures; }
    Desktop &desktop() const { return m_desktop; }

    // Describes the exception being handled: ours carry a description, the standard
    // library's their what(), anything else a generic text.
    static QString describeCurrentException();

private:
    void reportCurrent(int number);

    Desktop &m_desktop;
    const char *m_module;
    const char *m_name;
    int m_failures = 0;
    bool m_eachStepOnce = false;
    std::vector<int> m_reportedSteps;
};

} // namespace orvella::core
