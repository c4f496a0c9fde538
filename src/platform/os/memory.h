#pragma once
// The process's memory as the system sees it.
namespace platform::os {

// Gives the heap's free pages back to the system after a burst of allocations (a start, a
// re-skinning of every window), so the resident size shrinks to what is in use.
void TrimWorkingSet();

}  // namespace platform::os
