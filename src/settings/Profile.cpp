#include "settings/Profile.h"

#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/NotSavedMessage.h"
#include "settings/SettingsIo.h"

namespace xk {

std::string ProfileMessage(ProfileProblem problem, const std::filesystem::path& file,
                           int32_t language) {
    const std::string name = file.string();
    const bool english = IsEnglish(language);
    switch (problem) {
    case ProfileProblem::Unreadable:
        return english ? "Cannot read the profile file\n" + name + "\nNothing was changed."
                       : "无法读取配置文件\n" + name + "\n设置没有改变。";
    case ProfileProblem::NotAProfile:
        return english
                   ? name + "\nis not a profile: it has no [Config7] section with mouse "
                            "settings.\nNothing was changed."
                   : name +
                         "\n不是鼠标配置文件：其中没有含鼠标设置的 [Config7] 段。\n设置没有改变。";
    case ProfileProblem::NotWritten:
        return NotSavedMessage(std::span(&file, 1), language);
    }
    return name;
}

bool ImportProfileFile(Settings& settings, const std::filesystem::path& file,
                       UserMessages& messages) {
    const auto doc = LoadIniDocument(file);
    if (!doc) {
        messages.ShowMessage(ProfileMessage(ProfileProblem::Unreadable, file, settings.language));
        return false;
    }
    const std::string section = ConfigSectionName(kProfileConfig);
    if (!HasConfigurationKey(*doc, section)) {
        messages.ShowMessage(ProfileMessage(ProfileProblem::NotAProfile, file, settings.language));
        return false;
    }
    ReadSettings(settings, &*doc, section);
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
