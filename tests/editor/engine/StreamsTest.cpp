// Loading and saving the whole text: line-break kinds and pairs, NULs, trailing blanks, format-code
// pairs, load blocks, progress, failing streams, the 32-bit limit, and a random round trip against
// the byte-level rules.
#include "StoreInvariants.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

using namespace std::string_literals;

std::vector<std::string> Paragraphs(const TParagraphsList& list) {
    std::vector<std::string> pars;
    for (int p = 0; p < list.Count(); ++p)
        pars.push_back(ParText(list.Par(p)));
    return pars;
}

struct Loaded {
    std::vector<std::string> Pars;
    TArtLineBreak Kind;
    int64_t StreamPosition;
};

Loaded Load(TParagraphsList& list, const std::string& bytes, char nullReplacement = '\0',
            bool discardTrailing = false, TArtLineBreak kind = pbCR) {
    TMemoryStream stream(bytes);
    LoadParagraphs(list, stream, 300, {}, kind, discardTrailing, nullReplacement);
    return {Paragraphs(list), kind, stream.Position()};
}

// The same load from a buffer the list takes over (there is no stream to leave anywhere).
Loaded LoadInPlace(TParagraphsList& list, const std::string& bytes, char nullReplacement,
                   bool discardTrailing) {
    auto buffer = std::make_unique<char[]>(bytes.size() + 1);
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    buffer[bytes.size()] = 'x'; // the room after the text, whatever it holds
    TArtLineBreak kind = pbCR;
    LoadParagraphsInPlace(list, std::move(buffer), bytes.size(), 300, {}, kind, discardTrailing,
                          nullReplacement);
    return {Paragraphs(list), kind, -1};
}

std::string Save(TParagraphsList& list, TArtLineBreak kind, bool discardTrailing = false) {
    TMemoryStream out;
    SaveParagraphs(list, out, 300, {}, kind, discardTrailing);
    return out.Text();
}

// ---- loading

struct LoadRow {
    const char* Name;
    std::string Bytes;
    char NullReplacement;
    bool DiscardTrailing;
    std::vector<std::string> Pars;
    TArtLineBreak Kind; // starts as pbCR, so pbCR here may mean "unchanged"
};

class LoadBytes : public ::testing::TestWithParam<LoadRow> {};

