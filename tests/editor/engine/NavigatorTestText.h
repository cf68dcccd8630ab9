// Building texts for navigator tests: a control core filled from a CR LF string, display lines
// wrapped at chosen offsets, runs at chosen offsets, and the plain-string answers to compare with.
#pragma once

#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

// Replaces the core's text; paragraphs are separated by CR LF. Every paragraph is one line.
void LoadText(TArtMemoCore& core, std::string_view text);

// Splits paragraph par into display lines starting at the given offsets (ascending, > 0, inside
// the paragraph); each line's width is 8 pixels per character. Renumbers FirstLine afterwards.
void WrapAt(TArtMemoCore& core, int par, const std::vector<int32_t>& wraps);

// Marks paragraph par hidden (collapsed away) and renumbers FirstLine.
void HidePar(TArtMemoCore& core, int par);

// Inserts a run at offset (after the runs that already begin there) and keeps the line tables'
// run counts right.
void AddRun(TArtMemoCore& core, int par, int32_t offset, uint8_t styleFlags, int32_t context = 0);

// FirstLine chain and the list's line counters from the line tables.
void RenumberLines(TParagraphsList& list);

// The plain-string model: the text with CR LF breaks.
struct TextModel {
    explicit TextModel(std::string text);
    std::string Text;
    std::vector<int32_t> Starts; // position of each paragraph
    int ParOf(int32_t pos) const;
    int32_t ParLength(int par) const;
    // The character a navigator reports at pos: the text's byte, 13 at the very end.
    uint8_t CharAt(int32_t pos) const;
};

} // namespace zandor::test
