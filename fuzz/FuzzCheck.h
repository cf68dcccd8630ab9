// How a fuzz target reports a property that does not hold. Under libFuzzer the run aborts, so the
// fuzzer keeps the input as a reproducer; the regression replay makes it a test failure instead.
#pragma once

#include <string>

namespace zandor::fuzz {

// Thrown by the replay's handler. Not a std::exception, so that the targets' own handlers of the
// errors they provoke never swallow it.
struct FuzzFailure {
    std::string What;
};

// Called with the description of the failed property; must not return.
using FuzzFailHandler = void (*)(const std::string& what);
// The default prints the description and aborts.
void SetFuzzFailHandler(FuzzFailHandler handler);
void ThrowFuzzFailure(const std::string& what);

[[noreturn]] void FuzzFail(const std::string& what);

inline void FuzzCheck(bool holds, const char* what) {
    if (!holds)
        FuzzFail(what);
}

} // namespace zandor::fuzz
