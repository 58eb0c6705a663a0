#pragma once

#include "core/Failure.h"

#include <QString>
#include <exception>
#include <functional>
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
        if (m_skipping)
            return;
        try {
            std::forward<Body>(body)();
        } catch (...) {
            reportCurrent(number);
        }
    }

    // A step that computes a value: what the body returns, or the fallback when the
    // step failed (and was reported) or is skipped.
    template<typename T, typename Body>
    T value(int number, T fallback, Body &&body)
    {
        if (m_skipping)
            return fallback;
        try {
            return std::forward<Body>(body)();
        } catch (...) {
            reportCurrent(number);
            return fallback;
        }
    }

    // A conditional step: true when the condition holds or when evaluating it failed.
    template<typename Condition>
    bool test(int number, Condition &&condition)
    {
        if (m_skipping)
            return false;
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

    // For a procedure whose working data can fill the memory: when a step fails for
    // want of memory, release is called first (it frees that data, so that the report
    // finds memory and later steps no longer use it), then the failure is reported, and
    // from then on every step is skipped (a test answers false) until closing().
    void onOutOfMemory(std::function<void()> release) { m_release = std::move(release); }
    bool ranOutOfMemory() const { return m_outOfMemory; }
    // The closing steps begin (pointer, progress): they run again even after a skip.
    void closing() { m_skipping = false; }

    // Steps fail with std::bad_alloc instead of reporting it: for a procedure called
    // inside another one's step, whose caller frees its data before reporting.
    void passOnOutOfMemory() { m_passOnOutOfMemory = true; }

    // Number of failures so far in this run of the procedure, reported or not.
    int failures() const { return m_failures; }
    Desktop &desktop() const { return m_desktop; }

    // Describes the exception being handled: ours carry a description, the standard
    // library's their what(), anything else a generic text.
    static QString describeCurrentException();

private:
    // Never throws, but for an allocation failure passed on (passOnOutOfMemory): a
    // report that cannot even be built or shown is left out.
    void reportCurrent(int number);

    Desktop &m_desktop;
    const char *m_module;
    const char *m_name;
    int m_failures = 0;
    bool m_eachStepOnce = false;
    std::vector<int> m_reportedSteps;
    std::function<void()> m_release;
    bool m_outOfMemory = false;
    bool m_skipping = false;
    bool m_passOnOutOfMemory = false;
};

} // namespace orvella::core
