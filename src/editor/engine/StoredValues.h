// The values of a list property as a form file holds them: a flat sequence of strings, integers
// and Booleans that a component writes and reads back in its own order. Components that must also
// read the layout of older files look at the kind of the next value before taking it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace zandor {

using TStoredValue = std::variant<int32_t, bool, std::string>;
using TStoredList = std::vector<TStoredValue>;

// A stored list that does not hold what its reader expects at some place.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Invalid property value") {}
};

// Reads a stored list front to back; refers to the list, which must outlive it.
class TStoredReader {
public:
    explicit TStoredReader(const TStoredList& list) : FList(list) {}

    bool AtEnd() const { return FNext >= FList.size(); }
    bool NextIsInteger() const { return !AtEnd() && std::holds_alternative<int32_t>(FList[FNext]); }
    int32_t ReadInteger() { return Take<int32_t>(); }
    bool ReadBoolean() { return Take<bool>(); }
    std::string ReadString() { return Take<std::string>(); }

private:
    template <class T> T Take() {
        if (AtEnd() || !std::holds_alternative<T>(FList[FNext]))
            throw EReadError();
        return std::get<T>(FList[FNext++]);
    }

    const TStoredList& FList;
    size_t FNext = 0;
};

} // namespace zandor
