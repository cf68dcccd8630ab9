#include "editor/engine/ByteStream.h"

#include <algorithm>
#include <cstring>

namespace zandor {

// ---- TMemoryStream ---------------------------------------------------------------------------

size_t TMemoryStream::Read(void* buffer, size_t n) {
    const size_t available = FPosition < FBytes.size() ? FBytes.size() - FPosition : 0;
    n = std::min(n, available);
    if (n > 0)
        std::memcpy(buffer, FBytes.data() + FPosition, n);
    FPosition += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, size_t n) {
    if (n == 0)
        return;
    if (FPosition + n > FBytes.size())
        FBytes.resize(FPosition + n);
    std::memcpy(FBytes.data() + FPosition, buffer, n);
    FPosition += n;
}

void TMemoryStream::Seek(int64_t position) {
    if (position < 0 || position > Size())
        throw EStreamError("Stream seek out of range");
    FPosition = static_cast<size_t>(position);
}

// ---- TMemoryReadStream -----------------------------------------------------------------------

size_t TMemoryReadStream::Read(void* buffer, size_t n) {
    n = std::min(n, FSize - FPosition);
    if (n > 0)
        std::memcpy(buffer, FData + FPosition, n);
    FPosition += n;
    return n;
}

void TMemoryReadStream::Write(const void*, size_t) {
    throw EStreamError("Stream write error");
}

void TMemoryReadStream::Seek(int64_t position) {
    if (position < 0 || position > Size())
        throw EStreamError("Stream seek out of range");
    FPosition = static_cast<size_t>(position);
}

// ---- TFileStream -----------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& path, TMode mode) {
    FFile = std::fopen(path.c_str(), mode == fmCreate ? "wb" : "rb");
    if (!FFile)
        throw EStreamError("Cannot open file \"" + path + "\"");
}

TFileStream::~TFileStream() {
    std::fclose(FFile);
}

size_t TFileStream::Read(void* buffer, size_t n) {
    const size_t got = std::fread(buffer, 1, n, FFile);
    if (got < n && std::ferror(FFile))
        throw EStreamError("Stream read error");
    return got;
}

void TFileStream::Write(const void* buffer, size_t n) {
    if (n > 0 && std::fwrite(buffer, 1, n, FFile) != n)
        throw EStreamError("Stream write error");
}

int64_t TFileStream::Position() const {
    const long at = std::ftell(FFile);
    if (at < 0)
        throw EStreamError("Stream position error");
    return at;
}

void TFileStream::Seek(int64_t position) {
    if (position < 0 || std::fseek(FFile, static_cast<long>(position), SEEK_SET) != 0)
        throw EStreamError("Stream seek out of range");
}

int64_t TFileStream::Size() const {
    const long at = std::ftell(FFile);
    if (at < 0 || std::fseek(FFile, 0, SEEK_END) != 0)
        throw EStreamError("Stream position error");
    const long size = std::ftell(FFile);
    std::fseek(FFile, at, SEEK_SET);
    if (size < 0)
        throw EStreamError("Stream position error");
    return size;
}

void TFileStream::Flush() {
    if (std::fflush(FFile) != 0)
        throw EStreamError("Stream write error");
}

} // namespace zandor
