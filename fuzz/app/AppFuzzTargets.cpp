#include "FuzzTargets.h"

namespace zandor::fuzz {

const std::vector<FuzzTarget>& AppFuzzTargets() {
    static const std::vector<FuzzTarget> targets{
        {"decoding", FuzzDecoding}, {"transforms", FuzzTransforms}, {"findreplace", FuzzFindReplace},
        {"pictures", FuzzPictures}, {"cmdline", FuzzCmdLine},       {"printlayout", FuzzPrintLayout},
    };
    return targets;
}

} // namespace zandor::fuzz
