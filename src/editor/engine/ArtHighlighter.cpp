#include "editor/engine/ArtHighlighter.h"

#include "editor/engine/Highlighting.h"

namespace zandor {

TArtHighlighter::~TArtHighlighter() {
    // Each control forgets this highlighter and removes itself from FMemos.
    while (!FMemos.empty())
        FMemos.back()->SetHighlighter(nullptr);
}

void TArtHighlighter::ApplyHighlight(TArtNavigator&, TArtNavigator&, int32_t) {}

bool TArtHighlighter::ApplyHighlightToPar(TArtMemoCore&, int, int32_t) {
    return false;
}

int32_t TArtHighlighter::RunsToAdd(TArtMemoCore&, int) {
    return 0;
}

bool TArtHighlighter::FindContextStart(TArtNavigator&, TArtNavigator&, int32_t) {
    return false;
}

bool TArtHighlighter::FindContextEnd(TArtNavigator&, TArtNavigator&, int32_t) {
    return false;
}

void TArtHighlighter::Notify(TArtMemoCore*, int32_t) {}

bool TArtHighlighter::BeforeReparse(TArtNavigator&, TArtNavigator&, int32_t, int32_t) {
    return false;
}

} // namespace zandor
