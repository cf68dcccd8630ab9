#include "periphery/ProgramVersion.h"

namespace zandor {

std::string ProgramVersion() {
    return ZANDOR_VERSION;
}

} // namespace zandor
