// Arbitrary input reports through the listener's decision, and the events it takes through the
// executor's actions (all but the macros, whose pauses are real time): the four shared values
// change only as the reports say, and every index stays in its table.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "device/ButtonActions.h"
#include "device/ExecutorFlags.h"
#include "device/FeatureReports.h"
#include "device/InputListener.h"
#include "device/MouseConnection.h"
#include "device/MouseProtocol.h"
#include "settings/FunctionCode.h"
#include "support/fakes/RecordingLauncher.h"
#include "support/fakes/RecordingReportSink.h"

#include <cstdint>
#include <vector>

namespace {

using namespace xk;
using fuzz::Check;

// A machine without the mouse: the listener is driven by hand.
class NoInterfaces final : public HidTransport {
public:
    std::unique_ptr<HidInterfaceList> ListInterfaces() override { return nullptr; }
    std::unique_ptr<HidDevice> Open(const std::string&, HidAccess) override { return nullptr; }
    void RegisterNotifications() override {}
    int NotificationFd() const override { return -1; }
    std::vector<DeviceChange> ReadNotifications() override { return {}; }
};

struct Flags {
    bool pending;
    uint8_t code;
    uint8_t data;
    bool stop;
};

Flags Snapshot(const ExecutorFlags& flags) {
    return {flags.eventPending.load(), flags.eventCode.load(), flags.eventData.load(),
            flags.stopRequested.load()};
}

bool IsMacro(int32_t code) {
    const PcAction action = PcActionOf(code);
    return action == PcAction::UserMacro || action == PcAction::ConstMacro;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    Settings settings;
    settings.configPath = "/nonexistent/xk-r40/config.ini"; // saves fail at once
    for (size_t i = 0; i < kButtonCount; ++i) {
        const int32_t code = static_cast<int8_t>(in.Byte());
        settings.buttonFunction[i].store(code);
        const DeviceFunction function = DeviceFunctionOf(code);
        settings.dpiFollow[i].store(function.dpiFollow ? 1 : 0);
        settings.rateFollow[i].store(function.rateFollow ? 1 : 0);
    }
    settings.macroMode.store(in.Byte() & 1);
    settings.reportRate.store(in.Byte());

    NoInterfaces transport;
    MouseConnection connection(transport);
    ExecutorFlags flags;
    InputListener listener(settings, connection, flags);
    test::RecordingReportSink sink;
    FeatureReports reports(sink);
    test::RecordingLauncher launcher;
    MacroStore macros;
    StopSignal shutdown;
    int repaints = 0;
    ButtonActions actions(settings, macros, reports, launcher, flags, shutdown,
                          [&repaints] { ++repaints; });

    // Each report: a length byte, then its bytes; a length with the top bit set also lets the
    // executor finish with the event it holds.
    while (in.Left() > 0) {
        const uint8_t length = in.Byte();
        const std::string_view bytes = in.Text(length & 0x7F);
        const std::vector<uint8_t> report(bytes.begin(), bytes.end());
        const Flags before = Snapshot(flags);
        listener.HandleReport(report);
        const Flags after = Snapshot(flags);

        const bool ours = !report.empty() && report[0] == kInputReportId;
        if (!ours) {
            Check(after.pending == before.pending && after.stop == before.stop &&
                  after.code == before.code && after.data == before.data);
        }
        if (before.pending) {
            // The event held is kept; a stop is asked for only while one is held.
            Check(after.pending && after.code == before.code && after.data == before.data);
        } else {
            Check(!after.stop || before.stop);
            if (after.pending) {
                Check(ours && report.size() > 1 && report[1] > kButtonEventBase &&
                      (report.size() < 3 || report[2] != kReleaseData));
                Check(after.code == report[1] && after.data == (report.size() > 2 ? report[2] : 0));
            }
        }

        if ((length & 0x80) != 0 && after.pending) {
            const size_t sent = sink.sent.size();
            const int32_t level = settings.dpiLevel.load();
            bool macro = false;
            int32_t code = 0;
            for (size_t i = 0; i < kButtonCount; ++i) {
                if (kButtonEventBase + kDeviceButtonNumber[i] == after.code) {
                    code = settings.buttonFunction[i].load();
                    macro = IsMacro(code);
                }
            }
            if (!macro) {
                actions.Handle(after.code, after.data);
                Check(sink.sent.size() <= sent + 1);
                if (sink.sent.size() == sent + 1) {
                    Check(ConsumerUsageOf(code).has_value());
                }
                Check(settings.dpiLevel.load() == level || settings.dpiLevel.load() == after.data);
            }
            flags.Clear();
        }
    }
    for (const auto& report : sink.sent) {
        Check(report[0] == kFeatureReportId);
    }
    return 0;
}
