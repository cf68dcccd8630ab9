// Shared by the editing tests: a control core loaded as a file load does, with the selection at the
// start and no undo records, and a host that records what the editor asked of its window.
#pragma once

#include "FormatTestText.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/UndoList.h"

#include <functional>
#include <string>
#include <string_view>

namespace zandor::test {

inline void LoadEditorText(TArtMemoCore& core, std::string_view text) {
    LoadThroughStream(core, text);
    core.Selection().Collapse(0);
    core.Undos().Clear();
}

inline std::string WholeText(TArtMemoCore& core) {
    return core.Editor().TextPart(0, core.CharCount());
}

class TRecordingEditorHost : public TEditorHost {
public:
    void BeforeReplace(const char*& text) override {
        ++Replaces;
        if (Substitute)
            Substitute(text);
    }
    void Parsed(int32_t, int32_t) override { ++Parses; }
    void RepaintLines(int32_t first, int32_t last) override {
        ++Repaints;
        LastRepaint = {first < last ? first : last, first < last ? last : first};
    }
    void CaretChanged() override { ++CaretUpdates; }
    void AfterEdit(bool wholeView) override { ++(wholeView ? BracketEnds : Edits); }
    void ScrollCaretInView() override { ++Scrolls; }

    std::function<void(const char*&)> Substitute;
    int Replaces = 0, Parses = 0, Repaints = 0, CaretUpdates = 0, Edits = 0, BracketEnds = 0, Scrolls = 0;
    std::pair<int32_t, int32_t> LastRepaint{-1, -1};
};

} // namespace zandor::test
