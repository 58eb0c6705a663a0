#pragma once

namespace orvella::core {

// Some library code run at start-up leaves the upper halves of the CPU's vector
// registers in use without clearing them (no vzeroupper); until something does, every
// later SSE instruction on that thread waits on them, and a sort runs at less than
// half its speed. Clearing them costs a few cycles and changes no value. Does nothing
// where the CPU has no such registers.
void clearUpperVectorState();

} // namespace orvella::core
