#include "ctl/Assignments.h"

#include "ctl/CloseMatches.h"
#include "settings/ConfigurationFields.h"
#include "settings/ConfigurationRules.h"
#include "settings/Decimal.h"
#include "settings/FunctionCode.h"

#include <algorithm>

namespace xk::ctl {

namespace {

AssignmentsOutcome Refused(std::string error) {
    AssignmentsOutcome outcome;
    outcome.error = std::move(error);
    return outcome;
}

std::string UnknownKey(std::string_view key) {
    std::vector<std::string> keys;
    for (const ConfigurationField& field : ConfigurationFields()) {
        keys.push_back(field.key);
    }
    return "unknown key '" + std::string(key) + "'" + CloseMatchesNote(key, keys) +
           " (see: xk-r40-ctl set --help)";
}

} // namespace

AssignmentsOutcome ApplyAssignments(const Configuration& current,
                                    const std::vector<std::pair<std::string, std::string>>& pairs,
                                    const FunctionNames& names) {
    Configuration config = current;
    bool buttonsChanged = false;
    bool dpiLevelGiven = false;
    bool dpiEnableChanged = false;
    for (const auto& [key, text] : pairs) {
        const ConfigurationField* field = FindConfigurationField(key);
        if (field == nullptr) {
            return Refused(UnknownKey(key));
        }
        if (field->kind == FieldKind::ReportRate) {
            return Refused(field->key +
                           " follows the mouse's report-rate button and is not set by hand");
        }
        int32_t value = 0;
        if (field->kind == FieldKind::ButtonFunction) {
            const FunctionNames::Resolved resolved = names.Resolve(text);
            if (!resolved.code) {
                return Refused(field->key + ": " + resolved.error);
            }
            value = *resolved.code;
            buttonsChanged = true;
        } else {
            const std::optional<int64_t> number = ParseTypedDecimal(text);
            if (!number) {
                return Refused(field->key + ": '" + text + "' is not a number; " +
                               RangeText(*field));
            }
            if (!InRange(*field, *number)) {
                return Refused(field->key + ": " + text + " is out of range; " + RangeText(*field));
            }
            value = static_cast<int32_t>(*number);
            dpiLevelGiven = dpiLevelGiven || field->kind == FieldKind::DpiLevel;
            dpiEnableChanged = dpiEnableChanged || field->kind == FieldKind::DpiEnabled;
        }
        SetValue(config, *field, value);
    }

    AssignmentsOutcome outcome;
    if (buttonsChanged && !KeepsLeftButton(config)) {
        const std::string left = names.ShownName(kLeftButtonCode);
        return Refused("no button would be " + (left.empty() ? "the left button" : left) +
                       " (code 1); one button keeps it, so give it to another button in the "
                       "same command");
    }
    if (dpiLevelGiven || dpiEnableChanged) {
        const auto& enabled = config.dpiEnabled;
        if (!SomeDpiLevelEnabled(config)) {
            return Refused("no DPI level would be enabled; one of DPI_SET_EN0..3 stays 1");
        }
        const int32_t level = config.dpiLevel;
        const bool inRange = level >= 0 && level < kDpiLevelCount;
        if (inRange && enabled[static_cast<size_t>(level)] == 0) {
            if (dpiLevelGiven) {
                return Refused("DPI_LEVEL " + std::to_string(level) +
                               " is not an enabled level; enable it too with DPI_SET_EN" +
                               std::to_string(level) + " 1");
            }
            for (int32_t step = 1; step < kDpiLevelCount; ++step) {
                const int32_t next = (level + step) % kDpiLevelCount;
                if (enabled[static_cast<size_t>(next)] != 0) {
                    config.dpiLevel = next;
                    outcome.notes.push_back("DPI_LEVEL moves to " + std::to_string(next) +
                                            ", the next enabled level");
                    break;
                }
            }
        }
    }
    outcome.config = config;
    return outcome;
}

} // namespace xk::ctl
