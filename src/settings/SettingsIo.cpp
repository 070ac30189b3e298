#include "settings/SettingsIo.h"

#include "settings/Decimal.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/TextCodec.h"

#include <algorithm>
#include <string_view>

namespace xk {

namespace {

constexpr size_t kShortCapacity = 5; // four characters
constexpr size_t kLongCapacity = 10; // nine characters

int32_t ReadNumber(const IniDocument* doc, const std::string& section, std::string_view key,
                   size_t capacity) {
    if (doc == nullptr) {
        return 0;
    }
    const auto value = doc->Get(section, key);
    if (!value) {
        return 0;
    }
    return ParseDecimal(value->substr(0, std::min(value->size(), capacity - 1)));
}

// A number of [Init], read with capacity 5.
int32_t ReadInitNumber(const IniDocument& doc, std::string_view key) {
    return ParseDecimal(
        TruncateUtf16Units(doc.Get(kInitSection, key).value_or(""), kShortCapacity - 1));
}

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF);
}

std::string Text(int32_t value) {
    return std::to_string(value);
}
std::string Text(uint8_t value) {
    return std::to_string(unsigned{value});
}

std::string IndexedKey(std::string_view prefix, size_t index) {
    return std::string(prefix) + std::to_string(index);
}

} // namespace

std::string ConfigSectionName(int32_t n) {
    return "Config" + std::to_string(n);
}

std::string ResetSectionName(int32_t n, int32_t language) {
    // Exactly English (1), unlike every other choice by language: any other value reads
    // CfgReset5.
    if (n == 5 && language == kLanguageEnglish) {
        return "CfgReset_EN5";
    }
    return "CfgReset" + std::to_string(n);
}

void LoadSettings(Settings& s, const std::filesystem::path& file, int32_t n, bool fromReset) {
    const std::string section = fromReset ? ResetSectionName(n, s.language) : ConfigSectionName(n);
    const auto loaded = LoadIniDocument(file);
    ReadSettings(s, loaded ? &*loaded : nullptr, section);
}

void ReadSettings(Settings& s, const IniDocument* doc, const std::string& section) {
    // Values are read as text first, so a value of more characters than the capacity is cut
    // before it is parsed; only ASCII digits matter, so cutting bytes equals cutting characters.
    for (size_t i = 0; i < kButtonCount; ++i) {
        s.buttonFunction[i].store(ReadNumber(doc, section, IndexedKey("K", i), kShortCapacity));
    }
    s.wheelStatus = ReadNumber(doc, section, "WHEEL_STATUS", kShortCapacity);
    s.macroMode.store(ReadNumber(doc, section, "MACRO_MODE2", kShortCapacity));
    s.dpiLevel.store(ReadNumber(doc, section, "DPI_LEVEL", kShortCapacity));
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        s.dpiValue[j] = LowByte(ReadNumber(doc, section, IndexedKey("DPI_SET", j), kLongCapacity));
        s.dpiEnabled[j] =
            ReadNumber(doc, section, IndexedKey("DPI_SET_EN", j), kLongCapacity) != 0 ? 1 : 0;
    }
    s.ledMode = LowByte(ReadNumber(doc, section, "LED_STATUS", kShortCapacity));
    s.pointerSpeed = LowByte(ReadNumber(doc, section, "DPI_SPEED", kShortCapacity));
    s.wheelSpeed = LowByte(ReadNumber(doc, section, "WHEEL_SPEED", kShortCapacity));
    s.reportRate.store(LowByte(ReadNumber(doc, section, "USB_SPEED", kShortCapacity)));
    s.fireTime = ReadNumber(doc, section, "FIRE_TIME", kShortCapacity);
}

std::vector<std::pair<std::string, std::string>> ConfigurationEntries(const Settings& s) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < kButtonCount; ++i) {
        entries.emplace_back(IndexedKey("K", i), Text(s.buttonFunction[i].load()));
    }
    entries.emplace_back("DPI_LEVEL", Text(s.dpiLevel.load()));
    entries.emplace_back("WHEEL_STATUS", Text(s.wheelStatus));
    entries.emplace_back("MACRO_MODE2", Text(s.macroMode.load()));
    for (size_t j = 0; j < kDpiLevelCount; ++j) {
        entries.emplace_back(IndexedKey("DPI_SET", j), Text(s.dpiValue[j]));
        entries.emplace_back(IndexedKey("DPI_SET_EN", j), s.dpiEnabled[j] != 0 ? "1" : "0");
    }
    entries.emplace_back("LED_STATUS", Text(s.ledMode));
    entries.emplace_back("DPI_SPEED", Text(s.pointerSpeed));
    entries.emplace_back("WHEEL_SPEED", Text(s.wheelSpeed));
    entries.emplace_back("USB_SPEED", Text(s.reportRate.load()));
    entries.emplace_back("FIRE_TIME", Text(s.fireTime));
    return entries;
}

bool HasConfigurationKey(const IniDocument& doc, const std::string& section) {
    static const auto keys = ConfigurationEntries(Settings{});
    return std::any_of(keys.begin(), keys.end(), [&](const auto& entry) {
        return doc.Get(section, entry.first).has_value();
    });
}

bool SaveSettings(const Settings& s, const std::filesystem::path& file, int32_t n) {
    return SaveSettingsToSection(s, file, ConfigSectionName(n));
}

bool SaveSettingsToSection(const Settings& s, const std::filesystem::path& file,
                           const std::string& section) {
    IniBatch batch(file);
    for (const auto& [key, value] : ConfigurationEntries(s)) {
        batch.Set(section, key, value);
    }
    return batch.Commit();
}

void SaveDpiLevel(const Settings& s, const std::filesystem::path& file, int32_t n) {
    IniWrite(file, ConfigSectionName(n), "DPI_LEVEL", Text(s.dpiLevel.load()));
}

void SaveReportRate(const Settings& s, const std::filesystem::path& file, int32_t n) {
    IniWrite(file, ConfigSectionName(n), "USB_SPEED", Text(s.reportRate.load()));
}

int32_t ReadLanguage(const std::filesystem::path& file) {
    return ReadLanguage(LoadIniDocument(file).value_or(IniDocument{}));
}

int32_t ReadLanguage(const IniDocument& doc) {
    return LowByte(ReadInitNumber(doc, "VER_SEL"));
}

void WriteLanguage(const std::filesystem::path& file, int32_t language) {
    IniWrite(file, kInitSection, "VER_SEL", Text(language));
}

int32_t ReadCurrentConfig(const std::filesystem::path& file) {
    return ReadCurrentConfig(LoadIniDocument(file).value_or(IniDocument{}));
}

int32_t ReadCurrentConfig(const IniDocument& doc) {
    return ReadInitNumber(doc, "CurConfig");
}

bool WriteCurrentConfig(const std::filesystem::path& file, int32_t currentConfig) {
    return IniWrite(file, kInitSection, "CurConfig", Text(currentConfig));
}

} // namespace xk
