#include "platform/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace zandor::platform {

void Trace(const std::string& line) {
    const char* file = std::getenv("ZANDOR_TRACE");
    if (!file || !*file)
        return;
    if (FILE* f = std::fopen(file, "a")) {
        std::fprintf(f, "%d %s\n", static_cast<int>(getpid()), line.c_str());
        std::fclose(f);
    }
}

} // namespace zandor::platform
