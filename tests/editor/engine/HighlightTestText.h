// Reading highlighting results in tests: the runs and base style of a paragraph as short text, a
// snapshot of the whole store's highlighting to compare two stores, and a control core with its
// highlighting engine filled from a CR LF string.
#pragma once

#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"

#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

// A control core and its highlighting, loaded with text (paragraphs separated by CR LF).
struct HighlightFixture {
    explicit HighlightFixture(std::string_view text = "");
    TArtMemoCore Core;
    THighlighting& Hl = Core.Highlighting();
    TParagraphsList& List() { return Core.Paragraphs(); }
    void Load(std::string_view text);
    // Parses and matches the whole text as formatting it would.
    void HighlightAll() { Hl.HighlightUpTo(List().Count() - 1); }
};

// One state as "ctx/depth[entries]" plus style and StartLen/StopLen, e.g. "7/0[-32768]s40".
std::string DescribeState(const TDynInfo& r);
// "base=...; 3:...; 5:..." for paragraph p.
std::string DescribeParagraph(const TParagraphsList& list, int p);
// The context number in force at each character of paragraph p, as one character per byte: '.'
// for none, else the context number's last decimal digit.
std::string ContextMap(const TParagraphsList& list, int p);

// Every paragraph's base style and runs, all fields except the base style's reference count.
std::vector<std::string> Snapshot(const TParagraphsList& list);
// Empty when equal, else the first differing paragraphs side by side.
std::string SnapshotDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

} // namespace zandor::test
