// Files in the window as their bytes mean: Unicode files read into the font's character set and
// written back in their own form, art found by its content, SAUCE records kept apart from the text,
// and the encoding the user chose for a name.
#include "WindowFixture.h"

#include "documents/Documents.h"
#include "documents/FileProperties.h"
#include "editor/control/ArtMemo.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"

#include <QLabel>

#include <random>

using namespace zandor;
using namespace std::string_literals;
using zandor::test::readFile;
using zandor::test::WindowFixture;

namespace {

// Encodes code points as the Unicode forms are defined, independently of the program's encoder.
std::string Encoded(const std::u32string& text, TEncodingForm form, bool signature) {
    std::string out;
    const auto unit16 = [&](char16_t u, bool big) {
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        out += big ? hi : lo;
        out += big ? lo : hi;
    };
    const auto put = [&](char32_t c) {
        switch (form) {
        case TEncodingForm::Utf8:
            if (c < 0x80) {
                out += char(c);
            } else if (c < 0x800) {
                out += char(0xC0 | (c >> 6));
                out += char(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += char(0xE0 | (c >> 12));
                out += char(0x80 | ((c >> 6) & 0x3F));
                out += char(0x80 | (c & 0x3F));
            } else {
                out += char(0xF0 | (c >> 18));
                out += char(0x80 | ((c >> 12) & 0x3F));
                out += char(0x80 | ((c >> 6) & 0x3F));
                out += char(0x80 | (c & 0x3F));
            }
            break;
        case TEncodingForm::Utf16Le:
        case TEncodingForm::Utf16Be: {
            const bool big = form == TEncodingForm::Utf16Be;
            if (c < 0x10000) {
                unit16(char16_t(c), big);
            } else {
                unit16(char16_t(0xD800 + ((c - 0x10000) >> 10)), big);
                unit16(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)), big);
            }
            break;
        }
        case TEncodingForm::Utf32Le:
        case TEncodingForm::Utf32Be:
            for (int i = 0; i < 4; ++i) {
                const int shift = form == TEncodingForm::Utf32Be ? 24 - 8 * i : 8 * i;
                out += char((c >> shift) & 0xFF);
            }
            break;
        case TEncodingForm::EightBit:
            break;
        }
    };
    if (signature)
        put(0xFEFF);
    for (const char32_t c : text)
        put(c);
    return out;
}

// A SAUCE record of a text of `size` bytes, with one comment line, and the 0x1A before it.
std::string SauceTail(const std::string& title, uint32_t size, uint16_t width) {
    std::string comment = "COMNT" + std::string("drawn for a test");
    comment.resize(5 + 64, ' ');
    std::string record = "SAUCE00" + title;
    record.resize(7 + 35, ' ');
    record += std::string(40, ' ') + "20240102";
    for (int i = 0; i < 4; ++i)
        record += char((size >> (8 * i)) & 0xFF);
    record += "\x01\x01"s; // character data, ANSi
    record += char(width & 0xFF);
    record += char(width >> 8);
    record += std::string(6, '\0');
    record += "\x01\x01"s; // one comment line, iCE colours
    record += "IBM VGA";
    record.resize(128, '\0');
    return "\x1A" + comment + record;
}

class FileEncodings : public WindowFixture {
protected:
    static std::string StatusText(TZandorF& w) { return w.StatusPanel->lbEncoding->text().toStdString(); }
};

} // namespace

