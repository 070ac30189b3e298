#pragma once

#include "support/fakes/RecordingMessages.h"
#include "ui/layout/ExitProcedure.h"

#include <string>
#include <string_view>
#include <vector>

namespace xk::test {

// Records the messages and exit calls that the layout loaders ask the window layer for.
class RecordingShell : public RecordingMessages, public ExitProcedure {
public:
    void ExitProgram() override { ++exitCalls; }

    std::vector<std::string>& messages = shown;
    int exitCalls = 0;
};

} // namespace xk::test
