#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace xk {

// What a person is told when a file that their action wrote (apply, save, export, reset) could
// not be written, in the interface language, naming every such file. Saves that the program
// makes by itself say nothing. A file refused because root would take it over from its user
// is named with that reason instead of the folder's.
std::string NotSavedMessage(std::span<const std::filesystem::path> files, int32_t language);

// What follows a file's or folder's name when root is refused it: it belongs to another user,
// and `program` should run as that user.
std::string RootTakeOverAdvice(std::string_view program);

} // namespace xk
