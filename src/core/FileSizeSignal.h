#pragma once

namespace orvella::core {

// A write past the process's file-size limit raises SIGXFSZ, which by default ends the
// program at once and loses both lists. Ignored, the write fails instead ("File too
// large") and the save reports it like a full disk. Call once at start-up.
void ignoreFileSizeSignal();

} // namespace orvella::core
