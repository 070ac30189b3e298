#include "settings/ConfigurationRules.h"

#include "settings/FunctionCode.h"

#include <algorithm>

namespace xk {

bool KeepsLeftButton(const Configuration& config) {
    const auto& functions = config.buttonFunction;
    return std::find(functions.begin(), functions.end(), kLeftButtonCode) != functions.end();
}

bool SomeDpiLevelEnabled(const Configuration& config) {
    const auto& enabled = config.dpiEnabled;
    return std::any_of(enabled.begin(), enabled.end(), [](uint8_t e) { return e != 0; });
}

} // namespace xk
