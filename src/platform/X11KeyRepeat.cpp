#include "platform/X11KeyRepeat.h"

#include <X11/XKBlib.h>

namespace xk {

bool SetDetectableKeyRepeat(void* display, bool detectable) {
    if (display == nullptr) {
        return false;
    }
    int supported = 0;
    const int set =
        XkbSetDetectableAutoRepeat(static_cast<Display*>(display), detectable ? 1 : 0, &supported);
    return supported != 0 && (set != 0) == detectable;
}

} // namespace xk
