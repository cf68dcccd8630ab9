// The exceptions the platform layer throws, in one place so callers can catch them by kind.
#pragma once

#include <stdexcept>
#include <string>

namespace zandor::platform {

// A file could not be created or written ("Cannot create file \"...\". <reason>").
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A registry value exists but holds another type than the one asked for.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text is no valid integer, colour or font.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zandor::platform
