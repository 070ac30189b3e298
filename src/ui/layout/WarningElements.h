#pragma once

#include <cstdint>

namespace xk {

// Rows of the warning layout's BUTTONPOS section.
namespace warning_element {

inline constexpr int32_t kConfirmButton = 0;
inline constexpr int32_t kCancelButton = 1;
inline constexpr int32_t kMessage = 2;

} // namespace warning_element

} // namespace xk
