#include "platform/IntegerText.h"

#include "platform/PlatformErrors.h"

#include <string>

namespace zandor::platform {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && text.front() == '$') {
        hex = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;

    uint64_t magnitude = 0;
    if (hex) {
        if (text.size() > 8)
            return false;
        for (char c : text) {
            const int d = hexDigit(c);
            if (d < 0)
                return false;
            magnitude = magnitude * 16 + uint64_t(d);
        }
        const auto bits = uint32_t(negative ? uint32_t(0) - uint32_t(magnitude) : uint32_t(magnitude));
        value = int32_t(bits);
        return true;
    }
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + uint64_t(c - '0');
        if (magnitude > uint64_t(INT32_MAX) + 1)
            return false;
    }
    if (negative) {
        value = int32_t(-int64_t(magnitude));
        return true;
    }
    if (magnitude > uint64_t(INT32_MAX))
        return false;
    value = int32_t(magnitude);
    return true;
}

int32_t StrToInt(std::string_view text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value))
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

} // namespace zandor::platform
