// Word wrap, the main window's default, in the built program on a virtual X server with real key
// presses and clicks (xdotool): a line of digits wider than the window breaks inside its one word,
// and End, Shift+End and a click right of a display line all stand after that line's last
// character, as the position in the status says; what is typed there is saved right after it.
#include "support/ProgramUnderX.h"

#include <string>

namespace {

using zandor::test::readFile;
using WrappedLinesScenario = zandor::test::ProgramUnderX;

TEST_F(WrappedLinesScenario, EndAndAClickRightOfAWrappedLineStandAfterItsLastCharacter) {
    std::string digits;
    for (int i = 0; i < 40; ++i)
        digits += "0123456789";
    const std::string file = dir.write("docs/wide.nfo", QByteArray::fromStdString(digits + "\r\nlast"));
    Start(file);
    // The window of an art file holds 55 characters of the screen font a line, each 8 pixels wide
    // from 8 pixels in; the lines are 16 pixels high below the 17 of the menu band.
    const std::string line1 = digits.substr(0, 55);

    Click(454, 24); // right of display line 1, inside the right margin
    EXPECT_TRUE(WaitForTrace("position: 1,56")) << "the end of line 1, not the start of line 2";
    Keys({QStringLiteral("Home"), QStringLiteral("shift+End"), QStringLiteral("ctrl+c")});
    EXPECT_EQ(Clipboard(line1), line1) << "Shift+End selects the whole display line";
    Keys({QStringLiteral("End")});
    Type(QStringLiteral("E"));
    ASSERT_TRUE(WaitForTrace("caption: Zandor - " + file + " *"));

    Click(454, 52); // right of display line 3
    EXPECT_TRUE(WaitForTrace("position: 3,56"));
    Type(QStringLiteral("C"));
    Keys({QStringLiteral("ctrl+s")});
    ASSERT_TRUE(WaitForTrace("caption: Zandor - " + file)) << "saved";
    std::string expected = digits;
    expected.insert(55, "E");
    expected.insert(3 * 55, "C");
    EXPECT_EQ(readFile(file).toStdString(), expected + "\r\nlast")
        << "each letter follows the last character of the line it was typed at";
}

} // namespace
