// Compiles: the engine sees its own headers and the platform's Qt-free ones.
#include "editor/engine/MemoCore.h"
#include "platform/TextMeasurer.h"

int ProbeEngineOwnHeaders() {
    return 0;
}
