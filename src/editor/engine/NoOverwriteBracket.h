// The bracket around an edit that acts at the caret while a selection stands: the selection is
// set aside (or, with persistent blocks, kept aside and put back around the edited text).
#pragma once

#include <memory>

namespace zandor {

class TArtNavigator;
class TMemoEditor;

// Around an edit that acts at the caret instead of on the selection (typing, Backspace, Delete,
// paste and block insertion with amoNoOverwriteBlocks). Without amoPersistentBlocks the selection
// simply collapses at the caret. With it the selection is set aside and put back afterwards around
// the edited text, and the caret stays free where the edit left it. Nothing with neither option
// nor selection.
class TNoOverwriteBracket {
public:
    explicit TNoOverwriteBracket(TMemoEditor& editor);
    ~TNoOverwriteBracket() noexcept(false);
    TNoOverwriteBracket(const TNoOverwriteBracket&) = delete;
    TNoOverwriteBracket& operator=(const TNoOverwriteBracket&) = delete;

private:
    TMemoEditor& FEditor;
    bool FActive = false;
    bool FBlock = false;
    int FStartOffset = 0;
    int FEndOffset = 0;
    // Registered with the control, so that they follow the edit.
    std::unique_ptr<TArtNavigator> FLower;
    std::unique_ptr<TArtNavigator> FUpper;
    int FUncaught = 0;
};

} // namespace zandor
