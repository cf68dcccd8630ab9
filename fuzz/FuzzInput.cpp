#include "FuzzInput.h"

#include <algorithm>

namespace zandor::fuzz {

uint8_t FuzzInput::Byte() {
    return FPos < FSize ? FData[FPos++] : 0;
}

uint32_t FuzzInput::Below(uint32_t n) {
    if (n <= 1)
        return 0;
    uint32_t v = Byte();
    if (n > 256)
        v = v << 8 | Byte();
    return v % n;
}

std::string FuzzInput::Bytes(size_t maxLength) {
    const size_t wanted = Below(static_cast<uint32_t>(maxLength) + 1);
    const size_t length = std::min(wanted, Left());
    std::string s(reinterpret_cast<const char*>(FData + FPos), length);
    FPos += length;
    return s;
}

std::string FuzzInput::Rest() {
    std::string s(reinterpret_cast<const char*>(FData + FPos), Left());
    FPos = FSize;
    return s;
}

} // namespace zandor::fuzz
