#pragma once

namespace xk {

// Takes the whole desktop's keyboard while a macro is recorded: every key event goes to the
// main window (as key messages to the pre-translation) and to no other application.
class KeyboardGrab {
public:
    virtual ~KeyboardGrab() = default;
    // False when the keyboard could not be taken; recording then sees only the keys typed while
    // the program's own window has the focus.
    virtual bool GrabKeyboard() = 0;
    virtual void ReleaseKeyboard() = 0;
};

} // namespace xk
