#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace orvella::testing {

// A window's control of the given kind, found by its name ("PushButton17"). A missing
// control ends the test as failed.
template<typename Control>
Control *control(const QObject &window, const char *name)
{
    if (auto *found = window.findChild<Control *>(QString::fromLatin1(name)))
        return found;
    throw std::runtime_error(std::string("the window has no control named ") + name + " of the expected kind");
}

} // namespace orvella::testing
