#include "settings/Profile.h"

#include "settings/ConfigurationFields.h"
#include "settings/ConfigurationRules.h"
#include "settings/Decimal.h"
#include "settings/Language.h"
#include "settings/NotSavedMessage.h"
#include "settings/SettingsIo.h"
#include "settings/SmallFile.h"

namespace xk {

namespace {

ProfileRead Refused(ProfileProblem problem, std::string fault = {}) {
    return {std::nullopt, problem, std::move(fault)};
}

} // namespace

std::string ProfileMessage(ProfileProblem problem, const std::filesystem::path& file,
                           int32_t language, const std::string& fault) {
    const std::string name = file.string();
    const bool english = IsEnglish(language);
    switch (problem) {
    case ProfileProblem::None:
        break;
    case ProfileProblem::Unreadable:
        return english ? "Cannot read the profile file\n" + name + "\nNothing was changed."
                       : "无法读取配置文件\n" + name + "\n设置没有改变。";
    case ProfileProblem::TooLarge:
        return english ? name + "\nis larger than 1 MiB, too large for a profile.\nNothing was "
                                "changed."
                       : name + "\n大于 1 MiB，不是鼠标配置文件。\n设置没有改变。";
    case ProfileProblem::NotAProfile:
        return english
                   ? name + "\nis not a profile: it has no [Config7] section with mouse "
                            "settings.\nNothing was changed."
                   : name +
                         "\n不是鼠标配置文件：其中没有含鼠标设置的 [Config7] 段。\n设置没有改变。";
    case ProfileProblem::BadValue:
        return english ? name + "\nis not a profile the program can use: " + fault +
                             ".\nNothing was changed."
                       : name + "\n不是可用的鼠标配置文件：" + fault + "。\n设置没有改变。";
    case ProfileProblem::NotWritten:
        return NotSavedMessage(std::span(&file, 1), language);
    }
    return name;
}

ProfileRead ReadProfile(const std::filesystem::path& file) {
    const SmallFileRead read = LoadSmallIniDocument(file);
    if (read.problem == SmallFileProblem::TooLarge) {
        return Refused(ProfileProblem::TooLarge);
    }
    if (!read.doc) {
        return Refused(ProfileProblem::Unreadable);
    }
    const IniDocument& doc = *read.doc;
    const std::string section = ConfigSectionName(kProfileConfig);
    if (!HasConfigurationKey(doc, section)) {
        return Refused(ProfileProblem::NotAProfile);
    }
    Configuration config;
    for (const ConfigurationField& field : ConfigurationFields()) {
        const auto text = doc.Get(section, field.key);
        if (!text) {
            return Refused(ProfileProblem::BadValue, field.key + " is missing");
        }
        const std::optional<int64_t> value = ParseTypedDecimal(*text);
        if (!value || !InRange(field, *value)) {
            return Refused(ProfileProblem::BadValue,
                           field.key + "=" + *text + " (" + RangeText(field) + ")");
        }
        SetValue(config, field, static_cast<int32_t>(*value));
    }
    if (!KeepsLeftButton(config)) {
        return Refused(ProfileProblem::BadValue, "K0..K7: no button is the left button (code 1)");
    }
    if (!SomeDpiLevelEnabled(config)) {
        return Refused(ProfileProblem::BadValue, "DPI_SET_EN0..3: no DPI level is enabled");
    }
    return {config, ProfileProblem::None, {}};
}

bool ImportProfileFile(Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages) {
    const ProfileRead read = ReadProfile(file);
    if (!read.config) {
        messages.ShowMessage(ProfileMessage(read.problem, file, settings.language, read.fault));
        return false;
    }
    ApplyConfiguration(settings, *read.config);
    return true;
}

bool ExportProfileFile(const Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages) {
    if (SaveSettings(settings, file, kProfileConfig)) {
        return true;
    }
    messages.ShowMessage(ProfileMessage(ProfileProblem::NotWritten, file, settings.language));
    return false;
}

} // namespace xk
