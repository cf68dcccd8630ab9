// Art files in the built program on a virtual X server, clicked as a user would (xdotool): an
// ".nfo" opens in the VGA's 8x16 cell; one whose SAUCE record asks for nine-pixel letter spacing is
// drawn in 9-pixel cells, so a click lands on the character under the mouse at that advance; the
// next file, opened through the Open dialog, has no record and goes back to 8-pixel cells.
#include "support/ProgramUnderX.h"

#include <string>

namespace {

using ArtCellsScenario = zandor::test::ProgramUnderX;

// A SAUCE record of ASCII character data with the given flags, after the end-of-file byte.
std::string SauceWithFlags(char flags) {
    std::string record = "\x1A"
                         "SAUCE00";
    record.resize(1 + 7 + 35 + 20 + 20 + 8 + 4, ' ');
    return record + std::string("\x01\x00", 2) + std::string(9, '\0') + flags + std::string(22, '\0');
}

TEST_F(ArtCellsScenario, ACellIsWhatTheFileAsksForAndOtherwiseTheVgasEightBySixteen) {
    const std::string lines = "first line of the art\r\nsecond line of the art\r\nthird line of the art, "
                              "which is longer than the others\r\n"
                              "\xC4\xC4\xC4\xC4 fourth\r\n";
    const std::string told =
        dir.write("docs/nine.nfo", QByteArray::fromStdString(lines + SauceWithFlags(0x04)));
    const std::string plain = dir.write("docs/eight.nfo", QByteArray::fromStdString(lines));
    Start(told);
    // The text starts 8 pixels in, below the 17 pixels of the menu band. x = 8 + 181 lies just past
    // the 20th cell of 9 pixels (the caret goes before the 21st character) and in the right half of
    // the 23rd cell of 8 (before the 24th); y = 17 + 16 * 2 + 12 in the third line of 16 pixels (the
    // fourth of 14).
    Click(8 + 181, 17 + 16 * 2 + 12);
    EXPECT_TRUE(WaitForTrace("position: 3,21")) << "the click lands in a 9-pixel cell of a 16-pixel line";

    // Another file through File -> Open (Ctrl+O), its name typed into the dialog.
    Keys({QStringLiteral("ctrl+o")});
    QThread::msleep(1500);
    Type(QString::fromStdString(plain));
    Keys({QStringLiteral("Return")});
    ASSERT_TRUE(WaitForTrace("caption: Zandor - " + plain)) << "the window opened the second file";
    Click(8 + 181, 17 + 16 * 2 + 12);
    EXPECT_TRUE(WaitForTrace("position: 3,24")) << "without a record the cells are 8 pixels wide again";
}

} // namespace
