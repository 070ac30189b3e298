#include "settings/Settings.h"

namespace xk {

Configuration ConfigurationOf(const Settings& s) {
    Configuration c;
    for (size_t i = 0; i < kButtonCount; ++i) {
        c.buttonFunction[i] = s.buttonFunction[i].load();
    }
    c.dpiLevel = s.dpiLevel.load();
    c.wheelStatus = s.wheelStatus;
    c.macroMode = s.macroMode.load();
    c.dpiValue = s.dpiValue;
    c.dpiEnabled = s.dpiEnabled;
    c.ledMode = s.ledMode;
    c.pointerSpeed = s.pointerSpeed;
    c.wheelSpeed = s.wheelSpeed;
    c.reportRate = s.reportRate.load();
    c.fireTime = s.fireTime;
    return c;
}

void ApplyConfiguration(Settings& s, const Configuration& c) {
    for (size_t i = 0; i < kButtonCount; ++i) {
        s.buttonFunction[i].store(c.buttonFunction[i]);
    }
    s.dpiLevel.store(c.dpiLevel);
    s.wheelStatus = c.wheelStatus;
    s.macroMode.store(c.macroMode);
    s.dpiValue = c.dpiValue;
    s.dpiEnabled = c.dpiEnabled;
    s.ledMode = c.ledMode;
    s.pointerSpeed = c.pointerSpeed;
    s.wheelSpeed = c.wheelSpeed;
    s.reportRate.store(c.reportRate);
    s.fireTime = c.fireTime;
}

void ApplyBuiltInDefaults(Settings& s) {
    Configuration c = ConfigurationOf(s);
    c.buttonFunction = {1, 2, 3, 5, 4, 16, 15, 13};
    c.dpiLevel = 0;
    c.wheelStatus = 0;
    c.dpiValue = {4, 6, 8, 10};
    c.dpiEnabled = {1, 1, 1, 1};
    c.ledMode = 0;
    c.pointerSpeed = 5;
    c.wheelSpeed = 2;
    c.reportRate = 2;
    c.fireTime = 50;
    ApplyConfiguration(s, c);
}

} // namespace xk
