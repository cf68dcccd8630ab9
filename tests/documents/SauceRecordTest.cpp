// The record at the end of art files: tails as writers leave them, whole and damaged, the bytes
// that only look like one, random texts with random records against what was written, and the
// corpus.
#include "documents/SauceRecord.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

namespace zandor::test {
namespace {

// The record as a writer puts it down, field after field: zero-padded text, little-endian numbers.
std::string Record(const TSauceRecord& r, std::string_view id = "SAUCE00") {
    std::string b;
    const auto text = [&](std::string_view s, size_t size) {
        b += std::string(s).append(size - s.size(), 0);
    };
    const auto number = [&](uint32_t value, size_t size) {
        for (size_t i = 0; i < size; ++i)
            b += static_cast<char>(value >> (8 * i));
    };
    text(id, 7), text(r.Title, 35), text(r.Author, 20), text(r.Group, 20), text(r.Date, 8);
    number(r.FileSize, 4), number(r.DataType, 1), number(r.FileType, 1);
    number(r.TInfo1, 2), number(r.TInfo2, 2), number(r.TInfo3, 2), number(r.TInfo4, 2);
    number(r.Comments, 1), number(r.Flags, 1), text(r.TInfoS, 22);
    return b;
}

std::string Block(const std::vector<std::string>& lines) {
    std::string block = "COMNT";
    for (const std::string& line : lines)
        block += line + std::string(64 - line.size(), ' ');
    return block;
}

TSauceRecord Sample(uint8_t comments) {
    TSauceRecord r;
    r.Version = "00", r.Title = "Dark \xB0\xB1\xB2 tower", r.Author = "Someone", r.Group = "Crew";
    r.Date = "19960314", r.FileSize = 0x030201, r.DataType = 1, r.FileType = 1, r.TInfo1 = 80;
    r.TInfo2 = 25, r.Comments = comments, r.Flags = 0x13, r.TInfoS = "IBM VGA";
    return r;
}

auto Tied(const TSauceRecord& r) {
    return std::tie(r.Version, r.Title, r.Author, r.Group, r.Date, r.FileSize, r.DataType, r.FileType,
                    r.TInfo1, r.TInfo2, r.TInfo3, r.TInfo4, r.Comments, r.Flags, r.TInfoS, r.CommentLines,
                    r.MissingBytes);
}

struct Tail {
    const char* Name;
    std::string Bytes;
    size_t TextSize;
    int Lines; // -1: no record
    size_t Missing = 0;
};

const std::string kText = "art\r\n\xDB\xDB\r\n";
const std::string kLine = "a comment";

std::vector<Tail> Tails() {
    const size_t t = kText.size();
    const std::string fake = "COMNT" + std::string(63, 'x') + "\x1A";
    // A line that ends where a one-line block would start.
    const std::string lure = std::string(59, '-') + "COMNT";
    const std::string prose(400, 'x');
    return {
        {"NoComments", kText + "\x1A" + Record(Sample(0)), t, 0},
        {"TwoComments", kText + "\x1A" + Block({kLine, ""}) + Record(Sample(2)), t, 2},
        {"NoEofByte", kText + Block({kLine}) + Record(Sample(1)), t, 1},
        {"NoEofByteNoComments", kText + Record(Sample(0)), t, 0},
        {"OnlyTheLastEofByteGoes", kText + "\x1A\x1A" + Record(Sample(0)), t + 1, 0},
        {"CountAboveTheBlock", kText + "\x1A" + Block({lure, kLine}) + Record(Sample(3)), t, 2},
        {"CountLeftAtZero", kText + "\x1A" + Block({kLine, kLine}) + Record(Sample(0)), t, 2},
        {"CountWithoutBlock", kText + prose + "\x1A" + Record(Sample(4)), t + prose.size(), 0},
        {"CountBeyondTheFile", "\x1A" + Block({kLine}) + Record(Sample(9)), 0, 1},
        {"CommentIdBeforeTheEofIsText", kText + fake + Record(Sample(1)), t + fake.size() - 1, 0},
        {"CutAfterTheTitle", kText + "\x1A" + Record(Sample(0)).substr(0, 42), t, 0, 86},
        {"CutAfterABlockWithoutEof", kText + Block({kLine}) + Record(Sample(1)).substr(0, 106), t, 1, 22},
        {"Empty", "", 0, -1},
        {"ShorterThanTheId", "SAUCE", 5, -1},
        {"CutInsideTheTitle", "\x1A" + Record(Sample(0)).substr(0, 41), 42, -1},
        {"ShortFileWithoutEof", Record(Sample(0)).substr(0, 100), 100, -1},
        {"IdInsideTheText", std::string(50, 'a') + "SAUCE00" + std::string(200, 'b'), 257, -1},
        {"IdNearTheEndWithoutEof", std::string(50, 'a') + "SAUCE00" + std::string(60, 'b'), 117, -1},
        {"LineBreakAfterTheRecord", kText + "\x1A" + Record(Sample(0)) + "\r\n", t + 131, -1},
        {"OtherVersion", kText + "\x1A" + Record(Sample(0), "SAUCE01"), t + 129, -1},
    };
}

void PrintTo(const Tail& tail, std::ostream* os) {
    *os << tail.Name;
}

class SauceTails : public ::testing::TestWithParam<Tail> {};

TEST_P(SauceTails, SplitTakesOnlyTheEofByteTheBlockAndTheRecord) {
    const Tail& tail = GetParam();
    const TSauceSplit split = SplitSauce(tail.Bytes);
    EXPECT_EQ(tail.TextSize, split.TextSize);
    ASSERT_EQ(tail.Lines >= 0, split.Record.has_value());
    if (split.Record) {
        EXPECT_EQ(static_cast<size_t>(tail.Lines), split.Record->CommentLines.size());
        EXPECT_EQ(tail.Missing, split.Record->MissingBytes);
        EXPECT_EQ("Dark \xB0\xB1\xB2 tower", split.Record->Title);
    }
}

INSTANTIATE_TEST_SUITE_P(Sauce, SauceTails, ::testing::ValuesIn(Tails()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SauceRecord, DamagedFieldsReadAsZeroAndBlankNumbersAsZero) {
    // Cut inside FileSize: its two low bytes are there, everything after reads zero.
    TSauceRecord cut = SplitSauce(kText + "\x1A" + Record(Sample(0)).substr(0, 92)).Record.value();
    EXPECT_EQ(0x0201u, cut.FileSize);
    EXPECT_EQ(0, cut.DataType + cut.TInfo1 + cut.Flags);
    EXPECT_EQ("", cut.TInfoS);
    // Every zero byte of the file turned into a blank: the numbers' blank bytes were zeros.
    std::string file = kText + "\x1A" + Block({kLine}) + Record(Sample(1));
    std::replace(file.begin(), file.end(), '\0', ' ');
    const TSauceSplit stripped = SplitSauce(file);
    ASSERT_TRUE(stripped.Record);
    EXPECT_EQ(kText.size(), stripped.TextSize);
    TSauceRecord expected = Sample(1);
    expected.CommentLines = {kLine};
    EXPECT_EQ(Tied(expected), Tied(*stripped.Record));
    // With zeros left in the record only a number of blanks alone reads as zero.
    std::string blanks = Record(Sample(0));
    blanks.replace(96, 4, "P   ");
    const TSauceRecord mixed = SplitSauce("\x1A" + blanks).Record.value();
    EXPECT_EQ(0x2050, mixed.TInfo1);
    EXPECT_EQ(0, mixed.TInfo2);
}

TEST(SauceRecord, WidthAndHeightAreToldForCharacterGridsXBinAndBinaryText) {
    // Data type, file type, width, height: ANSi, RIP script (pixels), HTML, binary text, XBin.
    for (const auto& [data, file, width, height] :
         {std::tuple{1, 1, 80, 25}, {1, 3, 0, 0}, {1, 6, 0, 0}, {5, 80, 160, 0}, {6, 0, 80, 25}}) {
        TSauceRecord r = Sample(0);
        r.DataType = static_cast<uint8_t>(data);
        r.FileType = static_cast<uint8_t>(file);
        EXPECT_EQ(width, r.Width()) << data << "/" << file;
        EXPECT_EQ(height, r.Height()) << data << "/" << file;
    }
}

// Character data and binary text tell their letter spacing (8 or 9 pixels) and aspect (legacy or
// square) in their flags, which override the chosen cells; unset values keep the choice, and other
// data types use the byte for other things.
TEST(SauceRecord, TheFlagsOfCharacterDataChooseTheCells) {
    using platform::TScreenCells;
    for (const auto& [data, flags, nine, dos] : {std::tuple{1, 0x04 | 0x08, true, true},
                                                 {5, 0x02 | 0x10, false, false},
                                                 {1, 0x06 | 0x18, false, true},
                                                 {1, 0x00, false, true},
                                                 {6, 0x04 | 0x08, false, true},
                                                 {2, 0x02 | 0x10, false, true}}) {
        TSauceRecord r = Sample(0);
        r.DataType = static_cast<uint8_t>(data);
        r.Flags = static_cast<uint8_t>(flags);
        const TScreenCells cells = SauceCells(r, TScreenCells{.NineDots = false, .DosAspect = true});
        EXPECT_EQ(nine, cells.NineDots) << data << "/" << flags;
        EXPECT_EQ(dos, cells.DosAspect) << data << "/" << flags;
    }
}

// Random bytes laced with what a record is found by, then a random record written after them:
// the split gives back the text and the fields as written.
TEST(SauceRecord, RandomTextsWithRandomRecordsSplitBackAsWritten) {
    std::mt19937 random(20161126);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto chars = [&](int most) {
        std::string s(static_cast<size_t>(below(most + 1)), ' ');
        for (char& c : s)
            c = static_cast<char>(0x20 + below(0xE0));
        if (!s.empty() && s.back() == ' ')
            s.back() = '.';
        return s;
    };
    const std::string lures[] = {"SAUCE00", "COMNT", "\x1A", "\x1ASAUCE00"};
    for (int round = 0; round < 3000; ++round) {
        std::string text(static_cast<size_t>(below(700)), '\0');
        for (char& c : text)
            c = static_cast<char>(below(256));
        for (int i = below(4); i > 0; --i)
            text.insert(static_cast<size_t>(below(static_cast<int>(text.size()) + 1)), lures[below(4)]);
        TSauceRecord r;
        r.Version = "00";
        r.Title = chars(35), r.Author = chars(20), r.Group = chars(20), r.TInfoS = chars(22);
        r.Date = below(2) ? std::to_string(19800101 + below(400000)) : "";
        r.FileSize = static_cast<uint32_t>(text.size());
        r.DataType = static_cast<uint8_t>(below(9)), r.FileType = static_cast<uint8_t>(below(32));
        r.TInfo1 = static_cast<uint16_t>(below(1000)), r.TInfo2 = static_cast<uint16_t>(below(1000));
        r.TInfo3 = static_cast<uint16_t>(below(1000)), r.TInfo4 = static_cast<uint16_t>(below(1000));
        r.Flags = static_cast<uint8_t>(below(32));
        for (int i = below(4); i > 0; --i)
            r.CommentLines.push_back(chars(64));
        r.Comments = static_cast<uint8_t>(r.CommentLines.size());
        // Without comments or without the 0x1A the text's own last bytes could be the tail's.
        const bool eof = r.Comments == 0 || below(2);
        if (!eof && !text.empty() && text.back() == '\x1A')
            text.back() = 'x';
        const std::string tail = r.Comments > 0 ? Block(r.CommentLines) : "";
        const TSauceSplit split = SplitSauce(text + (eof ? "\x1A" : "") + tail + Record(r));
        ASSERT_EQ(text.size(), split.TextSize) << "round " << round;
        ASSERT_TRUE(split.Record);
        ASSERT_EQ(Tied(r), Tied(*split.Record)) << "round " << round;
    }
}

TEST(SauceCorpus, TheRecordOfTheSampleReadsAsItsBytesShow) {
    if (corpusDir().empty())
        GTEST_SKIP() << "no corpus";
    const std::string bytes = readFile(corpusDir() + "/retrotxt-sauce.txt").toStdString();
    const TSauceSplit split = SplitSauce(bytes);
    ASSERT_TRUE(split.Record);
    EXPECT_EQ(1250u, split.TextSize);
    EXPECT_EQ("Sauce title", split.Record->Title);
    EXPECT_EQ("Sauce author", split.Record->Author);
    EXPECT_EQ("Sauce group", split.Record->Group);
    EXPECT_EQ("2016-11-26", split.Record->DateText());
    EXPECT_EQ(977, split.Record->Width());
    EXPECT_EQ(9, split.Record->Height());
    EXPECT_EQ("IBM VGA", split.Record->TInfoS);
    EXPECT_EQ(std::vector<std::string>{"Any comments go here."}, split.Record->CommentLines);
}

TEST(SauceCorpus, EveryOtherFileKeepsItsArt) {
    if (corpusDir().empty())
        GTEST_SKIP() << "no corpus";
    const QStringList files = QDir(QString::fromStdString(corpusDir())).entryList(QDir::Files);
    ASSERT_FALSE(files.empty());
    for (const QString& name : files) {
        if (name == QStringLiteral("retrotxt-sauce.txt"))
            continue;
        const std::string bytes = readFile(corpusDir() + "/" + name.toStdString()).toStdString();
        const TSauceSplit split = SplitSauce(bytes);
        if (split.Record)
            EXPECT_EQ('\x1A', bytes.at(split.TextSize)) << name.toStdString();
        else
            EXPECT_EQ(bytes.size(), split.TextSize) << name.toStdString();
    }
}

} // namespace
} // namespace zandor::test
