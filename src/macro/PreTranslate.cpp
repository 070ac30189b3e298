#include "macro/PreTranslate.h"

namespace xk {

bool IsKeyMessage(uint32_t message) {
    return message == kKeyDownMessage || message == kKeyUpMessage ||
           message == kSysKeyDownMessage || message == kSysKeyUpMessage;
}

bool IsKeyDownMessage(uint32_t message) {
    return message == kKeyDownMessage || message == kSysKeyDownMessage;
}

PreTranslation PreTranslateMessage(uint32_t message, uint32_t virtualKey, bool recording,
                                   bool macroPageShown) {
    PreTranslation result;
    result.record = recording && IsKeyMessage(message);
    result.openEventMenu = !recording && macroPageShown && message == kRightButtonUpMessage;
    // Escape and Return never reach the dialog handling (which would close the window or
    // press a default button), recorded or not.
    result.swallow = result.record ||
                     (message == kKeyDownMessage &&
                      (virtualKey == kVirtualKeyEscape || virtualKey == kVirtualKeyReturn)) ||
                     (IsKeyMessage(message) && virtualKey == kVirtualKeyF10);
    return result;
}

} // namespace xk
