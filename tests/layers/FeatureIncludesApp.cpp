// Must not compile: a feature sees the layers below it, never the window.
#include "app/ZandorF.h"
