#include "FuzzTargets.h"

namespace zandor::fuzz {

const std::vector<FuzzTarget>& FuzzTargets() {
    static const std::vector<FuzzTarget> targets{
        {"loader", FuzzLoader},
        {"edit", FuzzEdit},
        {"ini", FuzzIni},
        {"registry", FuzzRegistry},
        {"fontcolour", FuzzFontColour},
        {"keywords", FuzzKeywords},
        {"language", FuzzLanguage},
        {"urls", FuzzURLs},
    };
    return targets;
}

} // namespace zandor::fuzz
