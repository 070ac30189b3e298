#pragma once

#include "ctl/FunctionNames.h"
#include "settings/Settings.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace xk::ctl {

struct AssignmentsOutcome {
    std::optional<Configuration> config; // nothing when refused
    std::string error;                   // why it was refused
    std::vector<std::string> notes;      // what changed beyond the pairs
};

// The configuration that KEY VALUE pairs make of `current`, checked as the window checks a
// person's clicks: keys of a configuration section in any letter case, values in the ranges
// the window allows, button functions by offered code or name, one button keeping Left Click,
// one DPI level enabled and the active level an enabled one (turning off the active level
// moves it to the next enabled level, as in the window). All pairs or none.
AssignmentsOutcome ApplyAssignments(const Configuration& current,
                                    const std::vector<std::pair<std::string, std::string>>& pairs,
                                    const FunctionNames& names);

} // namespace xk::ctl
