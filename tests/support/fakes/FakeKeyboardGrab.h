#pragma once

#include "macro/KeyboardGrab.h"

namespace xk::test {

// Counts grabs and releases; a grab succeeds unless the test says otherwise.
class FakeKeyboardGrab : public KeyboardGrab {
public:
    explicit FakeKeyboardGrab(bool succeeds = true) : grabSucceeds(succeeds) {}

    bool GrabKeyboard() override {
        ++grabs;
        return grabSucceeds;
    }
    void ReleaseKeyboard() override { ++releases; }

    bool grabSucceeds;
    int grabs = 0;
    int releases = 0;
};

} // namespace xk::test
