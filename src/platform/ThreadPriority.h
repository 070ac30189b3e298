#pragma once

namespace xk {

// Raises the calling thread's scheduling priority a little above the program's other threads
// (a lower nice value), for the listener and the executor. Best effort: without the right to
// do so nothing changes.
void RaiseCurrentThreadPriority();

} // namespace xk
