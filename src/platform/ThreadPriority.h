#pragma once

namespace xk {

// Raises the calling thread's scheduling priority above the program's other threads (a nice
// value five lower), for the listener and the executor; without the privilege, as far as
// RLIMIT_NICE allows. Best effort: where nothing is allowed nothing changes, silently.
void RaiseCurrentThreadPriority();

} // namespace xk
