// Integer text as the settings store it: decimal with an optional sign, or hexadecimal after "$",
// the form colours are written in.
#pragma once

#include <cstdint>
#include <string_view>

namespace zandor::platform {

// Converts the whole text; false when it is empty, holds anything else or does not fit 32 bits.
// Hexadecimal takes up to 8 digits and is read as the 32-bit pattern ("$FFFFFFFF" is -1).
bool TryStrToInt(std::string_view text, int32_t& value);

// As TryStrToInt, but throws ConversionError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

} // namespace zandor::platform
