#pragma once

#include <string_view>

namespace xk {

// What the core layers ask the window layer to show or do on their behalf; the window layer
// implements it, tests use a recording double.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A message box owned by the main window with an OK button; text in UTF-8.
    virtual void ShowMessage(std::string_view text) = 0;
};

} // namespace xk
