// The built program on a virtual X server, driven by real key presses (xdotool) as a user would:
// a copy of a file is opened, the caret moved, text typed, selected, replaced, copied and pasted
// through the system clipboard (read from outside with xclip) and undone. The program is followed
// through its trace points: the caret position its status shows and its window caption with the
// mark of unsaved changes.
#include "support/ProgramUnderX.h"

#include <string>

namespace {

const QString kText = QStringLiteral("first line\r\nsecond line\r\nlast");

// A copy of a small file, opened at the start.
class ProgramUnderX : public zandor::test::ProgramUnderX {
protected:
    std::string file;

    void SetUp() override {
        zandor::test::ProgramUnderX::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        file = dir.write("docs/copy of doc.txt", kText.toLatin1());
    }

    std::string Caption() { return "Zandor - " + file; }

    void Start() { zandor::test::ProgramUnderX::Start(file); }
};

TEST_F(ProgramUnderX, KeysMoveTypeSelectReplaceAndUndo) {
    Start();
    Keys({QStringLiteral("Down")});
    EXPECT_TRUE(WaitForTrace("position: 2,1"));
    Keys({QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right")});
    EXPECT_TRUE(WaitForTrace("position: 2,4"));
    Keys({QStringLiteral("ctrl+End")});
    EXPECT_TRUE(WaitForTrace("position: 3,5"));
    EXPECT_EQ(WindowName(), Caption()) << "nothing changed yet";

    Type(QStringLiteral("XYZ"));
    EXPECT_TRUE(WaitForTrace("caption: " + Caption() + " *")) << "typing marks the document as changed";
    EXPECT_TRUE(WaitForTrace("position: 3,8"));
    EXPECT_EQ(WindowName(), Caption() + " *");

    Keys({QStringLiteral("shift+Left"), QStringLiteral("shift+Left"), QStringLiteral("shift+Left")});
    EXPECT_TRUE(WaitForTrace("position: 3,5"));
    Type(QStringLiteral("Q"));
    EXPECT_TRUE(WaitForTrace("position: 3,6")) << "the selection was typed over";
    Keys({QStringLiteral("ctrl+z")});
    EXPECT_TRUE(WaitForTrace("position: 3,8")) << "XYZ is back";
    Keys({QStringLiteral("ctrl+z")});
    EXPECT_TRUE(WaitForTrace("position: 3,5")) << "the typing is undone";
    Keys({QStringLiteral("Home"), QStringLiteral("ctrl+Home")});
    EXPECT_TRUE(WaitForTrace("position: 3,1"));
    EXPECT_TRUE(WaitForTrace("position: 1,1"));
}

TEST_F(ProgramUnderX, CopyAndPasteGoThroughTheSystemClipboard) {
    Start();
    Keys({QStringLiteral("ctrl+End")});
    EXPECT_TRUE(WaitForTrace("position: 3,5"));
    Type(QStringLiteral("XYZ"));
    EXPECT_TRUE(WaitForTrace("position: 3,8"));
    Keys({QStringLiteral("shift+Left"), QStringLiteral("shift+Left"), QStringLiteral("shift+Left"),
          QStringLiteral("ctrl+c")});
    EXPECT_TRUE(WaitForTrace("position: 3,5"));
    EXPECT_EQ(Clipboard("XYZ"), "XYZ");

    Keys({QStringLiteral("End"), QStringLiteral("ctrl+v")});
    EXPECT_TRUE(WaitForTrace("position: 3,8"));
    EXPECT_TRUE(WaitForTrace("position: 3,11")) << "pasted after the typed text";
    Keys({QStringLiteral("ctrl+z")});
    EXPECT_TRUE(WaitForTrace("position: 3,8")) << "the paste is undone";

    Keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    EXPECT_EQ(Clipboard("first line\nsecond line\nlastXYZ"), "first line\nsecond line\nlastXYZ");
    EXPECT_EQ(WindowName(), Caption() + " *");
}

} // namespace
