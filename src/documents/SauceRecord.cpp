#include "documents/SauceRecord.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zandor {

namespace {

constexpr size_t kRecordSize = 128;
constexpr size_t kCommentLine = 64;
constexpr size_t kMaxCommentLines = 255;
constexpr std::string_view kRecordId = "SAUCE00";
constexpr std::string_view kBlockId = "COMNT";
// A record cut short must still hold its id and the whole title.
constexpr size_t kShortestRecord = 7 + 35;
constexpr char kEof = 0x1A;

// Where the fields stand in the record.
enum : size_t {
    kTitle = 7,
    kAuthor = 42,
    kGroup = 62,
    kDate = 82,
    kFileSize = 90,
    kDataType = 94,
    kFileType = 95,
    kTInfo1 = 96,
    kTInfo2 = 98,
    kTInfo3 = 100,
    kTInfo4 = 102,
    kComments = 104,
    kFlags = 105,
    kTInfoS = 106,
};

std::string TrimmedText(std::string_view field) {
    size_t end = field.size();
    while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0'))
        --end;
    return std::string(field.substr(0, end));
}

// The record's 128 bytes, those a short record lacks read as zero.
class TRecordBytes {
public:
    explicit TRecordBytes(std::string_view present) {
        bytes_.fill(0);
        std::memcpy(bytes_.data(), present.data(), present.size());
        // A tool that turned every zero byte of the file into a blank leaves a record without a
        // single zero; its binary fields' blank bytes were zeros.
        stripped_ = present.find('\0') == std::string_view::npos;
    }

    std::string Text(size_t at, size_t size) const {
        return TrimmedText(std::string_view(reinterpret_cast<const char*>(bytes_.data()) + at, size));
    }

