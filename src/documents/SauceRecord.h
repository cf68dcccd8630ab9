// SAUCE, the record that art files carry after their text: 128 bytes starting "SAUCE00" at the very
// end, an optional comment block ("COMNT" and 64-byte lines) before it, and the end-of-file byte
// 0x1A before them both. The record is split from the text when a file is read, shown in its
// properties and written back after the text unchanged. Pure functions of bytes.
#pragma once

#include "platform/ScreenCells.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

// The record's fields as stored (text fields in code page 437, trailing blanks and zero bytes cut).
struct TSauceRecord {
    std::string Version; // "00"
    std::string Title;   // 35 bytes
    std::string Author;  // 20 bytes
    std::string Group;   // 20 bytes
    std::string Date;    // CCYYMMDD, 8 bytes, as stored
    uint32_t FileSize = 0;
    uint8_t DataType = 0;
    uint8_t FileType = 0;
    uint16_t TInfo1 = 0;
    uint16_t TInfo2 = 0;
    uint16_t TInfo3 = 0;
    uint16_t TInfo4 = 0;
    uint8_t Comments = 0; // the count the record claims
    uint8_t Flags = 0;
    std::string TInfoS; // 22 bytes: the font's name for character data
    // The comment lines found (each up to 64 bytes, trailing blanks cut); fewer than Comments when
    // the file holds fewer.
    std::vector<std::string> CommentLines;
    // Bytes the record lacks at the end of the file (a record cut short), read as zero.
    size_t MissingBytes = 0;

    // The width in characters the art was drawn for, when the record tells one: TInfo1 of
    // character data (DataType 1) laid out as a grid (ASCII, ANSi, ANSiMation, PCBoard, Avatar,
    // TundraDraw) and of XBin; binary text (DataType 5) keeps half its width in FileType, so its
    // width is FileType * 2; 0 otherwise.
    int Width() const;
    // The height in lines: TInfo2 of the same character data and of XBin; 0 when not told.
    int Height() const;
    // The flags of character data: iCE colours (bit 0), letter spacing (bits 1-2: 0 none, 1 8
    // pixels, 2 9 pixels), aspect ratio (bits 3-4: 0 none, 1 legacy, 2 square).
    bool IceColours() const { return (Flags & 1) != 0; }
    int LetterSpacing() const { return (Flags >> 1) & 3; }
    int AspectRatio() const { return (Flags >> 3) & 3; }
    // The names of the data type and of the file type as the standard lists them ("Character",
    // "ANSi", ...); "None" and a number for what it does not know.
    std::string DataTypeName() const;
    std::string FileTypeName() const;
    // "YYYY-MM-DD" when Date holds eight digits, else Date as stored.
    std::string DateText() const;
};

// The cells a file is shown in: `chosen`, except where the record of character data or binary text
// tells its letter spacing (8 or 9 pixels) or its aspect (legacy: stretched; square: not).
platform::TScreenCells SauceCells(const TSauceRecord& record, platform::TScreenCells chosen);

// A file's bytes split into its text and what follows it.
struct TSauceSplit {
    // The bytes of the text: the file's bytes up to the tail.
    size_t TextSize = 0;
    // Set when a record was found; the tail (0x1A, comments and record) is then bytes
    // [TextSize, end), written back after the text as it was.
    std::optional<TSauceRecord> Record;
};

// Finds a record at the end of the bytes. Damaged records are found as real files have them: no
// 0x1A before the block, a comment count that does not match the "COMNT" block (the block is taken
// where it stands, or not at all), a record cut short at the end of the file (at least "SAUCE00"
// and the title present), zero bytes stripped to blanks. A tail is only split off when it is
// unambiguous: "SAUCE00" standing where a record of its length ends the file, and the split never
// takes bytes that belong to the text (only the 0x1A right before the block and the block itself).
// What decides the doubtful cases:
// - a record cut short is only taken after a 0x1A or a comment block, since text that names the
//   record near its end looks the same; the nearest to the end wins;
// - a comment block never holds a 0x1A (a "COMNT" before the end-of-file byte is the text's); the
//   claimed count wins where "COMNT" stands for it, else the most lines below the claim, else the
//   fewest above it (a count of zero with a block);
// - a record without a single zero byte was stripped: the blank bytes of its numbers read as zero;
//   in any record a number field of blanks alone reads as zero.
// Reads the last 128 bytes and at most the 16 KB a comment block can take before them.
TSauceSplit SplitSauce(std::string_view bytes);

} // namespace zandor
