// The consistency check of an editor control's store: walks every paragraph with running totals
// and stops at the first piece of bookkeeping that disagrees with them. A diagnostic for the
// developer's hot key; it changes nothing.
#pragma once

#include "editor/engine/EngineErrors.h"

#include <string>
#include <string_view>

namespace zandor {

class TArtMemoCore;

// A violation found by the check; the message is the check's literal followed by the control's
// version label.
class EConsistencyError : public EArtMemoError {
public:
    using EArtMemoError::EArtMemoError;
};

// Raises EConsistencyError at the first violation: "Error 1" (first display line), "Error 2 in "
// (start position), "Error 7 in " (outline level), "Error 3 in " / "Error 4 in " (display lines
// not covering the paragraph), "Error 5 in " (character count), "Error 6 in " / "Error 6.01 in "
// (visible and all display lines), each followed by versionLabel.
void CheckConsistency(TArtMemoCore& core, std::string_view versionLabel);

} // namespace zandor
