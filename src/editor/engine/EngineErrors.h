// The editor components' contract errors. Each type carries one fixed message, so callers and the
// application's default error box see exactly the same text whichever part of the editor raised it.
#pragma once

#include <stdexcept>

namespace zandor {

inline constexpr const char* kListIndexOutOfBounds = "List index out of bounds";
inline constexpr const char* kInternalArtMemoError = "Internal ArtMemo error";
inline constexpr const char* kTextTooLong = "Text too long";
inline constexpr const char* kNotAnArtMemo = "Internal error: component is not a TArtMemo";

// Common base, so a caller can catch every editor contract error at once.
class EArtMemoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside a record array, a line table or a string list.
class ERangeError : public EArtMemoError {
public:
    ERangeError() : EArtMemoError(kListIndexOutOfBounds) {}
};

// The store or a navigator met a state that its own bookkeeping rules out.
class EInternalError : public EArtMemoError {
public:
    EInternalError() : EArtMemoError(kInternalArtMemoError) {}
};

// A paragraph buffer would not fit the 32-bit sizes the store keeps.
class ETextTooLong : public EArtMemoError {
public:
    ETextTooLong() : EArtMemoError(kTextTooLong) {}
};

// An add-on was attached to a component that is not an editor control.
class ENotArtMemo : public EArtMemoError {
public:
    ENotArtMemo() : EArtMemoError(kNotAnArtMemo) {}
};

} // namespace zandor
