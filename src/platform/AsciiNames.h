// Names in settings files, the registry file and colour names compare without regard to the case
// of ASCII letters only: bytes above 127 belong to whatever code page wrote them and stay as they are.
#pragma once

#include <string_view>

namespace zandor::platform {

inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

inline bool SameAsciiName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace zandor::platform
