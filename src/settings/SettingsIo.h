#pragma once

#include "settings/IniDocument.h"
#include "settings/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace xk {

inline constexpr const char* kInitSection = "Init";

// "Config" followed by n.
std::string ConfigSectionName(int32_t n);
// The factory source of configuration n: "CfgReset" followed by n, or CfgReset_EN5 for
// configuration 5 in English.
std::string ResetSectionName(int32_t n, int32_t language);

// Fills every configuration field from a section of `file`; changes nothing else.
void LoadSettings(Settings& settings, const std::filesystem::path& file, int32_t n, bool fromReset);
// The same from a section of a document already read; no document reads as a missing file.
void ReadSettings(Settings& settings, const IniDocument* doc, const std::string& section);
// Writes every configuration field into "Config" followed by n, in the section key order;
// false when the file could not be written (callers may ignore it).
bool SaveSettings(const Settings& settings, const std::filesystem::path& file, int32_t n);
// The same into a section of any name (the delivered factory sections).
bool SaveSettingsToSection(const Settings& settings, const std::filesystem::path& file,
                           const std::string& section);

// Key and value text of every configuration field, in the section key order.
std::vector<std::pair<std::string, std::string>> ConfigurationEntries(const Settings& settings);
// Whether the section holds at least one configuration key.
bool HasConfigurationKey(const IniDocument& doc, const std::string& section);
void SaveDpiLevel(const Settings& settings, const std::filesystem::path& file, int32_t n);
void SaveReportRate(const Settings& settings, const std::filesystem::path& file, int32_t n);

// The low byte of [Init] VER_SEL, of a file or of a document already read.
int32_t ReadLanguage(const std::filesystem::path& file);
int32_t ReadLanguage(const IniDocument& doc);
void WriteLanguage(const std::filesystem::path& file, int32_t language);
// [Init] CurConfig, read with capacity 5, of a file or of a document already read.
int32_t ReadCurrentConfig(const std::filesystem::path& file);
int32_t ReadCurrentConfig(const IniDocument& doc);
// False when the file could not be written (callers may ignore it).
bool WriteCurrentConfig(const std::filesystem::path& file, int32_t currentConfig);

} // namespace xk