    // A little-endian number; a field of blanks alone is a zero field stripped to blanks.
    uint32_t Number(size_t at, size_t size) const {
        bool blanks = true;
        uint32_t value = 0;
        for (size_t i = size; i-- > 0;) {
            unsigned char byte = bytes_[at + i];
            blanks = blanks && byte == ' ';
            if (stripped_ && byte == ' ')
                byte = 0;
            value = (value << 8) | byte;
        }
        return blanks ? 0 : value;
    }

private:
    std::array<unsigned char, kRecordSize> bytes_;
    bool stripped_ = false;
};

TSauceRecord ReadRecord(std::string_view present) {
    const TRecordBytes bytes(present);
    TSauceRecord record;
    record.Version = "00";
    record.Title = bytes.Text(kTitle, 35);
    record.Author = bytes.Text(kAuthor, 20);
    record.Group = bytes.Text(kGroup, 20);
    record.Date = bytes.Text(kDate, 8);
    record.FileSize = bytes.Number(kFileSize, 4);
    record.DataType = static_cast<uint8_t>(bytes.Number(kDataType, 1));
    record.FileType = static_cast<uint8_t>(bytes.Number(kFileType, 1));
    record.TInfo1 = static_cast<uint16_t>(bytes.Number(kTInfo1, 2));
    record.TInfo2 = static_cast<uint16_t>(bytes.Number(kTInfo2, 2));
    record.TInfo3 = static_cast<uint16_t>(bytes.Number(kTInfo3, 2));
    record.TInfo4 = static_cast<uint16_t>(bytes.Number(kTInfo4, 2));
    record.Comments = static_cast<uint8_t>(bytes.Number(kComments, 1));
    record.Flags = static_cast<uint8_t>(bytes.Number(kFlags, 1));
    record.TInfoS = bytes.Text(kTInfoS, 22);
    record.MissingBytes = kRecordSize - present.size();
    return record;
}

// The number of 64-byte lines of the comment block before the record at recordAt, 0 when there is
// none. "COMNT" is looked for where it would stand for each count, but only as far back as no 0x1A
// lies between it and the record: the end-of-file byte ends the text, so a "COMNT" before it is the
// text's own. The count the record claims wins; else the most lines below it (a file that holds
// fewer than it claims), else the fewest above it (a count left at zero).
size_t CommentLinesBefore(std::string_view bytes, size_t recordAt, size_t claimed) {
    const size_t reach = std::min(recordAt, kBlockId.size() + kMaxCommentLines * kCommentLine);
    const size_t lastEof = bytes.substr(recordAt - reach, reach).rfind(kEof);
    const size_t linesFrom = lastEof == std::string_view::npos ? 0 : recordAt - reach + lastEof + 1;
    size_t below = 0;
    for (size_t lines = 1; lines <= kMaxCommentLines; ++lines) {
        const size_t size = kBlockId.size() + lines * kCommentLine;
        if (size > recordAt || recordAt - size + kBlockId.size() < linesFrom)
            break;
        if (bytes.substr(recordAt - size, kBlockId.size()) != kBlockId)
            continue;
        if (lines == claimed)
            return lines;
        if (lines > claimed)
            return below != 0 ? below : lines;
        below = lines;
    }
    return below;
}

// The split for a record at recordAt, or nothing when a record cut short there has neither the
// 0x1A nor a comment block before it to tell it from text that happens to name the record.
std::optional<TSauceSplit> SplitAt(std::string_view bytes, size_t recordAt) {
    TSauceRecord record = ReadRecord(bytes.substr(recordAt, kRecordSize));
    const size_t lines = CommentLinesBefore(bytes, recordAt, record.Comments);
    const size_t blockAt = recordAt - (lines == 0 ? 0 : kBlockId.size() + lines * kCommentLine);
    const bool eof = blockAt > 0 && bytes[blockAt - 1] == kEof;
    if (record.MissingBytes > 0 && lines == 0 && !eof)
        return std::nullopt;
    for (size_t i = 0; i < lines; ++i)
        record.CommentLines.push_back(
            TrimmedText(bytes.substr(blockAt + kBlockId.size() + i * kCommentLine, kCommentLine)));
    TSauceSplit split;
    split.TextSize = eof ? blockAt - 1 : blockAt;
    split.Record = std::move(record);
    return split;
}

bool DigitsOnly(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Character data of these file types is a grid of characters whose size TInfo1 and TInfo2 tell; a
// RIP script tells pixels, HTML and source tell nothing.
bool CharacterGrid(uint8_t dataType, uint8_t fileType) {
    return dataType == 1 && (fileType <= 2 || fileType == 4 || fileType == 5 || fileType == 8);
}

} // namespace

int TSauceRecord::Width() const {
    if (CharacterGrid(DataType, FileType))
        return TInfo1;
    switch (DataType) {
    case 5:
        return FileType * 2;
    case 6:
        return TInfo1;
    default:
        return 0;
    }
}

platform::TScreenCells SauceCells(const TSauceRecord& record, platform::TScreenCells chosen) {
    // Only these two kinds of data carry the flags; other records use the byte for other things.
    if (record.DataType != 1 && record.DataType != 5)
        return chosen;
    if (record.LetterSpacing() == 1 || record.LetterSpacing() == 2)
        chosen.NineDots = record.LetterSpacing() == 2;
    if (record.AspectRatio() == 1 || record.AspectRatio() == 2)
        chosen.DosAspect = record.AspectRatio() == 1;
    return chosen;
}

int TSauceRecord::Height() const {
    return CharacterGrid(DataType, FileType) || DataType == 6 ? TInfo2 : 0;
}

std::string TSauceRecord::DataTypeName() const {
    static const char* const names[] = {"None",       "Character", "Bitmap",  "Vector",    "Audio",
                                        "BinaryText", "XBin",      "Archive", "Executable"};
    return DataType < std::size(names) ? names[DataType] : std::to_string(DataType);
}

std::string TSauceRecord::FileTypeName() const {
    static const std::vector<std::vector<const char*>> names = {
        {"None"},
        {"ASCII", "ANSi", "ANSiMation", "RIP script", "PCBoard", "Avatar", "HTML", "Source", "TundraDraw"},
        {"GIF", "PCX", "LBM/IFF", "TGA", "FLI", "FLC", "BMP", "GL", "DL", "WPG", "PNG", "JPG", "MPG", "AVI"},
        {"DXF", "DWG", "WPG", "3DS"},
        {"MOD",   "669",    "STM",    "S3M",     "MTM",  "FAR", "ULT", "AMF",  "DMF",
         "OKT",   "ROL",    "CMF",    "MID",     "SADT", "VOC", "WAV", "SMP8", "SMP8S",
         "SMP16", "SMP16S", "PATCH8", "PATCH16", "XM",   "HSC", "IT"},
        {},
        {"XBin"},
        {"ZIP", "ARJ", "LZH", "ARC", "TAR", "ZOO", "RAR", "UC2", "PAK", "SQZ"},
        {"Executable"},
    };
    // Binary text keeps half its width in the file type; any value names the same kind of file.
    if (DataType == 5)
        return "BIN";
    if (DataType < names.size() && FileType < names[DataType].size())
        return names[DataType][FileType];
    return std::to_string(FileType);
}

std::string TSauceRecord::DateText() const {
    if (Date.size() != 8 || !DigitsOnly(Date))
        return Date;
    return Date.substr(0, 4) + "-" + Date.substr(4, 2) + "-" + Date.substr(6, 2);
}

TSauceSplit SplitSauce(std::string_view bytes) {
    const size_t size = bytes.size();
    if (size >= kRecordSize && bytes.substr(size - kRecordSize, kRecordId.size()) == kRecordId)
        if (std::optional<TSauceSplit> split = SplitAt(bytes, size - kRecordSize))
            return *split;
    // A record cut short ends the file too; the nearest to the end is taken.
    for (size_t length = kShortestRecord; length < kRecordSize && length <= size; ++length)
        if (bytes.substr(size - length, kRecordId.size()) == kRecordId)
            if (std::optional<TSauceSplit> split = SplitAt(bytes, size - length))
                return *split;
    TSauceSplit none;
    none.TextSize = size;
    return none;
}

} // namespace zandor
