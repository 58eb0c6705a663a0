#include "FuzzTargets.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace orvella::fuzz {
namespace {
ViolationHandler &handler()
{
    static ViolationHandler current;
    return current;
}
} // namespace

void setViolationHandler(ViolationHandler h)
{
    handler() = std::move(h);
}

void violated(const std::string &message)
{
    if (handler()) {
        handler()(message);
        return;
    }
    std::fprintf(stderr, "rule broken: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string shown(QStringView text)
{
    constexpr qsizetype kMost = 160;
    std::string out = "\"";
    for (qsizetype i = 0; i < text.size() && i < kMost; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x20 && unit < 0x7F) {
            out += char(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(unit));
            out += escaped;
        }
    }
    out += text.size() > kMost ? "\"... (" + std::to_string(text.size()) + " units)" : "\"";
    return out;
}

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "orvella-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

} // namespace orvella::fuzz
