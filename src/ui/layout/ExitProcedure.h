#pragma once

namespace xk {

// The one way the program ends in order (tray icon removed, exit report sent, pointer speed
// reset, main window destroyed). The application layer implements it; tests record the call.
class ExitProcedure {
public:
    virtual ~ExitProcedure() = default;
    virtual void ExitProgram() = 0;
};

} // namespace xk
