// The text commands in the built program on a virtual X server, driven by real key presses
// (xdotool): a selection upper-cased with Ctrl+U, copied and read from outside with xclip, undone,
// then the whole text joined into one line with Ctrl+J and undone again.
#include "support/ProgramUnderX.h"

#include <string>

namespace {

using EditScenario = zandor::test::ProgramUnderX;

TEST_F(EditScenario, UppercaseAndJoinLinesFromTheirKeysAreEachUndoneInOneStep) {
    const std::string file = dir.write("notes.txt", "first line\r\nsecond   line\r\nlast");
    Start(file);
    Keys({QStringLiteral("shift+Down"), QStringLiteral("shift+End")});
    EXPECT_TRUE(WaitForTrace("position: 2,14"));
    Keys({QStringLiteral("ctrl+u")});
    EXPECT_TRUE(WaitForTrace("caption: Zandor - " + file + " *")) << "the command changed the text";
    Keys({QStringLiteral("ctrl+c")});
    EXPECT_EQ("FIRST LINE\nSECOND   LINE", Clipboard("FIRST LINE\nSECOND   LINE"))
        << "the new text stays selected";

    Keys({QStringLiteral("ctrl+z"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    EXPECT_EQ("first line\nsecond   line\nlast", Clipboard("first line\nsecond   line\nlast"));

    Keys({QStringLiteral("ctrl+j"), QStringLiteral("ctrl+c")});
    EXPECT_EQ("first line second line last", Clipboard("first line second line last"));
    Keys({QStringLiteral("ctrl+z"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    EXPECT_EQ("first line\nsecond   line\nlast", Clipboard("first line\nsecond   line\nlast"));
}

} // namespace
