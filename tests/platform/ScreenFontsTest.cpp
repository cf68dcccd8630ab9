// The generated screen fonts as Qt sees them once registered: found by name, one fixed cell per
// size, a glyph for every code page 437 byte drawn as libansilove draws it for the art archives,
// in every form the window asks for, and block characters that tile without seams.
#include "platform/ScreenFonts.h"

#include "platform/Canvas.h"
#include "platform/CodePages.h"
#include "platform/ScreenCells.h"
#include "support/AnsiloveReference.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <gtest/gtest.h>

#include <cstdlib>

namespace zandor::platform {
namespace {

std::string FontsFolder() {
    // CTest names the build folder; a test binary started by hand sits in its tests/ subfolder.
    if (const char* build = std::getenv("ZANDOR_BINARY_DIR"))
        return std::string(build) + "/fonts";
    return QDir(QCoreApplication::applicationDirPath() + "/../fonts").absolutePath().toStdString();
}

QString Cp437Text(std::initializer_list<int> bytes) {
    QString text;
    for (int b : bytes)
        text += QChar(Cp437ToUnicode(static_cast<unsigned char>(b)));
    return text;
}

class ScreenFontsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registered_ = RegisterScreenFonts(FontsFolder()); }
    void SetUp() override { ASSERT_TRUE(registered_) << "no screen fonts in " << FontsFolder(); }
    static bool registered_;
};
bool ScreenFontsTest::registered_ = false;

TEST_F(ScreenFontsTest, BothFacesAreFoundByNameOnce) {
    const QStringList families = QFontDatabase::families();
    EXPECT_EQ(families.count(LargeScreenFontFace), 1);
    EXPECT_EQ(families.count(TinyScreenFontFace), 1);
    // Registering again neither fails nor lists the faces twice.
    EXPECT_TRUE(RegisterScreenFonts(FontsFolder()));
    EXPECT_EQ(QFontDatabase::families().count(LargeScreenFontFace), 1);
    for (const char* face : {LargeScreenFontFace, TinyScreenFontFace}) {
        QFont font(face);
        font.setPixelSize(16);
        EXPECT_EQ(QFontInfo(font).family(), face);
        EXPECT_TRUE(QFontInfo(font).fixedPitch()) << face;
    }
}

TEST(ScreenFontsFolderTest, AFolderWithoutUsableFontsIsReportedAsAFailure) {
    test::ScratchDir empty;
    EXPECT_FALSE(RegisterScreenFonts(empty.path()));
    EXPECT_FALSE(RegisterScreenFonts(empty.file("missing")));
    test::ScratchDir broken;
    broken.write("Broken.bdf", "STARTFONT 2.1\nthis is no font\n");
    EXPECT_FALSE(RegisterScreenFonts(broken.path()));
}

// A face asked for at a pixel height (bold or not) and the cell it must get. 12 pixels is
// 9 points on a 96-dpi screen, the text-art default; the main editor asks for 19 pixels, bold.
struct Size {
    const char* face;
    int pixels;
    bool bold;
    int cellWidth;
    int cellHeight;
};

void PrintTo(const Size& size, std::ostream* out) {
    *out << size.face << ' ' << size.pixels << (size.bold ? "px bold" : "px");
}

class ScreenFontSizeTest : public ScreenFontsTest, public ::testing::WithParamInterface<Size> {
protected:
    QFont Font() const {
        QFont font(GetParam().face);
        font.setPixelSize(GetParam().pixels);
        font.setBold(GetParam().bold);
        font.setStyleStrategy(QFont::NoFontMerging);
        return font;
    }

    // Draws the lines in white on the dark blue of the editor, one cell height apart.
    QImage Render(const QStringList& lines) const {
        const QFontMetrics metrics(Font());
        QImage image(8 + 4 * GetParam().cellWidth * 4, 8 + 4 * GetParam().cellHeight * 4,
                     QImage::Format_RGB32);
        image.fill(QColor(0x00, 0x00, 0x4A));
        QPainter painter(&image);
        painter.setFont(Font());
        painter.setPen(Qt::white);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(4, 4 + i * metrics.height() + metrics.ascent(), lines[i]);
        return image;
    }

    static QRect InkBounds(const QImage& image, int* inked) {
        QRect bounds;
        *inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGreen(image.pixel(x, y)) > 128) {
                    bounds |= QRect(x, y, 1, 1);
                    ++*inked;
                }
        return bounds;
    }
};

