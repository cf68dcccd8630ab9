// The navigator's geometry with real fonts, measured through the platform's Qt measurer: kerning,
// proportional advances and the OEM character set of text-mode art.
#include "NavigatorTestText.h"
#include "editor/engine/ArtNavigator.h"
#include "platform/CodePages.h"
#include "platform/QtTextMeasurer.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace zandor::test {
namespace {

class QtFontGeometry : public ::testing::Test {
protected:
    QtFontGeometry() : font("DejaVu Sans", 14), mono("DejaVu Sans Mono", 16) {
        font.setStyleStrategy(QFont::PreferDefault);
        auto measurer = std::make_unique<platform::QtTextMeasurer>(font, 0, mono, platform::OemCharset);
        qt = measurer.get();
        core.SetMeasurer(std::move(measurer));
        core.SetClientSize(800, 400);
    }

    QFont font;
    QFont mono;
    platform::QtTextMeasurer* qt = nullptr;
    TArtMemoCore core;
    TArtNavigator nav{&core};
};

TEST_F(QtFontGeometry, XIsTheAdvanceOfTheTextBeforeThePosition) {
    const std::string text = "AVAWAY Tokyo, fi ff";
    LoadText(core, text);
    const QFontMetrics metrics(qt->FontForStyle(0));
    for (int32_t n = 0; n <= static_cast<int32_t>(text.size()); ++n) {
        nav.SetPos(n);
        EXPECT_EQ(nav.GetX(), 8 + metrics.horizontalAdvance(QString::fromLatin1(text.substr(0, n))))
            << "position " << n;
    }
    EXPECT_EQ(core.LinePixels(), metrics.height() + 1);
    EXPECT_EQ(core.AvgCharWidth(), metrics.horizontalAdvance(QLatin1Char(' ')));
}

TEST_F(QtFontGeometry, EveryPositionIsFoundAgainFromItsX) {
    const std::string text = "Wavy VA text, Ta To";
    LoadText(core, text);
    for (int32_t n = 0; n <= static_cast<int32_t>(text.size()); ++n) {
        nav.SetPos(n);
        const int x = nav.GetX();
        TArtNavigator probe(&core);
        probe.SetX(x);
        EXPECT_EQ(probe.Pos(), n) << "x " << x;
    }
}

TEST_F(QtFontGeometry, TheAlternateFontMeasuresBytesAsCodePage437) {
    core.SetStaticFormat(true);
    LoadText(core, "\x04\xDB\xB0\xC9");
    const QFontMetrics metrics(qt->FontForStyle(sfAltFont));
    nav.SetPos(1);
    EXPECT_EQ(nav.CharWidth(), metrics.horizontalAdvance(QChar(0x2588))); // full block
    nav.SetPos(4);
    EXPECT_EQ(nav.GetX(), 8 + metrics.horizontalAdvance(QString::fromUtf16(u"\u2588\u2591\u2554")));
    EXPECT_EQ(qt->ToUnicode(0, "\xDB", 1), QString::fromUtf16(u"\u00DB"));
    EXPECT_EQ(qt->ToUnicode(sfAltFont, "\xDB\x01", 2), QString::fromUtf16(u"\u2588\u263A"));
}

TEST_F(QtFontGeometry, BoldTextIsMeasuredInTheBoldFace) {
    LoadText(core, "Wide words");
    AddRun(core, 0, 0, sfContext | sfBold, 1);
    const QFontMetrics bold(qt->FontForStyle(sfBold));
    nav.SetPos(10);
    EXPECT_EQ(nav.GetX(), 8 + bold.horizontalAdvance(QStringLiteral("Wide words")));
    EXPECT_TRUE(qt->FontForStyle(sfBold).bold());
    EXPECT_FALSE(qt->FontForStyle(0).bold());
}

} // namespace
} // namespace zandor::test
