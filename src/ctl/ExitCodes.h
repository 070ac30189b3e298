#pragma once

namespace xk::ctl {

// The exit status of xk-r40-ctl, the same whether it did the work or the program did.
inline constexpr int kExitDone = 0;
// A file could not be read or written, or the running program or the mouse did not answer.
inline constexpr int kExitFailed = 1;
// A command, option, field, name or value refused; nothing was changed.
inline constexpr int kExitRefused = 2;
// No mouse; nothing was changed.
inline constexpr int kExitNoMouse = 3;

} // namespace xk::ctl
