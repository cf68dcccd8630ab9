// Must not compile: no Qt header is within the engine's reach.
#include "editor/engine/MemoCore.h"

#include <QWidget>
