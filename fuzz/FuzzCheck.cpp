#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace zandor::fuzz {

namespace {

void PrintAndAbort(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

FuzzFailHandler failHandler = PrintAndAbort;

} // namespace

void SetFuzzFailHandler(FuzzFailHandler handler) {
    failHandler = handler ? handler : PrintAndAbort;
}

void ThrowFuzzFailure(const std::string& what) {
    throw FuzzFailure{what};
}

void FuzzFail(const std::string& what) {
    failHandler(what);
    std::abort(); // a handler that returned
}

} // namespace zandor::fuzz
