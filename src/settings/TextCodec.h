#pragma once

#include <string>
#include <string_view>

namespace xk {

// UTF-8 <-> UTF-16 conversion. Malformed input never fails: a bad sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// The first `units` UTF-16 code units of a UTF-8 text, never splitting a surrogate pair.
std::string TruncateUtf16Units(std::string_view utf8, size_t units);

} // namespace xk
