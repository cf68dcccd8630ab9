// Must not compile: the control is a layer above the engine.
#include "editor/control/ArtMemo.h"
