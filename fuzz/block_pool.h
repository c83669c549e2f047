#pragma once
// Large blocks kept for reuse across fuzz inputs (see block_pool.cpp).

namespace block_pool {

// Marks the start of a new input: blocks freed before it may be handed out
// again from now on, never those freed while the same input runs.
void StartOfInput();

}  // namespace block_pool
