#pragma once

#include "settings/UserMessages.h"
#include "ui/layout/ExitProcedure.h"

#include <string>
#include <string_view>
#include <vector>

namespace xk::test {

// Records the messages and exit calls that the layout loaders ask the window layer for.
class RecordingShell : public UserMessages, public ExitProcedure {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ExitProgram() override { ++exitCalls; }

    std::vector<std::string> messages;
    int exitCalls = 0;
};

} // namespace xk::test
