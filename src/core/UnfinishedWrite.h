#pragma once

#include <functional>

namespace orvella::core {

// Marks a file being written (a save, a workbook, a settings file) while it lives, so
// that ending the program can wait until no file is left half written. Only the
// window thread makes and ends them.
class UnfinishedWrite {
public:
    UnfinishedWrite();
    ~UnfinishedWrite();
    UnfinishedWrite(const UnfinishedWrite &) = delete;
    UnfinishedWrite &operator=(const UnfinishedWrite &) = delete;

    // True while any file is being written.
    static bool any();
    // Runs then once, as soon as no file is being written (at once when none is).
    static void whenNoneLeft(std::function<void()> then);
};

} // namespace orvella::core
