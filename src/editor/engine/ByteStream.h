// The byte streams the editor's whole text is loaded from and saved to. The engine reads and writes
// through this small interface only, so the same loader serves a file, a memory buffer or a test's
// generated data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

// A failing read, write or seek. Raised by the streams, never by the engine itself.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A positioned sequence of bytes. Read and Write move the position by what they transferred.
class TByteStream {
public:
    virtual ~TByteStream() = default;
    // Up to n bytes into buffer; fewer only at the end of the data. Returns the number read.
    virtual size_t Read(void* buffer, size_t n) = 0;
    // All n bytes, or EStreamError.
    virtual void Write(const void* buffer, size_t n) = 0;
    virtual int64_t Position() const = 0;
    // 0 <= position <= Size(), else EStreamError.
    virtual void Seek(int64_t position) = 0;
    virtual int64_t Size() const = 0;
};

// Owns a growable byte buffer. Writing past the end extends it; writing inside overwrites.
class TMemoryStream final : public TByteStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string_view bytes) : FBytes(bytes.begin(), bytes.end()) {}

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    int64_t Position() const override { return static_cast<int64_t>(FPosition); }
    void Seek(int64_t position) override;
    int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }

    const std::vector<char>& Bytes() const { return FBytes; }
    std::string Text() const { return std::string(FBytes.begin(), FBytes.end()); }
    // Keeps room for n bytes, so a writer of known size does not reallocate.
    void Reserve(size_t n) { FBytes.reserve(n); }

private:
    std::vector<char> FBytes;
    size_t FPosition = 0;
};

// Reads bytes that live elsewhere (a mapped file, a benchmark's buffer) without copying them.
// Refers to the bytes; they must outlive the stream. Writing is refused.
class TMemoryReadStream final : public TByteStream {
public:
    TMemoryReadStream(const void* data, size_t size) : FData(static_cast<const char*>(data)), FSize(size) {}

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    int64_t Position() const override { return static_cast<int64_t>(FPosition); }
    void Seek(int64_t position) override;
    int64_t Size() const override { return static_cast<int64_t>(FSize); }

private:
    const char* FData;
    size_t FSize;
    size_t FPosition = 0;
};

// A file opened for reading, or created (truncated) for writing. Owns the open file.
class TFileStream final : public TByteStream {
public:
    enum TMode { fmOpenRead, fmCreate };
    // EStreamError when the file cannot be opened.
    TFileStream(const std::string& path, TMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    int64_t Position() const override;
    void Seek(int64_t position) override;
    int64_t Size() const override;
    // Writes buffered bytes out; EStreamError when that fails. Also done by the destructor, which
    // cannot report a failure, so a writer that cares calls it.
    void Flush();

private:
    std::FILE* FFile = nullptr;
};

} // namespace zandor
