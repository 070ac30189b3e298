#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace xk {

// What a person is told when a file that their action wrote (apply, save, export, reset) could
// not be written, in the interface language, naming every such file. Saves that the program
// makes by itself say nothing.
std::string NotSavedMessage(std::span<const std::filesystem::path> files, int32_t language);

} // namespace xk
