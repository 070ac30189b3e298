#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace xk {

// Reads a decimal integer the way every stored value is read: leading blanks skipped, an
// optional sign, digits up to the first non-digit; text without digits gives 0. Values beyond
// the int32 range saturate.
int32_t ParseDecimal(std::string_view text);

// A number a person typed: the whole text is an optional sign and one to nine digits; nothing
// for anything else.
std::optional<int64_t> ParseTypedDecimal(std::string_view text);

} // namespace xk
