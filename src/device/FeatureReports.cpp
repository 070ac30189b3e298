#include "device/FeatureReports.h"

#include "device/MouseProtocol.h"
#include "macro/KeyCodes.h"
#include "settings/FunctionCode.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace xk {

namespace {

constexpr auto kReleaseWait = std::chrono::milliseconds(10);
constexpr int kButtonBits = 3; // left, right, middle
constexpr uint8_t kAllButtonBits = 0x07;
constexpr uint8_t kPress = 1;
constexpr uint8_t kRelease = 2;

uint8_t Byte(int32_t value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF);
}

} // namespace

FeatureReports::FeatureReports(FeatureReportSink& sink) : sink_(sink) {}

FeatureReports::Lock::~Lock() {
    if (!owned_) {
        return;
    }
    {
        const std::lock_guard lock(owner_.mutex_);
        if (--owner_.depth_ == 0) {
            owner_.holder_ = {};
        }
    }
    owner_.released_.notify_all();
}

FeatureReports::Lock FeatureReports::LockWithin(SendBudget& budget) {
    const bool owned = budget.Wait([&](SendBudget::Clock::time_point until) {
        std::unique_lock lock(mutex_);
        const auto self = std::this_thread::get_id();
        if (!released_.wait_until(lock, until, [&] { return depth_ == 0 || holder_ == self; })) {
            return false;
        }
        holder_ = self;
        ++depth_;
        return true;
    });
    if (!owned) {
        budget.Note(SendOutcome::NoAnswer); // the other thread's send waits for the mouse
    }
    return Lock(*this, owned);
}

FeatureReports::Lock FeatureReports::LockAlways() const {
    std::unique_lock lock(mutex_);
    const auto self = std::this_thread::get_id();
    released_.wait(lock, [&] { return depth_ == 0 || holder_ == self; });
    holder_ = self;
    ++depth_;
    return Lock(*this, true);
}

void FeatureReports::Send(Command command, Bytes bytes, SendBudget& budget) {
    const Lock lock = LockWithin(budget);
    if (lock.owns_lock()) {
        SendLocked(command, bytes, budget);
    }
}

void FeatureReports::SendLocked(Command command, Bytes bytes, SendBudget& budget) {
    buffer_[0] = kFeatureReportId;
    buffer_[1] = static_cast<uint8_t>(command);
    for (const auto& [index, value] : bytes) {
        buffer_[index] = value;
    }
    budget.Note(sink_.SendFeatureReport(buffer_, budget));
}

void FeatureReports::SendButtonFunction(size_t button, uint8_t deviceCode, SendBudget& budget) {
    Send(Command::ButtonFunction, {{2, kDeviceButtonNumber[button]}, {3, deviceCode}}, budget);
}

void FeatureReports::SendWheelStatus(int32_t wheelStatus, SendBudget& budget) {
    Send(Command::WheelStatus, {{2, Byte(wheelStatus)}, {3, 0}}, budget);
}

void FeatureReports::SendDpiLevel(size_t level, int32_t dpiLevel, uint8_t stepCode,
                                  uint8_t enableBits, SendBudget& budget) {
    const auto code = static_cast<uint32_t>(stepCode) * 16 + 8 + static_cast<uint32_t>(level);
    Send(Command::DpiLevel,
         {{2, Byte(0x40 + dpiLevel)}, {3, static_cast<uint8_t>(code & 0xFF)}, {4, enableBits}},
         budget);
}

void FeatureReports::SendLedMode(uint8_t ledCode, SendBudget& budget) {
    Send(Command::LedMode, {{2, 0x7F}, {3, static_cast<uint8_t>(0x10 + ledCode)}}, budget);
}

void FeatureReports::SendFireTime(int32_t fireTime, SendBudget& budget) {
    const auto units = static_cast<uint32_t>(fireTime / 8);
    Send(Command::FireTime,
         {{2, static_cast<uint8_t>((units >> 8) & 0xFF)},
          {3, static_cast<uint8_t>(units & 0xFF)},
          {4, 0},
          {5, 0},
          {6, 0},
          {7, 0}},
         budget);
}

