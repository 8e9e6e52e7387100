// UTF-8 as the keyboard reads it: key strings, stored texts, typed words.
#pragma once

#include <cstddef>
#include <string_view>

namespace osk {

// Length of the UTF-8 sequence at `pos` and its code point, or 0 when the
// bytes there are not well-formed UTF-8 (overlong forms, surrogates, values
// above U+10FFFF, truncated or stray continuation bytes).
std::size_t decodeUtf8(std::string_view s, std::size_t pos, char32_t& out);

}  // namespace osk
