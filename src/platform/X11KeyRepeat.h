#pragma once

namespace xk {

// How a held key repeats for one X client: with `detectable` set, as repeated presses and one
// release at the end (as Windows sends it) instead of release and press pairs. `display` is the
// client's Xlib Display; false when it is null or the server has no such setting.
bool SetDetectableKeyRepeat(void* display, bool detectable);

} // namespace xk