TEST_P(LoadBytes, GivesTheParagraphsAndTheLastBreakKind) {
    const LoadRow& row = GetParam();
    TParagraphsList list;
    const Loaded loaded = Load(list, row.Bytes, row.NullReplacement, row.DiscardTrailing);
    EXPECT_EQ(loaded.Pars, row.Pars);
    EXPECT_EQ(loaded.Kind, row.Kind);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LoadBytes,
    ::testing::Values(
        LoadRow{"EmptyStreamIsOneEmptyParagraph", "", 0, false, {""}, pbCR},
        LoadRow{"CrLfAtTheEndLeavesAnEmptyParagraph", "a\r\n", 0, false, {"a", ""}, pbCRLF},
        LoadRow{"CrCrLfIsTwoBreaks", "a\r\r\nb", 0, false, {"a", "", "b"}, pbCRLF},
        LoadRow{"LfCrIsOneBreak", "a\n\rb", 0, false, {"a", "b"}, pbLFCR},
        LoadRow{"TheLastBreakWins", "a\r\nb\nc", 0, false, {"a", "b", "c"}, pbLF},
        LoadRow{"LoneCr", "a\rb", 0, false, {"a", "b"}, pbCR},
        LoadRow{"LfLfIsTwoBreaks", "\n\n", 0, false, {"", "", ""}, pbLF},
        LoadRow{"ACodeBetweenCrAndLfSeparatesThem", "a\r\x02\nb", 0, false, {"a", "\x02", "b"}, pbLF},
        LoadRow{"NulWithAReplacementIsACharacter", "a\0b"s, '.', false, {"a.b"}, pbCR},
        LoadRow{"NulEndsTheText", "a\0b\r\nc"s, 0, false, {"a"}, pbCR},
        LoadRow{"NulReplacedByABreakActsAsOne", "a\0b"s, '\n', false, {"a", "b"}, pbLF},
        LoadRow{"TrailingBlanksDropped", "a \t\r\n \r\nb ", 0, true, {"a", "", "b"}, pbCRLF},
        LoadRow{"TrailingBlanksKept", "a \r\nb", 0, false, {"a ", "b"}, pbCRLF}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Streams, ANulLeavesTheStreamOnIt) {
    TParagraphsList list;
    TMemoryStream stream("skip" + "ab\r\ncd\0ef"s);
    stream.Seek(4);
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(list, stream, 300, {}, kind, false, '\0');
    EXPECT_EQ(Paragraphs(list), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_EQ(stream.Position(), 4 + 6);
    EXPECT_EQ(list.TextLength, 6);
}

TEST(Streams, LoadingSetsTheCountersAndTheStaticStyleOfEachParagraph) {
    TParagraphsList list;
    list.StaticFormat = true;
    list.Modified = true;
    list.ParsedTo = 7;
    Load(list, "a\x02"
               "b\r\nc\x01\r\n\x02");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.TextLength, 3 + 2 + 2 + 2 + 1);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(list.DirtyFrom, 0);
    EXPECT_EQ(list.DirtyTo, 2);
    EXPECT_EQ(list.DirtyFirstLine, 0);
    EXPECT_EQ(list.ParsedTo, -1);
    EXPECT_EQ(list.BgNext, 0);
    EXPECT_EQ(list.BgLast, 3);
    EXPECT_EQ(list.LineCount, 3);
    EXPECT_EQ(list.VisibleLineCount, 3);
    EXPECT_EQ(+LoadFirstLine(list.Par(0)).StartStyle, 0);
    EXPECT_EQ(+LoadFirstLine(list.Par(1)).StartStyle, sfBold);
    EXPECT_EQ(+LoadFirstLine(list.Par(2)).StartStyle, sfBold | sfItalic);
    EXPECT_FALSE(list.Par(0).Flags & pfOwnText) << "loaded text stays in the load blocks";
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(Streams, AParagraphLongerThanABlockReplacesItsBlock) {
    TParagraphsList list;
    const std::string head(100, 'x');
    const std::string huge(300000, 'y');
    Load(list, head + "\r\n" + huge + "\r\nz");
    EXPECT_EQ(Paragraphs(list), (std::vector<std::string>{head, huge, "z"}));
    // The first block (with the short paragraph) and one block that grew with the long one.
    EXPECT_EQ(list.LoadBlocks.size(), 2u);
    EXPECT_TRUE(IsExtended(list.Par(1)));
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(Streams, ProgressComesEverySixteenParagraphsAtMost) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    TParagraphsList list;
    std::vector<int32_t> seen;
    TMemoryStream stream(text);
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(
        list, stream, 0, [&] { seen.push_back(list.Count()); }, kind, false, '\0');
    EXPECT_EQ(seen, (std::vector<int32_t>{16, 32}));
    EXPECT_EQ(list.LoadProgress, static_cast<int32_t>(text.size()));
    seen.clear();
    TMemoryStream again(text);
    LoadParagraphs(
        list, again, 1000000, [&] { seen.push_back(list.Count()); }, kind, false, '\0');
    EXPECT_TRUE(seen.empty());
    // Saving reports once at the end at least, with the paragraph count.
    TMemoryStream out;
    SaveParagraphs(
        list, out, 1000000, [&] { seen.push_back(list.SaveProgress); }, pbCRLF, false);
    EXPECT_EQ(seen, (std::vector<int32_t>{41}));
}

// Serves its bytes, at most `chunk` of them a read, then fails on a later read.
class FailingStream final : public TByteStream {
public:
    FailingStream(std::string bytes, int goodReads, size_t chunk = SIZE_MAX)
        : FBytes(std::move(bytes)), FGoodReads(goodReads), FChunk(chunk) {}
    size_t Read(void* buffer, size_t n) override {
        if (FGoodReads-- <= 0)
            throw EStreamError("Stream read error");
        n = std::min({n, FChunk, FBytes.size() - FPos});
        std::memcpy(buffer, FBytes.data() + FPos, n);
        FPos += n;
        return n;
    }
    void Write(const void*, size_t) override {}
    int64_t Position() const override { return static_cast<int64_t>(FPos); }
    void Seek(int64_t position) override {
        if (SeekFails)
            throw EStreamError("Stream seek error");
        FPos = static_cast<size_t>(position);
    }
    int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }
    bool SeekFails = false;

private:
    std::string FBytes;
    size_t FPos = 0;
    int FGoodReads;
    size_t FChunk;
};

// Failures after the bytes were read: placing the stream on the NUL that ended the text, and a
// progress handler that fails and keeps failing. What was read is split once and completely.
TEST(Streams, AFailureAfterTheBytesWereReadKeepsEachParagraphOnce) {
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "line\r\n";
    TParagraphsList list;
    TArtLineBreak kind = pbCR;
    FailingStream ending("ab\r\ncd\0ef"s, 1);
    ending.SeekFails = true;
    EXPECT_THROW(LoadParagraphs(list, ending, 300, {}, kind, false, '\0'), EStreamError);
    EXPECT_EQ(Paragraphs(list), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_TRUE(StoreInvariantsHold(list));

    FailingStream stream(lines, 1);
    const TProgressHandler failing = [] { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(LoadParagraphs(list, stream, 0, failing, kind, false, '\0'), std::runtime_error);
    EXPECT_EQ(list.Count(), 41);
    EXPECT_EQ(list.TextLength, static_cast<int32_t>(lines.size()));
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(Streams, AFailingStreamLeavesWhatWasReadWithItsCountersSet) {
    std::string text;
    while (text.size() < 100000)
        text += "0123456789abc\r\n";
    FailingStream stream(text, 1);
    TParagraphsList list;
    TArtLineBreak kind = pbCR;
    EXPECT_THROW(LoadParagraphs(list, stream, 300, {}, kind, false, '\0'), EStreamError);
    // The first 65500 bytes arrived: the complete paragraphs and the start of the next one.
    const size_t whole = 65500 / 15;
    ASSERT_EQ(list.Count(), static_cast<int>(whole) + 1);
    EXPECT_EQ(ParText(list.Par(static_cast<int>(whole))), text.substr(whole * 15, 65500 - whole * 15));
    EXPECT_EQ(list.TextLength, 65500);
    EXPECT_EQ(list.DirtyTo, list.Count() - 1);
    EXPECT_EQ(list.LineCount, list.Count());
    EXPECT_EQ(kind, pbCRLF);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(Streams, BytesOfShortReadsBeforeAFailureAreKeptAsParagraphs) {
    // Both good reads happen while filling the first block, so nothing of them was scanned yet.
    FailingStream stream("ab\r\ncd\r\nef\r\n", 2, 4);
    TParagraphsList list;
    TArtLineBreak kind = pbCR;
    EXPECT_THROW(LoadParagraphs(list, stream, 300, {}, kind, false, '\0'), EStreamError);
    EXPECT_EQ(Paragraphs(list), (std::vector<std::string>{"ab", "cd", ""}));
    EXPECT_EQ(list.TextLength, 8);
    EXPECT_EQ(kind, pbCRLF);
    EXPECT_TRUE(StoreInvariantsHold(list));
}

TEST(Streams, ATextBeyondTheLengthLimitLoadsAsAnEmptyText) {
    TParagraphsList list;
    TArtLineBreak kind = pbCRLF;
    for (const std::string& text : {"abc\r\ndef"s, std::string(100000, 'x')}) {
        TMemoryStream stream(text);
        EXPECT_THROW(LoadParagraphs(list, stream, 300, {}, kind, false, '\0', 7), ETextTooLong);
        EXPECT_EQ(Paragraphs(list), std::vector<std::string>{""});
        EXPECT_EQ(list.TextLength, 0);
        EXPECT_TRUE(list.LoadBlocks.empty());
        EXPECT_EQ(list.BgLast, 1);
        EXPECT_TRUE(StoreInvariantsHold(list));
    }
    TMemoryStream fits("abc\r\ndef");
    LoadParagraphs(list, fits, 300, {}, kind, false, '\0', 8);
    EXPECT_EQ(list.TextLength, 8);
}

TEST(Streams, BlanksThatAreDiscardedDoNotCountAgainstTheLengthLimit) {
    // The blanks fill more than a load block before the paragraph ends.
    for (const std::string& text :
         {"abc" + std::string(100000, ' '), "abc" + std::string(100000, '\t') + "\r\nd"}) {
        TParagraphsList list;
        TArtLineBreak kind = pbCRLF;
        TMemoryStream stream(text);
        ASSERT_NO_THROW(LoadParagraphs(list, stream, 300, {}, kind, true, '\0', 8));
        EXPECT_EQ(ParText(list.Par(0)), "abc");
        EXPECT_EQ(list.TextLength, text.back() == 'd' ? 6 : 3);
        EXPECT_TRUE(StoreInvariantsHold(list));
        TMemoryStream kept(text); // kept, the same blanks make the text too long
        EXPECT_THROW(LoadParagraphs(list, kept, 300, {}, kind, false, '\0', 8), ETextTooLong);
    }
}

// ---- saving

struct SaveRow {
    const char* Name;
    std::vector<std::string> Pars;
    bool StaticFormat;
    bool DiscardTrailing;
    TArtLineBreak Kind;
    std::string Bytes;
};

class SaveBytes : public ::testing::TestWithParam<SaveRow> {};

TEST_P(SaveBytes, WritesTheParagraphsWithTheChosenBreak) {
    const SaveRow& row = GetParam();
    TParagraphsList list;
    FillParagraphs(list, row.Pars);
    list.StaticFormat = row.StaticFormat;
    EXPECT_EQ(Save(list, row.Kind, row.DiscardTrailing), row.Bytes);
    EXPECT_EQ(Paragraphs(list), row.Pars) << "the store is not changed";
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SaveBytes,
    ::testing::Values(
        SaveRow{"CrLf", {"a", ""}, false, false, pbCRLF, "a\r\n"},
        SaveRow{"LfCr", {"a", "b", "c"}, false, false, pbLFCR, "a\n\rb\n\rc"},
        SaveRow{"Cr", {"a", "b"}, false, false, pbCR, "a\rb"},
        SaveRow{"Lf", {"", ""}, false, false, pbLF, "\n"},
        SaveRow{"TrailingBlanks", {"a \t", " b "}, false, true, pbCRLF, "a\r\n b"},
        SaveRow{"AdjacentPairCancels", {"\x02\x02x"}, true, false, pbCRLF, "x"},
        SaveRow{"SeparatedPairStays", {"\x02x\x02"}, true, false, pbCRLF, "\x02x\x02"},
        SaveRow{"PairAcrossOtherCodesCancels", {"\x02\x01\x02x"}, true, false, pbCRLF, "\x01x"},
        SaveRow{"NestedPairsCancel", {"\x02\x01\x01\x02y"}, true, false, pbCRLF, "y"},
        SaveRow{"CodesAreTextWithoutStaticFormat", {"\x02\x02x"}, false, false, pbCRLF, "\x02\x02x"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Streams, AFileRoundTripsAndANulInItEndsTheText) {
    ScratchDir dir;
    const std::string path = dir.file("text.txt");
    TParagraphsList list;
    Load(list, "one\ntwo\r\nthree");
    {
        TFileStream out(path, TFileStream::fmCreate);
        SaveParagraphs(list, out, 300, {}, pbCRLF, false);
        out.Flush();
    }
    EXPECT_EQ(readFile(path).toStdString(), "one\r\ntwo\r\nthree");
    dir.write("nul.txt", QByteArray("ab\r\nc\0d", 7));
    TFileStream in(dir.file("nul.txt"), TFileStream::fmOpenRead);
    TArtLineBreak kind = pbLF;
    LoadParagraphs(list, in, 300, {}, kind, false, '\0');
    EXPECT_EQ(Paragraphs(list), (std::vector<std::string>{"ab", "c"}));
    EXPECT_EQ(in.Position(), 5);
    EXPECT_THROW(TFileStream(dir.file("missing/none.txt"), TFileStream::fmOpenRead), EStreamError);
}

// ---- round trip against the byte-level rules

struct ModelLoad {
    std::vector<std::string> Pars;
    TArtLineBreak Kind = pbCR;
};

ModelLoad LoadModel(const std::string& bytes, char nullReplacement, bool discardTrailing) {
    ModelLoad m;
    m.Pars.emplace_back();
    char previous = 0;
    for (char c : bytes) {
        if (c == '\0') {
            if (nullReplacement == '\0')
                break;
            c = nullReplacement;
        }
        if (c == '\r' || c == '\n') {
            if (previous != 0 && previous != c) {
                m.Kind = c == '\n' ? pbCRLF : pbLFCR;
                previous = 0;
                continue;
            }
            m.Kind = c == '\n' ? pbLF : pbCR;
            m.Pars.emplace_back();
            previous = c;
            continue;
        }
        m.Pars.back() += c;
        previous = 0;
    }
    if (discardTrailing)
        for (std::string& par : m.Pars)
            while (!par.empty() && (par.back() == ' ' || par.back() == '\t'))
                par.pop_back();
    return m;
}

// Cancelling pairs exactly as stated: at a code, look ahead over codes for the same code; remove
// both and look again at the same place, else move on.
std::string CancelPairsModel(std::string s) {
    size_t k = 0;
    while (k < s.size()) {
        if (!IsFormatCode(s[k])) {
            ++k;
            continue;
        }
        size_t j = k + 1;
        while (j < s.size() && IsFormatCode(s[j]) && s[j] != s[k])
            ++j;
        if (j < s.size() && s[j] == s[k]) {
            s.erase(j, 1);
            s.erase(k, 1);
        } else {
            ++k;
        }
    }
    return s;
}

std::string SaveModel(const std::vector<std::string>& pars, TArtLineBreak kind, bool staticFormat,
                      bool discardTrailing) {
    static const char* breaks[] = {"\r\n", "\n\r", "\r", "\n"};
    std::string out;
    for (size_t p = 0; p < pars.size(); ++p) {
        std::string text = staticFormat ? CancelPairsModel(pars[p]) : pars[p];
        if (discardTrailing)
            while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
                text.pop_back();
        out += text;
        if (p + 1 < pars.size())
            out += breaks[kind];
    }
    return out;
}

TEST(Streams, RandomTextsRoundTripByTheByteRules) {
    std::mt19937 rng(4242);
    auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string alphabet = "abcXYZ \t\r\n\x01\x02\x03\x04\x15\xE9\xFF.";
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Mostly short texts; now and then one that crosses load blocks, with short paragraphs or
        // with paragraphs longer than a block.
        const int size = round % 25 == 0 ? rand(60000, 300000) : rand(0, 300);
        const int breakEvery = round % 50 == 0 ? 100000 : rand(2, 80);
        std::string bytes;
        for (int i = 0; i < size; ++i) {
            if (rand(0, breakEvery) == 0)
                bytes += "\r\n\n\r"[rand(0, 3)];
            else if (rand(0, 400) == 0)
                bytes += '\0';
            else
                bytes += alphabet[size_t(rand(0, int(alphabet.size()) - 1))];
        }
        const char nullReplacement = rand(0, 1) ? '\0' : '#';
        const bool staticFormat = rand(0, 1) != 0;
        const bool discardLoad = rand(0, 3) == 0;
        const bool discardSave = rand(0, 3) == 0;
        const auto saveKind = static_cast<TArtLineBreak>(rand(0, 3));

        // From a stream into blocks, and from a buffer the store takes over.
        for (const bool inPlace : {false, true}) {
            SCOPED_TRACE(inPlace ? "in place" : "from a stream");
            TParagraphsList list;
            list.StaticFormat = staticFormat;
            const ModelLoad expected = LoadModel(bytes, nullReplacement, discardLoad);
            const Loaded loaded = inPlace ? LoadInPlace(list, bytes, nullReplacement, discardLoad)
                                          : Load(list, bytes, nullReplacement, discardLoad);
            ASSERT_EQ(loaded.Pars, expected.Pars);
            ASSERT_EQ(loaded.Kind, expected.Kind);
            ASSERT_TRUE(StoreInvariantsHold(list));
            const size_t nul = bytes.find('\0');
            if (!inPlace) {
                ASSERT_EQ(loaded.StreamPosition, nullReplacement == '\0' && nul != std::string::npos
                                                     ? int64_t(nul)
                                                     : int64_t(bytes.size()));
            }
            uint8_t style = 0;
            for (int p = 0; p < list.Count(); ++p) {
                ASSERT_EQ(+LoadFirstLine(list.Par(p)).StartStyle, staticFormat ? style : 0)
                    << "paragraph " << p;
                style = ApplyFormatCodes(style, expected.Pars[size_t(p)]);
            }
            ASSERT_EQ(Save(list, saveKind, discardSave),
                      SaveModel(expected.Pars, saveKind, staticFormat, discardSave));
        }
    }
}

// The loader searches many bytes at once for the next one it must stop at. Each such byte, put at
// every position of a run long enough for both the wide search and its byte-wise tail, among bytes
// one bit away from a special one (and high bytes, which a signed comparison would take for small
// ones), is found exactly there; a format code changes the style only with static format.
TEST(Streams, EverySpecialByteIsFoundWhereverItStandsInARun) {
    const std::string nearMisses = "\x05\x06\x08\x09\x0B\x0C\x0E\x14\x16\x17\x80\x81\x84\x8A\x8D\x95\xFF";
    const char specials[] = {'\r', '\n', '\0', fcItalic, fcBold, fcHighlight, fcAltFont, fcUnderline};
    constexpr size_t kRun = 53;
    for (const bool staticFormat : {false, true})
        for (const char special : specials)
            for (size_t at = 0; at < kRun; ++at) {
                SCOPED_TRACE("static " + std::to_string(staticFormat) + ", byte " +
                             std::to_string(int(special)) + " at " + std::to_string(at));
                std::string bytes;
                for (size_t i = 0; i < kRun; ++i)
                    bytes += nearMisses[(i * 7) % nearMisses.size()];
                bytes[at] = special;
                bytes += "\r\nz";
                TParagraphsList list;
                list.StaticFormat = staticFormat;
                const Loaded loaded = Load(list, bytes);
                const ModelLoad expected = LoadModel(bytes, '\0', false);
                ASSERT_EQ(loaded.Pars, expected.Pars);
                ASSERT_EQ(loaded.Kind, expected.Kind);
                ASSERT_EQ(loaded.StreamPosition, special == '\0' ? int64_t(at) : int64_t(bytes.size()));
                const uint8_t style = staticFormat ? FormatCodeBit(special) : 0;
                ASSERT_EQ(+LoadFirstLine(list.Par(list.Count() - 1)).StartStyle,
                          special == '\0' || list.Count() == 1 ? 0 : style);
                ASSERT_TRUE(StoreInvariantsHold(list));
            }
}

} // namespace
} // namespace zandor::test
