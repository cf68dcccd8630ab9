// The keys that move the caret in the editor control: Left and Right (by characters, over format
// codes and breaks, by words with Ctrl), Home and End, Up and Down at the remembered column, and
// the page keys, each extending the selection with Shift and leaving blanks pending where columns
// are kept beyond line ends.
#pragma once

#include <Qt>

#include <cstdint>
#include <string>

namespace zandor {

class TArtMemo;
class TArtNavigator;

// Refers to its control, which owns it through the input; its scratch navigator is owned by the
// control's registry.
class TMemoCaretKeys {
public:
    explicit TMemoCaretKeys(TArtMemo& memo);

    void Horizontal(bool right, Qt::KeyboardModifiers keys);
    void HomeEnd(bool end, Qt::KeyboardModifiers keys);
    // lines: -1 up, 1 down; page: by a window less one line.
    void Vertical(int lines, bool page, Qt::KeyboardModifiers keys);

private:
    int32_t StepLeft(int32_t pos);
    int32_t StepRight(int32_t pos);
    int32_t WordRightTarget(int32_t pos, bool shift);
    // Without Shift (and without persistent blocks) a move first drops the selection.
    void CollapseFirst(bool shift, bool keepX);
    void MoveTo(int32_t pos, bool shift);
    void ChangePendingBlanks(std::string blanks, bool shift);
    // A key at the edge of the text goes to the application once more.
    void OfferKeyDown(int key);
    void Finish();

    TArtMemo& FMemo;
    TArtNavigator* FNav;
    Qt::KeyboardModifiers FKeys;
};

} // namespace zandor