// For random texts of the window's character set written in every encoding it reads (and some
// with a SAUCE record after them), opening and saving without an edit gives the file's bytes back.
TEST_F(FileEncodings, AFileSavedWithoutAnEditIsByteForByteWhatItWas) {
    std::mt19937 random(20261210);
    const auto below = [&](int n) { return int(random() % unsigned(n)); };
    struct TForm {
        TEncodingForm Form;
        bool Signature;
        bool Latin; // found without a signature only in text that is mostly ASCII letters
    };
    const TForm forms[] = {{TEncodingForm::EightBit, false, false}, {TEncodingForm::Utf8, false, false},
                           {TEncodingForm::Utf8, true, false},      {TEncodingForm::Utf16Le, true, false},
                           {TEncodingForm::Utf16Be, true, false},   {TEncodingForm::Utf16Le, false, true},
                           {TEncodingForm::Utf16Be, false, true},   {TEncodingForm::Utf32Le, true, false},
                           {TEncodingForm::Utf32Be, true, false}};
    auto w = Create();
    for (int round = 0; round < 45; ++round) {
        const TForm& form = forms[round % std::size(forms)];
        // Lines of the ANSI code page's characters (no zero byte, no break but CR LF, no vertical
        // tab or form feed, which the oldest UTF-16 rule reads as breaks) and no break at the end.
        std::string text;
        const int lines = 1 + below(5);
        for (int line = 0; line < lines; ++line) {
            if (line > 0)
                text += "\r\n";
            for (int n = below(30); n > 0; --n) {
                unsigned char c;
                if (form.Latin || below(3) > 0)
                    c = static_cast<unsigned char>("etaoin shrdlu"[below(13)]);
                else
                    do
                        c = static_cast<unsigned char>(1 + below(255));
                    while (c == '\r' || c == '\n' || c == 0x0B || c == 0x0C);
                text += char(c);
            }
        }
        // An 8-bit file that could be read as UTF-8 is no 8-bit file; a lone 0xE9 settles it.
        if (form.Form == TEncodingForm::EightBit)
            text += "caf\xE9";
        std::string bytes = text;
        if (form.Form != TEncodingForm::EightBit) {
            std::u32string chars;
            for (const char c : text)
                chars += char32_t(platform::Cp1252ToUnicode(static_cast<unsigned char>(c)));
            bytes = Encoded(chars, form.Form, form.Signature);
        }
        const bool sauce = round % 4 == 1;
        if (sauce)
            bytes += SauceTail("Round " + std::to_string(round), uint32_t(bytes.size()), 80);
        const std::string file = dir.write("round.txt", QByteArray::fromStdString(bytes));
        SCOPED_TRACE("round " + std::to_string(round) + ": " +
                     QByteArray::fromStdString(bytes).toHex().toStdString());
        ASSERT_TRUE(w->Documents->LoadFile(file));
        EXPECT_EQ(text, w->m->Text());
        EXPECT_EQ(sauce, w->Documents->Sauce().has_value());
        ASSERT_TRUE(w->Documents->Save());
        EXPECT_EQ(bytes, readFile(file).toStdString());
    }
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(errors.empty());
}

// The files users open most often wrongly read: each as the user expects it.
TEST_F(FileEncodings, TheCorpusFilesOpenAsTheirBytesMean) {
    const std::string corpus = zandor::test::corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus";
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts were not built";
    auto w = Create();
    const auto open = [&](const std::string& name) {
        const std::string file = dir.write(name, readFile(corpus + "/" + name));
        EXPECT_TRUE(w->Documents->LoadFile(file)) << name;
        return w->m->Text();
    };
    const auto inScreenFont = [&] { return platform::IsScreenFontFace(w->m->Font().Name); };

    std::string text = open("retrotxt-utf-8_bom.txt");
    EXPECT_EQ(0u, text.rfind("Document encoding: UTF-8", 0)) << text.substr(0, 40);
    EXPECT_EQ("CP1252 \u00B7 UTF-8 BOM", StatusText(*w));

    text = open("retrotxt-utf-16_be.txt");
    EXPECT_EQ(0u, text.rfind("Document encoding: UTF-16", 0)) << text.substr(0, 40);
    EXPECT_EQ(std::string::npos, text.find('\0'));
    EXPECT_EQ("CP1252 \u00B7 UTF-16 BE BOM", StatusText(*w));

    // Code page 437 art stored as UTF-8: the box characters are the screen font's bytes again.
    text = open("retrotxt-utf8-nfo_file.nfo");
    EXPECT_TRUE(inScreenFont());
    EXPECT_EQ(0u, text.rfind("\xC9\xCD\xCD\xCD", 0)) << text.substr(0, 8);
    EXPECT_EQ(std::string::npos, text.find("\xE2\x95"));
    EXPECT_EQ("CP437 \u00B7 UTF-8", StatusText(*w));

    // DOS art whatever its extension: the screen font and the window section of ".nfo".
    for (const char* name : {"sceners-FCINFO12.TXT", "retrotxt-ZII-RTXT.asc"}) {
        text = open(name);
        EXPECT_TRUE(inScreenFont()) << name;
        EXPECT_EQ("nfo", w->WindowSection) << name;
        EXPECT_EQ("CP437", StatusText(*w)) << name;
    }
    // Windows-1252 prose stays in the default font.
    open("retrotxt-cp-1252.txt");
    EXPECT_FALSE(inScreenFont());
    EXPECT_EQ("txt", w->WindowSection);

    // The SAUCE record is no part of the text, and comes back after it when saved.
    const QByteArray original = readFile(corpus + "/retrotxt-sauce.txt");
    text = open("retrotxt-sauce.txt");
    EXPECT_EQ(std::string::npos, text.find("SAUCE00"));
    EXPECT_EQ(std::string::npos, text.find('\x1A'));
    ASSERT_TRUE(w->Documents->Sauce().has_value());
    EXPECT_EQ("Sauce title", w->Documents->Sauce()->Title);
    EXPECT_EQ("Sauce author", w->Documents->Sauce()->Author);
    ASSERT_TRUE(w->Documents->Save());
    EXPECT_EQ(original, readFile(w->CurrentFile));
}

