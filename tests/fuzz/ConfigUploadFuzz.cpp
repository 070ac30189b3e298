// Arbitrary bytes as config.ini, read into the Settings record as the start-up reads it and on
// to an upload (its reports, without its saves): every report the mouse gets is composed inside
// the buffer from table entries, and the record written into a section reads back the same.
#include "FuzzCheck.h"

#include "device/FeatureReports.h"
#include "device/MouseProtocol.h"
#include "device/UploadSettings.h"
#include "settings/FunctionAssignment.h"
#include "settings/FunctionCode.h"
#include "settings/IniDocument.h"
#include "settings/SettingsIo.h"
#include "support/fakes/RecordingReportSink.h"
#include "support/fakes/RecordingSystemSettings.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace xk;
    using fuzz::Check;
    const IniDocument doc =
        IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size));

    Settings settings;
    settings.currentConfig.store(ReadCurrentConfig(doc));
    settings.language = ReadLanguage(doc);
    Check(settings.language >= 0 && settings.language <= 255);
    ReadSettings(settings, &doc, ConfigSectionName(settings.currentConfig.load()));

    // Written into a section and read back: the same configuration.
    IniDocument section;
    for (const auto& [key, value] : ConfigurationEntries(settings)) {
        section.Set("Config1", key, value);
    }
    Settings reread;
    const IniDocument written = IniDocument::Parse(section.Serialize());
    ReadSettings(reread, &written, "Config1");
    Check(ConfigurationOf(reread) == ConfigurationOf(settings));

    test::RecordingReportSink sink(0);
    FeatureReports reports(sink);
    test::RecordingSystemSettings system;
    SendSettings(settings, reports, system, {});
    Check(sink.sent.size() == 8 + 1 + 4 + 1 + 1);
    for (const auto& report : sink.sent) {
        Check(report.size() == kReportBufferSize && report[0] == kFeatureReportId);
        Check(std::all_of(report.begin() + 8, report.end(), [](uint8_t b) { return b == 0; }));
    }
    for (size_t i = 0; i < kButtonCount; ++i) {
        Check(settings.dpiFollow[i].load() == 0 || settings.dpiFollow[i].load() == 1);
        Check(settings.rateFollow[i].load() == 0 || settings.rateFollow[i].load() == 1);
        Check(sink.sent[i][2] == kDeviceButtonNumber[i]);
    }
    for (const uint8_t code : settings.dpiDeviceCode) {
        Check(std::any_of(kDpiSteps.begin(), kDpiSteps.end(),
                          [code](const DpiStep& step) { return step.deviceCode == code; }));
    }
    Check(settings.appliedLedMode < kLedModeCount);
    if (system.pointerSpeed) {
        Check(*system.pointerSpeed >= 1 && *system.pointerSpeed <= 20);
    }

    // What the popups make of the buttons' codes.
    for (int32_t element = kFirstButtonSlot; element < kFirstButtonSlot + kButtonCount; ++element) {
        IsOnlyLeftButton(settings, element);
    }
    return 0;
}
