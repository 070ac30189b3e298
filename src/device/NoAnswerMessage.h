#pragma once

#include <cstdint>
#include <string>

namespace xk {

// What the person is told when the mouse did not answer the reports of an upload, in the
// interface language.
std::string NoAnswerMessage(int32_t language);
// What the person is told when the mouse refused reports of an upload.
std::string RefusedMessage(int32_t language);

} // namespace xk
