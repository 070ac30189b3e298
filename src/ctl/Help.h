#pragma once

#include <string>
#include <string_view>

namespace xk::ctl {

// The help of a command ("" for the overview); empty for a name that is no command.
std::string HelpText(std::string_view topic);

} // namespace xk::ctl
