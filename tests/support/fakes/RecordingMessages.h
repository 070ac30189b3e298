#pragma once

#include "settings/UserMessages.h"

#include <string>
#include <string_view>
#include <vector>

namespace xk::test {

// Keeps every message the program would show.
class RecordingMessages : public UserMessages {
public:
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }

    std::vector<std::string> shown;
};

} // namespace xk::test
