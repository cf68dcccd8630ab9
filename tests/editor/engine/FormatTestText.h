// Shared by the formatting tests: a control core loaded through the stream loader, a host that
// records what formatting told it, and readable views of line tables.
#pragma once

#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

// Replaces the core's text with bytes whose paragraphs are separated by CR LF, as a file load does
// (the static format state is carried from paragraph to paragraph).
void LoadThroughStream(TArtMemoCore& core, std::string_view text);

// Every paragraph laid out from scratch.
void FormatAll(TArtMemoCore& core);

std::vector<LineInfo> LineTable(const ParInfo& par);
// The paragraph's lines as its text cut at the breaks: "aaa |bbb".
std::string Breaks(const ParInfo& par);
std::string DescribeLines(const ParInfo& par);

// Same paragraphs, line tables, FirstLine chain, LineCount and VisibleLineCount; reports the first
// difference with both line tables.
::testing::AssertionResult SameLayout(TArtMemoCore& actual, TArtMemoCore& expected);

// Records every call; answers with its public fields.
class TRecordingHost : public TFormatHost {
public:
    bool InUpdate() const override { return Updating; }
    bool HasWindow() const override { return Window; }
    bool DesignTime() const override { return Designing; }
    void WakeFormatThread() override { ++Wakes; }
    void AfterFormat(int fromPar, int toPar, int visibleLineDelta) override {
        ++Formats;
        LastFrom = fromPar;
        LastTo = toPar;
        LastDelta = visibleLineDelta;
    }
    void AfterEditFormat(int firstLine, int lastChangedLine, int lineDelta) override {
        ++EditFormats;
        EditFirst = firstLine;
        EditLast = lastChangedLine;
        EditDelta = lineDelta;
    }
    void Progress() override { ++Progresses; }
    bool HasProgressHandler() const override { return ProgressHandler; }
    void Changed() override { ++Changes; }

    bool Updating = false;
    bool Window = true;
    bool Designing = false;
    bool ProgressHandler = false;
    int Wakes = 0;
    int Formats = 0;
    int LastFrom = -1, LastTo = -1, LastDelta = 0;
    int EditFormats = 0;
    int EditFirst = -1, EditLast = -1, EditDelta = 0;
    int Progresses = 0;
    int Changes = 0;
};

} // namespace zandor::test
