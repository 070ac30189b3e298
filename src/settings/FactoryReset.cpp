#include "settings/FactoryReset.h"

#include "settings/SettingsIo.h"

namespace xk {

bool ResetConfigurations(Settings& settings, const std::filesystem::path& configPath) {
    // The sections pass through a copy, so the record (which the executor reads) goes straight
    // from its old values to those of the reset current configuration.
    Settings copy;
    copy.language = settings.language;
    ApplyConfiguration(copy, ConfigurationOf(settings));
    ApplyBuiltInDefaults(copy);
    bool saved = SaveSettings(copy, configPath, 1);
    for (int32_t n = 5; n >= 2; --n) {
        LoadSettings(copy, configPath, n, true);
        saved = SaveSettings(copy, configPath, n) && saved;
    }
    LoadSettings(settings, configPath, settings.currentConfig.load(), false);
    return saved;
}

} // namespace xk
