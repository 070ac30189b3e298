#pragma once

namespace xk {

enum class LaunchTarget { Calculator, Terminal };

// Starts the desktop's calculator or terminal, detached. A failed start is not reported.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void Launch(LaunchTarget target) = 0;
};

} // namespace xk