TEST_P(ScreenFontSizeTest, EveryCharacterTakesOneCellOfTheExpectedSize) {
    const QFontMetrics metrics(Font());
    EXPECT_EQ(QFontInfo(Font()).family(), GetParam().face);
    EXPECT_EQ(metrics.height(), GetParam().cellHeight);
    EXPECT_EQ(metrics.ascent() + metrics.descent(), GetParam().cellHeight);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(metrics.horizontalAdvance(QChar(Cp437ToUnicode(static_cast<unsigned char>(byte)))),
                  GetParam().cellWidth)
            << byte;
}

TEST_P(ScreenFontSizeTest, EveryCodePage437ByteHasItsOwnGlyph) {
    const QRawFont raw = QRawFont::fromFont(Font());
    ASSERT_TRUE(raw.isValid());
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t cp = Cp437ToUnicode(static_cast<unsigned char>(byte));
        EXPECT_TRUE(raw.supportsCharacter(cp)) << byte;
        if (byte == 0 || byte == 0x20 || byte == 0xFF)
            continue;
        // A visible byte must show ink of its own, not the font's empty default glyph.
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(cp)));
        ASSERT_EQ(glyphs.size(), 1);
        const QImage picture = raw.alphaMapForGlyph(glyphs[0], QRawFont::PixelAntialiasing);
        bool ink = false;
        for (int y = 0; y < picture.height() && !ink; ++y)
            for (int x = 0; x < picture.width() && !ink; ++x)
                ink = qGray(picture.pixel(x, y)) > 0 || qAlpha(picture.pixel(x, y)) > 0;
        EXPECT_TRUE(ink) << byte;
    }
}

TEST_P(ScreenFontSizeTest, FullBlocksTileIntoOneSolidRectangle) {
    const QString row = Cp437Text({0xDB, 0xDB, 0xDB});
    int inked = 0;
    const QRect bounds = InkBounds(Render({row, row, row}), &inked);
    EXPECT_EQ(bounds.width(), 3 * GetParam().cellWidth);
    EXPECT_EQ(bounds.height(), 3 * GetParam().cellHeight);
    EXPECT_EQ(inked, bounds.width() * bounds.height()) << "gaps between the blocks";
}

TEST_P(ScreenFontSizeTest, MediumShadeStaysACheckerboardAcrossCells) {
    const QString row = Cp437Text({0xB1, 0xB1});
    const QImage image = Render({row, row});
    int inked = 0;
    const QRect bounds = InkBounds(image, &inked);
    ASSERT_FALSE(bounds.isEmpty());
    // The pattern's unit is one pixel in the 8-wide cells and two in the doubled ones.
    const int unit = GetParam().cellWidth / 8;
    for (int y = bounds.top(); y + unit <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x + unit <= bounds.right(); ++x) {
            const bool here = qGreen(image.pixel(x, y)) > 128;
            ASSERT_NE(here, qGreen(image.pixel(x + unit, y)) > 128) << x << "," << y;
            ASSERT_NE(here, qGreen(image.pixel(x, y + unit)) > 128) << x << "," << y;
        }
}

