// Must not compile: the documents feature does not see the export built on it.
#include "export/ArtExport.h"
