// What the editor shows and saves for a file's bytes: golden files of decoding and line-break repair
// (each input opened with "Convert" on and off, then saved as the editor saves), the repair's own
// order, and the shortcut that skips copying a text the repair would not change, checked against
// the repair itself on random texts.
#include "documents/TextDecoding.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zandor::test {
namespace {

using namespace std::string_literals;

struct Opened {
    std::string Saved;
    int64_t Positions;
};

// The text as the editor takes it in and writes it back: paragraphs split at every kind of break,
// zero bytes replaced, CR LF between paragraphs.
Opened OpenThenSave(std::string_view text) {
    TParagraphsList list;
    TMemoryReadStream in(text.data(), text.size());
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(list, in, 300, {}, kind, false, kZeroByteReplacement);
    TMemoryStream out;
    SaveParagraphs(list, out, 300, {}, pbCRLF, false);
    return {out.Text(), list.TextLength};
}

std::string FixturesFolder() {
    return std::string(ZANDOR_SOURCE_DIR_BUILT) + "/tests/fixtures/decoding/";
}

std::vector<std::string> GoldenCases() {
    std::vector<std::string> names;
    const QDir folder(QString::fromStdString(FixturesFolder()));
    for (const QString& file : folder.entryList({QStringLiteral("*.in")}, QDir::Files, QDir::Name))
        names.push_back(file.chopped(3).toStdString());
    return names;
}

class GoldenDecoding : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenDecoding, OpenedAndSavedGivesTheGoldenBytesWithAndWithoutConvert) {
    const std::string base = FixturesFolder() + GetParam();
    const std::string bytes = readFile(base + ".in").toStdString();
    for (const bool convert : {true, false}) {
        const std::string expected = readFile(base + (convert ? ".out" : ".raw.out")).toStdString();
        const TDecodedText decoded = DecodeText(bytes, convert);
        ASSERT_EQ("", decoded.Problem);
        EXPECT_EQ(expected, OpenThenSave(decoded.TextOf(bytes)).Saved)
            << (convert ? "Convert on" : "Convert off");
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenDecoding, ::testing::ValuesIn(GoldenCases()), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

TEST(GoldenDecodingFolder, HoldsTheCases) {
    EXPECT_GE(GoldenCases().size(), 10u);
}

struct RepairRow {
    std::string In;
    std::string Out;
};

class Repair : public ::testing::TestWithParam<RepairRow> {};

// The text handed to the editor, where the order of the three replacements shows.
TEST_P(Repair, ReplacesInItsOrder) {
    std::string text = GetParam().In;
    RepairLineBreaks(text);
    EXPECT_EQ(GetParam().Out, text);
}

INSTANTIATE_TEST_SUITE_P(Rows, Repair,
                         ::testing::Values(RepairRow{"a\nb\n", "a\r\nb\r\n"},
                                           RepairRow{"a\r\nb\nc", "a\r\nb\nc"}, RepairRow{"\r\r\r\n", "\r\n"},
                                           RepairRow{"\r\r\r\r\n", "\r\n"},
                                           RepairRow{"\r\r\r\r\r\n", "\r\r\n"},
                                           // The doubled CR is repaired first, so the LFs after it stay lone.
                                           RepairRow{"x\r\r\ny\nz", "x\r\ny\nz"},
                                           RepairRow{"\n\r", "\r\n\r"}));

TEST(DecodeText, AUtf16SignatureBeforeHalfACharacterIsEightBitText) {
    const std::string odd = "\xFF\xFE"s + "a\0b\0c"s;
    const TDecodedText decoded = DecodeText(odd, true);
    EXPECT_EQ("", decoded.Problem);
    EXPECT_FALSE(decoded.Encoding.Unicode());
    // Every byte stays; the zero bytes are told about as in any 8-bit file.
    EXPECT_FALSE(decoded.Changed);
    EXPECT_EQ(2u, decoded.ZeroBytes);
    // Two bytes FF FE alone are an empty UTF-16 text.
    EXPECT_EQ("", DecodeText("\xFF\xFE", true).Problem);
    EXPECT_EQ("", *DecodeText("\xFF\xFE", true).Changed);
}

TEST(DecodeText, CountsWhatTheEditorCannotShowAsItWas) {
    const std::string utf16 = "\xFF\xFE"s + "A\0\0\0\x00\x01\x3D\xD8\x00\xDE"s; // A, NUL, U+0100, U+1F600
    const TDecodedText decoded = DecodeText(utf16, true);
    EXPECT_TRUE(decoded.Encoding.Unicode());
    EXPECT_EQ(2u, decoded.Unmapped);
    EXPECT_EQ(1u, decoded.ZeroBytes);
    EXPECT_EQ(3u, DecodeText("\0a\0\0"s, false).ZeroBytes);
}

// The shortcut leaves texts without any CR (and CR LF texts without doubled CRs) uncopied; the
// editor must end up with exactly what the repair itself would have given it, and the positions
// counted before loading must be the editor's.
TEST(DecodeText, TheShortcutGivesTheEditorWhatTheRepairGives) {
    std::mt19937 rng(18);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0'};
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(rng() % 24);
        // Some texts draw only from letters and LF, the shape the shortcut serves.
        const int kinds = round % 3 == 0 ? 2 : 5;
        for (int i = 0; i < length; ++i) {
            const char c = alphabet[rng() % kinds];
            bytes += kinds == 2 && c == 'b' ? '\n' : c;
        }
        std::string repaired = bytes;
        RepairLineBreaks(repaired);
        const TDecodedText decoded = DecodeText(bytes, true);
        const Opened opened = OpenThenSave(decoded.TextOf(bytes));
        ASSERT_EQ(OpenThenSave(repaired).Saved, opened.Saved) << testing::PrintToString(bytes);
        ASSERT_EQ(opened.Positions, TextPositions(decoded.TextOf(bytes))) << testing::PrintToString(bytes);
        if (bytes.find('\r') == std::string::npos) {
            ASSERT_FALSE(decoded.Changed) << testing::PrintToString(bytes);
        }
        // Doubled breaks are shortened where the bytes are, byte for byte as the repair does.
        if (decoded.Changed) {
            ASSERT_EQ(repaired, *decoded.Changed) << testing::PrintToString(bytes);
        }
    }
}

TEST(DecodeText, TheUtf16FileOfTheCorpusReadsAsText) {
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus";
    const std::string bytes = readFile(corpus + "/retrotxt-utf-16_le.txt").toStdString();
    if (bytes.empty())
        GTEST_SKIP() << "no UTF-16 file in the corpus";
    const TDecodedText decoded = DecodeText(bytes, true);
    ASSERT_EQ(TEncodingForm::Utf16Le, decoded.Encoding.Form);
    const std::string text = *decoded.Changed;
    EXPECT_EQ(0u, decoded.ZeroBytes);
    EXPECT_EQ(0u, text.rfind("Document encoding: UTF-16", 0));
    // Half as many bytes, give or take the breaks that grew to CR LF: no zero byte between letters.
    EXPECT_LT(text.size(), bytes.size() / 2 + bytes.size() / 8);
}

} // namespace
} // namespace zandor::test
