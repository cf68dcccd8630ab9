// A document's round trip in the built program on a virtual X server, with real key presses and
// clicks: a copy of an art file with Unix line breaks is opened, edited, undone, edited again and
// saved with Ctrl+S; the bytes on disk are compared with the expected text with CR LF breaks. Then
// a new text replaces it and the file comes back through the "Recent files" submenu.
#include "support/ProgramUnderX.h"

namespace {

using zandor::test::ProgramUnderX;
using zandor::test::readFile;

using DocumentScenario = ProgramUnderX;

TEST_F(DocumentScenario, EditSaveAndReopenThroughTheRecentFiles) {
    // Box-drawing bytes as the art files have them, and no CR anywhere.
    const QByteArray original("\xC9\xCD\xCD\xBB\nfirst\nsecond\nlast\n");
    const std::string file = dir.write("docs/copy of art.nfo", original);
    const std::string caption = "Zandor - " + file;
    Start(file);
    Click(200, 200); // the editor takes the keyboard
    Keys({QStringLiteral("ctrl+Home")});

    Type(QStringLiteral("draft"));
    ASSERT_TRUE(WaitForTrace("caption: " + caption + " *")) << "typing marks the document as changed";
    for (int i = 0; i < 5; ++i)
        Keys({QStringLiteral("ctrl+z")});
    Type(QStringLiteral("kept line"));
    Keys({QStringLiteral("Return"), QStringLiteral("ctrl+s")});
    ASSERT_TRUE(WaitForTrace("caption: " + caption)) << "the save clears the mark of changes";
    EXPECT_EQ(readFile(file), QByteArray("kept line\r\n\xC9\xCD\xCD\xBB\r\nfirst\r\nsecond\r\nlast\r\n"))
        << "the undone draft is gone, the breaks are CR LF, the art bytes are as they were";

    Keys({QStringLiteral("ctrl+n")});
    ASSERT_TRUE(WaitForTrace("caption: Zandor")) << "an unchanged text is replaced without a question";
    // The File button of the menu band, then from the bottom of its menu: Exit, Print Preview...,
    // Print..., "Recent files", its first entry.
    Click(20, 9);
    QThread::msleep(300);
    Keys({QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up"),
          QStringLiteral("Right"), QStringLiteral("Return")});
    EXPECT_TRUE(WaitForTrace("caption: " + caption)) << "the recent entry opened the saved file again";
    EXPECT_EQ(WindowName(), caption);
}

} // namespace
