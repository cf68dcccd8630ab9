// The built program on a virtual X server, searched and replaced in as a user would with real key
// presses: Ctrl+F opens the dialog, Enter finds the first occurrence, F3 the next, Ctrl+C in the
// dialog copies from its field, Replace All changes every occurrence and one Ctrl+Z takes it all
// back. The text is read through the system clipboard with xclip.
#include "support/ProgramUnderX.h"

#include <string>

namespace {

class FindReplaceUnderX : public zandor::test::ProgramUnderX {
protected:
    void OpenDialog() {
        Keys({QStringLiteral("ctrl+f")});
        const QString dialog =
            QString::fromStdString(
                Tool(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), QStringLiteral("^Replace$")}))
                .section(QLatin1Char('\n'), 0, 0);
        ASSERT_FALSE(dialog.isEmpty());
        Tool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    }
};

TEST_F(FindReplaceUnderX, FindNextThenReplaceAllIsOneUndoStep) {
    const std::string file = dir.write("cats.txt", "one cat, two cats\r\ncat\r\nlast");
    Start(file);

    OpenDialog();
    Type(QStringLiteral("cat"));
    Keys({QStringLiteral("Return")});
    EXPECT_TRUE(WaitForTrace("position: 1,8")) << "the first occurrence is selected, the caret at its end";
    Keys({QStringLiteral("F3")});
    EXPECT_TRUE(WaitForTrace("position: 1,17")) << "F3 goes on to the next one";

    OpenDialog();
    Keys({QStringLiteral("Tab")});
    Type(QStringLiteral("dog"));
    Keys({QStringLiteral("shift+Home"), QStringLiteral("ctrl+c")});
    EXPECT_EQ(Clipboard("dog"), "dog") << "Ctrl+C in the dialog copies from its field";
    Keys({QStringLiteral("alt+a")});
    EXPECT_TRUE(WaitForTrace("caption: Zandor - " + file + " *"));

    Keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    EXPECT_EQ(Clipboard("one dog, two dogs\ndog\nlast"), "one dog, two dogs\ndog\nlast");
    Keys({QStringLiteral("ctrl+z"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    EXPECT_EQ(Clipboard("one cat, two cats\ncat\nlast"), "one cat, two cats\ncat\nlast")
        << "one undo step takes every replacement back";
}

} // namespace
