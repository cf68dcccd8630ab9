// The libFuzzer entry point of one target; the build names the target's function in
// ZANDOR_FUZZ_FUNCTION.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zandor::fuzz::ZANDOR_FUZZ_FUNCTION(data, size);
}
