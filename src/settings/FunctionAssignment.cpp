#include "settings/FunctionAssignment.h"

#include "settings/FunctionCode.h"

namespace xk {

bool IsOnlyLeftButton(const Settings& settings, int32_t slot) {
    for (int32_t b = 0; b < kButtonCount; ++b) {
        if (kFirstButtonSlot + b != slot &&
            settings.buttonFunction[static_cast<size_t>(b)].load() == kLeftButtonCode) {
            return false;
        }
    }
    return true;
}

void AssignFunction(Settings& settings, int32_t code) {
    const int32_t b = settings.selectedButton - kFirstButtonSlot;
    if (b < 0 || b >= kButtonCount) {
        return;
    }
    settings.buttonFunction[static_cast<size_t>(b)].store(code);
    for (const auto& function : settings.buttonFunction) {
        if (function.load() == kLeftButtonCode) {
            return;
        }
    }
    const int32_t keeper = b == kButtonCount - 1 ? b : b + 1;
    settings.buttonFunction[static_cast<size_t>(keeper)].store(kLeftButtonCode);
}

} // namespace xk