TEST_P(ScreenFontSizeTest, PictographsAreDrawnAndDistinct) {
    // Heart, diamond, smiley and house: the control bytes and 127 show pictures.
    QList<QImage> pictures;
    for (int byte : {0x03, 0x04, 0x01, 0x7F}) {
        int inked = 0;
        const QImage image = Render({Cp437Text({byte})});
        InkBounds(image, &inked);
        EXPECT_GT(inked, 4) << byte;
        pictures.append(image);
    }
    for (int a = 0; a < pictures.size(); ++a)
        for (int b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ScreenFontSizeTest,
    ::testing::Values(Size{"ZandorTiny", 8, false, 8, 8}, Size{"ZandorLarge", 12, false, 8, 14},
                      Size{"ZandorLarge", 14, false, 8, 14}, Size{"ZandorLarge", 16, false, 8, 16},
                      Size{"ZandorLarge", 19, true, 8, 16}, Size{"ZandorLarge", 28, false, 16, 28},
                      Size{"ZandorLarge", 32, true, 16, 32}),
    [](const auto& info) {
        return std::string(info.param.face) + std::to_string(info.param.pixels) +
               (info.param.bold ? "Bold" : "");
    });

// A size and form of a screen face as the window asks for it, and the libansilove cells it must
// show: every libansilove pixel `cellWidth / bits` pixels wide, and its rows spread over the cell
// as the program stretches them (each row of the cell shows the row StretchedRowSource picks).
struct ArchiveSize {
    const char* family;
    int pixels;
    test::TAnsiloveFont font;
    int bits;
    int cellWidth;
    int cellHeight;
};

void PrintTo(const ArchiveSize& size, std::ostream* out) {
    *out << size.family << ' ' << size.pixels << "px";
}

class ScreenFontArchiveTest : public ScreenFontsTest, public ::testing::WithParamInterface<ArchiveSize> {};

TEST_P(ScreenFontArchiveTest, QtDrawsEveryByteAsLibansiloveDoes) {
    const ArchiveSize& size = GetParam();
    std::string error;
    const std::vector<test::TReferenceGlyph> reference =
        test::AnsiloveReference(size.font, size.bits, &error);
    ASSERT_EQ(reference.size(), 256u) << error;
    // The window's own way to a Qt font, drawn as its canvas draws: white on black, each in its cell.
    const QFont font = ToQFont(FontValue{.Name = size.family, .Height = size.pixels});
    const QFontMetrics metrics(font);
    ASSERT_EQ(QFontInfo(font).family().toStdString(), size.family);
    ASSERT_EQ(metrics.height(), size.cellHeight);
    QString line;
    for (int byte = 0; byte < 256; ++byte)
        line += QChar(Cp437ToUnicode(static_cast<unsigned char>(byte)));
    ASSERT_EQ(metrics.horizontalAdvance(line), 256 * size.cellWidth);
    QImage image(256 * size.cellWidth, size.cellHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(0, metrics.ascent(), line);
    }
    const int scale = size.cellWidth / size.bits;
    for (int byte = 0; byte < 256; ++byte) {
        const test::TReferenceGlyph& glyph = reference[size_t(byte)];
        int wrong = 0;
        for (int y = 0; y < size.cellHeight; ++y) {
            const int row = StretchedRowSource(y, size.cellHeight, glyph.Height);
            for (int x = 0; x < size.cellWidth; ++x)
                wrong +=
                    (qGreen(image.pixel(byte * size.cellWidth + x, y)) > 128) != glyph.At(x / scale, row);
        }
        EXPECT_EQ(wrong, 0) << "byte " << byte << ", libansilove draws" << glyph.Picture();
    }
}

// The 8x16 and 8x8 sets, a doubled size, the nine-pixel cells libansilove draws with its "bits = 9"
// and two DOS-aspect forms among the heights of their families.
INSTANTIATE_TEST_SUITE_P(
    Sizes, ScreenFontArchiveTest,
    ::testing::Values(ArchiveSize{"ZandorLarge", 16, test::TAnsiloveFont::Cp437, 8, 8, 16},
                      ArchiveSize{"ZandorLarge", 32, test::TAnsiloveFont::Cp437, 8, 16, 32},
                      ArchiveSize{"ZandorTiny", 8, test::TAnsiloveFont::Cp437_80x50, 8, 8, 8},
                      ArchiveSize{"ZandorLarge9", 16, test::TAnsiloveFont::Cp437, 9, 9, 16},
                      ArchiveSize{"ZandorLargeDos", 43, test::TAnsiloveFont::Cp437, 8, 16, 43},
                      ArchiveSize{"ZandorTiny9Dos", 32, test::TAnsiloveFont::Cp437_80x50, 9, 27, 32}),
    [](const auto& info) {
        return std::string(info.param.family) + "At" + std::to_string(info.param.pixels);
    });

struct Substitute {
    const char* face;
    bool fixedPitch;
};

class FontSubstitutionTest : public ::testing::TestWithParam<Substitute> {};

TEST_P(FontSubstitutionTest, WindowsFaceResolvesToAnInstalledFont) {
    InstallFontSubstitutions();
    const QFontInfo info(QFont(GetParam().face, 9));
    EXPECT_TRUE(QFontDatabase::families().contains(info.family())) << info.family().toStdString();
    EXPECT_EQ(info.fixedPitch(), GetParam().fixedPitch) << info.family().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faces, FontSubstitutionTest,
                         ::testing::Values(Substitute{"MS Sans Serif", false}, Substitute{"Tahoma", false},
                                           Substitute{"Arial", false}, Substitute{"Courier New", true}),
                         [](const auto& info) {
                             std::string name = info.param.face;
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

} // namespace
} // namespace zandor::platform
