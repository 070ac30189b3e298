#include "device/DeviceLink.h"

#include <utility>

namespace xk {

DeviceLink::DeviceLink(HidTransport& transport, Settings& settings, const MacroStore& macros,
                       Launcher& launcher, RepaintRequest repaint)
    : connection_(transport), reports_(connection_),
      actions_(settings, macros, reports_, launcher, flags_, shutdown_, std::move(repaint)),
      listener_(settings, connection_, flags_), executor_(actions_, flags_, shutdown_) {}

DeviceLink::~DeviceLink() {
    Stop();
}

void DeviceLink::SetThreadStartHook(const std::function<void()>& hook) {
    listener_.SetThreadStartHook(hook);
    executor_.SetThreadStartHook(hook);
    connection_.SetSenderStartHook(hook);
}

void DeviceLink::Start() {
    flags_.Clear();
    listener_.Start();
    executor_.Start();
}

void DeviceLink::Stop() {
    executor_.Stop();
    listener_.Stop();
}

bool DeviceLink::Close(SendBudget& budget) {
    Stop();
    reports_.SendExitReport(budget);
    connection_.CloseHandles();
    return budget.answered();
}

} // namespace xk