// "Reopen with encoding" reads the file again as asked and keeps the choice for its name.
TEST_F(FileEncodings, AnEncodingChosenForAFileIsKeptForItsName) {
    const std::string file = dir.write("letter.txt", "caf\xC3\xA9 \xE2\x82\xAC");
    auto w = Create(file, true);
    EXPECT_EQ("caf\xE9 \x80", w->m->Text());
    EXPECT_EQ("CP1252 \u00B7 UTF-8", StatusText(*w));

    w->Menu.file_reopen_ansi->trigger();
    EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC", w->m->Text());
    EXPECT_EQ("CP1252", StatusText(*w));
    EXPECT_EQ("ansi", w->Settings.RecentEncodings[file]);

    // As code page 437 the same bytes are box art, in the screen font.
    if (ScreenFontsRegistered()) {
        w->Menu.file_reopen_cp437->trigger();
        EXPECT_TRUE(platform::IsScreenFontFace(w->m->Font().Name));
        EXPECT_EQ("CP437", StatusText(*w));
    }
    w->Menu.file_reopen_utf8->trigger();
    EXPECT_EQ("caf\xE9 \x80", w->m->Text());
    // The choice goes with the recent files into the settings and is read at the next start.
    w->Menu.file_reopen_ansi->trigger();
    w->close();
    w.reset();
    auto again = Create();
    EXPECT_EQ("ansi", again->Settings.RecentEncodings[file]);
    ASSERT_TRUE(again->Documents->LoadFile(file));
    EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC", again->m->Text());

    // A file whose bytes are not the encoding asked for stays as it was shown.
    const std::string latin = dir.write("latin.txt", "caf\xE9");
    ASSERT_TRUE(again->Documents->LoadFile(latin));
    again->Menu.file_reopen_utf8->trigger();
    EXPECT_EQ("caf\xE9", again->m->Text());
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find("no UTF-8 text")) << errors[0];
    EXPECT_EQ(0u, again->Settings.RecentEncodings.count(latin));
}

// The guess of art gives a file the font of ".nfo"; a font stored for its extension wins over the
// guess, and an ".nfo" that is a media library's description is text in the default font.
TEST_F(FileEncodings, TheFontFollowsTheContentUnlessOneIsStoredForTheExtension) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts were not built";
    std::string art;
    for (int line = 0; line < 4; ++line)
        art += "\xDB\xDB\xB2\xB1\xB0 \xC9\xCD\xCD\xCD\xBB ansi\r\n";
    const std::string drawn = dir.write("drawn.txt", QByteArray::fromStdString(art));
    const std::string movie =
        dir.write("movie.nfo", "<?xml version=\"1.0\"?>\n<movie><title>Caf\xC3\xA9</title></movie>\n");
    auto w = Create(drawn, true);
    EXPECT_TRUE(platform::IsScreenFontFace(w->m->Font().Name));
    EXPECT_EQ("nfo", w->WindowSection);

    ASSERT_TRUE(w->Documents->LoadFile(movie));
    EXPECT_FALSE(platform::IsScreenFontFace(w->m->Font().Name));
    EXPECT_NE(std::string::npos, w->m->Text().find("Caf\xE9"));

    Store().WriteString("Fonts", ".txt", "Courier New,10,0000,clRed");
    ASSERT_TRUE(w->Documents->LoadFile(drawn));
    EXPECT_EQ("Courier New", w->m->Font().Name);
    EXPECT_EQ("txt", w->WindowSection);
}

// Auto Width takes the width a SAUCE record gives the art over the width of its lines, and File →
// Properties shows the record.
TEST_F(FileEncodings, AutoWidthAndPropertiesTakeTheRecord) {
    if (!ScreenFontsRegistered())
        GTEST_SKIP() << "the screen fonts were not built";
    const std::string wide = std::string(100, '\xDB') + "\r\n";
    const std::string narrow = std::string(60, '\xDB') + "\r\n";
    const std::string recorded =
        dir.write("recorded.nfo", QByteArray::fromStdString(wide + wide + SauceTail("Sixty", 204, 60)));
    const std::string plain = dir.write("plain.nfo", QByteArray::fromStdString(narrow + narrow));
    auto w = Create(plain, true);
    ASSERT_TRUE(w->Settings.AutoWidth);
    const int sixtyWide = w->width();
    ASSERT_TRUE(w->Documents->LoadFile(recorded));
    EXPECT_EQ(sixtyWide, w->width());
    EXPECT_EQ(60, w->Documents->Sauce()->Width());

    w->Menu.Properties1->trigger();
    auto* window = w->findChild<TFileProperties*>();
    ASSERT_NE(nullptr, window);
    const QLabel* title = window->findChild<QLabel*>(QStringLiteral("sauceTitle"));
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(QStringLiteral("Sixty"), title->text());
    window->close();
}