void FeatureReports::SendKeyEvent(uint8_t keyCode, uint8_t action) {
    SendBudget budget(kExecutorSendWait);
    const Lock lock = LockWithin(budget);
    if (!lock.owns_lock()) {
        return;
    }
    if (keyCode >= kLeftButtonKey) {
        const int bit = keyCode - kLeftButtonKey;
        if (bit < kButtonBits) {
            const auto mask = static_cast<uint8_t>(1u << bit);
            if (action == kPress) {
                mouseButtonState_ = static_cast<uint8_t>(mouseButtonState_ & ~mask);
            } else if (action == kRelease) {
                mouseButtonState_ = static_cast<uint8_t>(mouseButtonState_ | mask);
            }
        }
        SendButtonsLocked(budget);
        return;
    }
    if (action == kPress) {
        const auto empty = std::find(pressedKeys_.begin(), pressedKeys_.end(), uint8_t{0});
        if (empty != pressedKeys_.end()) {
            *empty = keyCode;
        }
    } else if (action == kRelease) {
        const auto held = std::find(pressedKeys_.begin(), pressedKeys_.end(), keyCode);
        if (held != pressedKeys_.end()) {
            std::copy(held + 1, pressedKeys_.end(), held);
        }
        pressedKeys_.back() = 0;
    }
    SendKeysLocked(budget);
}

void FeatureReports::SendButtonsLocked(SendBudget& budget) {
    SendLocked(Command::MouseButtons, {{3, mouseButtonState_}}, budget);
}

void FeatureReports::SendKeysLocked(SendBudget& budget) {
    const auto& k = pressedKeys_;
    SendLocked(Command::KeyboardKeys,
               {{2, k[0]}, {3, k[1]}, {4, k[2]}, {5, k[3]}, {6, k[4]}, {7, k[5]}}, budget);
}

void FeatureReports::ReleaseAll() {
    SendBudget budget(2 * kExecutorSendWait);
    ReleaseAll(budget);
}

void FeatureReports::ReleaseAll(SendBudget& budget) {
    std::this_thread::sleep_for(kReleaseWait);
    {
        const Lock lock = LockWithin(budget);
        if (lock.owns_lock()) {
            mouseButtonState_ = static_cast<uint8_t>(mouseButtonState_ | kAllButtonBits);
            SendButtonsLocked(budget);
        }
    }
    std::this_thread::sleep_for(kReleaseWait);
    {
        const Lock lock = LockWithin(budget);
        if (lock.owns_lock()) {
            pressedKeys_.fill(0);
            SendKeysLocked(budget);
        }
    }
}

void FeatureReports::SendConsumerKey(int32_t functionCode) {
    const auto usage = ConsumerUsageOf(functionCode);
    if (!usage) {
        return;
    }
    SendBudget budget(kExecutorSendWait);
    Send(Command::ConsumerKey,
         {{2, static_cast<uint8_t>(*usage >> 8)}, {3, static_cast<uint8_t>(*usage & 0xFF)}},
         budget);
}

void FeatureReports::ReleaseHeld(SendBudget& budget) {
    ReleaseAll(budget);
    Send(Command::ConsumerKey, {{2, 0}, {3, 0}}, budget);
}

void FeatureReports::SendExitReport(SendBudget& budget) {
    Send(Command::Exit, {{2, 0}, {3, 0}}, budget);
}

std::array<uint8_t, kReportBufferSize> FeatureReports::Buffer() const {
    const Lock lock = LockAlways();
    return buffer_;
}

std::array<uint8_t, 6> FeatureReports::PressedKeys() const {
    const Lock lock = LockAlways();
    return pressedKeys_;
}

uint8_t FeatureReports::MouseButtonState() const {
    const Lock lock = LockAlways();
    return mouseButtonState_;
}

} // namespace xk
