// The bytes of one fuzz run read as the decisions it makes: flags and small numbers from the front,
// byte strings as they are needed. Once the bytes run out every answer is zero or empty, so any
// input, the empty one too, is a complete run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zandor::fuzz {

// Refers to the fuzzer's buffer; it must outlive the reader.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

    bool Empty() const { return FPos >= FSize; }
    size_t Left() const { return FSize - FPos; }

    uint8_t Byte();
    bool Flag() { return (Byte() & 1) != 0; }
    // 0 .. n - 1 (0 when n is 0), from one byte when n fits one, else from two.
    uint32_t Below(uint32_t n);
    int Range(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1))); }
    // A length byte (up to maxLength), then that many bytes.
    std::string Bytes(size_t maxLength);
    // Everything not read yet.
    std::string Rest();

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

} // namespace zandor::fuzz
