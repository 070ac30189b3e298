#include "ConfigSource.h"

#include "PageSource.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsIo.h"

#include <string>
#include <system_error>
#include <vector>

namespace xk::skingen {

namespace {

constexpr const char* kSections[] = {"Config1",   "Config2",     "Config3",   "Config4",
                                     "Config5",   "CfgReset2",   "CfgReset3", "CfgReset4",
                                     "CfgReset5", "CfgReset_EN5"};

std::vector<int32_t> Numbers(const IniDocument& doc, const std::string& section,
                             std::string_view key, size_t count, int32_t low, int32_t high) {
    const std::string where = "presets.ini [" + section + "] " + std::string(key);
    const auto value = doc.Get(section, key);
    if (!value) {
        throw SourceError(where + ": missing");
    }
    std::vector<int32_t> numbers;
    for (auto word : SplitOn(*value, ' ')) {
        word = Trim(word);
        if (word.empty()) {
            continue;
        }
        const int32_t n = ParseWholeNumber(word, where);
        if (n < low || n > high) {
            throw SourceError(where + ": " + std::to_string(n) + " is outside " +
                              std::to_string(low) + ".." + std::to_string(high));
        }
        numbers.push_back(n);
    }
    if (numbers.size() != count) {
        throw SourceError(where + ": expected " + std::to_string(count) + " numbers");
    }
    return numbers;
}

int32_t Number(const IniDocument& doc, const std::string& section, std::string_view key,
               int32_t low, int32_t high) {
    return Numbers(doc, section, key, 1, low, high)[0];
}

Configuration PresetOf(const IniDocument& doc, const std::string& section) {
    if (!doc.HasSection(section)) {
        throw SourceError("presets.ini: no section [" + section + "]");
    }
    Configuration c;
    const auto buttons = Numbers(doc, section, "Buttons", kButtonCount, 0, 54);
    std::copy(buttons.begin(), buttons.end(), c.buttonFunction.begin());
    const auto steps = Numbers(doc, section, "DpiSteps", kDpiLevelCount, 0, kDpiStepCount - 1);
    const auto enabled = Numbers(doc, section, "DpiEnabled", kDpiLevelCount, 0, 1);
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        c.dpiValue[j] = static_cast<uint8_t>(steps[j]);
        c.dpiEnabled[j] = static_cast<uint8_t>(enabled[j]);
    }
    c.dpiLevel = Number(doc, section, "DpiLevel", 0, kDpiLevelCount - 1);
    if (c.dpiEnabled[static_cast<size_t>(c.dpiLevel)] == 0) {
        throw SourceError("presets.ini [" + section + "]: the DPI level is not enabled");
    }
    c.wheelStatus = Number(doc, section, "WheelStatus", 0, 1);
    c.macroMode = Number(doc, section, "MacroMode", 0, 1);
    c.ledMode = static_cast<uint8_t>(Number(doc, section, "LedMode", 0, kLedModeCount - 1));
    c.pointerSpeed = static_cast<uint8_t>(Number(doc, section, "PointerSpeed", 0, 9));
    c.wheelSpeed = static_cast<uint8_t>(Number(doc, section, "WheelSpeed", 0, 9));
    c.reportRate = static_cast<uint8_t>(Number(doc, section, "ReportRate", 0, 3));
    c.fireTime = Number(doc, section, "FireTime", 0, 300);
    bool leftButton = false;
    for (int32_t code : c.buttonFunction) {
        leftButton = leftButton || code == 1;
    }
    if (!leftButton) {
        throw SourceError("presets.ini [" + section + "]: no button is the left button");
    }
    return c;
}

} // namespace

void WriteConfigIni(const std::filesystem::path& presets, const std::filesystem::path& out) {
    const auto doc = LoadIniDocument(presets);
    if (!doc) {
        throw SourceError(presets.string() + ": cannot be read");
    }
    // A fresh file each time, then one rename: never a mix with an older config.ini.
    auto fresh = out;
    fresh += ".new";
    std::error_code ignored;
    std::filesystem::remove(fresh, ignored);
    IniBatch init(fresh);
    init.Set(kInitSection, "CurConfig", std::to_string(Number(*doc, "Init", "CurConfig", 1, 5)));
    init.Set(kInitSection, "VER_SEL", std::to_string(Number(*doc, "Init", "VER_SEL", 0, 1)));
    if (!init.Commit()) {
        throw SourceError(fresh.string() + ": cannot be written");
    }
    for (const char* section : kSections) {
        const auto preset = doc->Get("Sections", section);
        if (!preset) {
            throw SourceError(std::string("presets.ini [Sections]: no preset for ") + section);
        }
        Settings settings;
        ApplyConfiguration(settings, PresetOf(*doc, "Preset " + *preset));
        SaveSettingsToSection(settings, fresh, section);
    }
    std::filesystem::permissions(fresh, kDeliveredFilePerms,
                                 std::filesystem::perm_options::replace);
    std::filesystem::rename(fresh, out);
}

} // namespace xk::skingen
