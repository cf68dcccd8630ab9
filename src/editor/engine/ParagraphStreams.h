// The whole text in and out of the paragraph store as bytes: the stream loader with its line-break
// recognition and the writer with the chosen break.
#pragma once

#include "editor/engine/ReplaceRange.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zandor {

class TByteStream;
class TParagraphsList;

// The bytes written between paragraphs; also what a load reports it found last.
enum TArtLineBreak : uint8_t {
    pbCRLF, // 13 10
    pbLFCR, // 10 13
    pbCR,   // 13
    pbLF,   // 10
};

// Called during long loads and saves; the control binds itself as the sender.
using TProgressHandler = std::function<void()>;

// Fills an empty list from the stream's position to its end. Paragraph texts stay in shared load
// blocks of the list. breakKind becomes the kind of the last line break met (unchanged when there
// is none). A NUL byte ends the text unless nullReplacement is another character, which then takes
// its place; the stream is left on the NUL that ended the text. With discardTrailing, blanks at the
// end of every paragraph are dropped. progress (may be empty) is called at most every 16 paragraphs
// and every interval ms, with LoadProgress = the stream position.
// The list's counters are set even when the stream fails: the paragraphs read so far stay, the
// bytes of the unfinished one form the last paragraph, and the stream's exception passes on.
// A text longer than maxTextLength positions is not loaded: ETextTooLong ("Text too long"), and the
// list holds one empty paragraph.
void LoadParagraphs(TParagraphsList& list, TByteStream& stream, uint32_t interval,
                    const TProgressHandler& progress, TArtLineBreak& breakKind, bool discardTrailing,
                    char nullReplacement, int64_t maxTextLength = kMaxTextLength);

// The same load from bytes[0 .. size) without a copy: the list takes the buffer over as its load
// block and the paragraphs' texts stay where they are, each break byte becoming a terminator. The
// buffer must have room for size + 1 bytes. LoadProgress counts the bytes scanned.
void LoadParagraphsInPlace(TParagraphsList& list, std::unique_ptr<char[]> bytes, size_t size,
                           uint32_t interval, const TProgressHandler& progress, TArtLineBreak& breakKind,
                           bool discardTrailing, char nullReplacement,
                           int64_t maxTextLength = kMaxTextLength);

// Writes every paragraph with breakKind's bytes between them (none after the last). With
// StaticFormat on, pairs of the same format code with only other codes between them cancel and are
// not written; with discardTrailing, trailing blanks of each paragraph are not written. The store
// itself is not changed. progress as above, with SaveProgress = the paragraph index, and once more
// at the end with SaveProgress = Count.
void SaveParagraphs(TParagraphsList& list, TByteStream& stream, uint32_t interval,
                    const TProgressHandler& progress, TArtLineBreak breakKind, bool discardTrailing);

} // namespace zandor
