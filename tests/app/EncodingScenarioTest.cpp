// A UTF-8 file with its signature in the built program on a virtual X server: opened, shown as its
// text with the encoding in the status panel, a word typed at the top and saved with Ctrl+S. The
// window's character set has no symbols such as U+2620, so the save asks first and they are "?"
// as the window showed them; the file on disk is UTF-8 again, with its signature, its other
// characters as they were and the word.
#include "support/ProgramUnderX.h"
#include "support/TestSupport.h"

#include <algorithm>

namespace {

using zandor::test::ProgramUnderX;
using zandor::test::readFile;

using EncodingScenario = ProgramUnderX;

TEST_F(EncodingScenario, AUtf8FileWithItsSignatureStaysSoWhenEditedAndSaved) {
    // The corpus's file when it is here; the same kind of file written here otherwise.
    QByteArray original("\xEF\xBB\xBF"
                        "Document encoding: UTF-8 with BOM, caf\xC3\xA9\n"
                        "\xE2\x98\xA0\tSkull and crossbones\n");
    const std::string corpus = zandor::test::corpusDir();
    if (!corpus.empty() && !readFile(corpus + "/retrotxt-utf-8_bom.txt").isEmpty())
        original = readFile(corpus + "/retrotxt-utf-8_bom.txt");
    const std::string file = dir.write("docs/utf8 copy.txt", original);
    const std::string caption = "Zandor - " + file;
    Start(file);
    const std::vector<std::string> opened = TraceLines();
    EXPECT_NE(std::find(opened.begin(), opened.end(), "encoding: CP1252 \u00B7 UTF-8 BOM"), opened.end())
        << "the status panel names the encoding";
    Click(200, 200); // the editor takes the keyboard
    Keys({QStringLiteral("ctrl+Home")});
    Type(QStringLiteral("Edited "));
    ASSERT_TRUE(WaitForTrace("caption: " + caption + " *")) << "typing marks the document as changed";
    Keys({QStringLiteral("ctrl+s")});
    QDeadlineTimer deadline(20000);
    const auto asked = [&] {
        for (const std::string& line : TraceLines())
            if (line.rfind("question: ", 0) == 0)
                return line.find("cannot show") != std::string::npos;
        return false;
    };
    while (!asked() && !deadline.hasExpired())
        QThread::msleep(50);
    ASSERT_TRUE(asked()) << "the save asks about the characters shown as \"?\"";
    QThread::msleep(300);
    Keys({QStringLiteral("Return")}); // Yes, the box's default
    ASSERT_TRUE(WaitForTrace("caption: " + caption)) << "the save clears the mark of changes";

    const QByteArray saved = readFile(file);
    ASSERT_TRUE(saved.startsWith("\xEF\xBB\xBF"
                                 "Edited Document"))
        << saved.left(40).toHex().toStdString();
    // Apart from the word, the breaks, which are saved as CR LF, and the characters the window
    // showed as "?", the file is what it was.
    QString text = QString::fromUtf8(original.mid(3));
    for (QChar& c : text)
        if (c.unicode() > 0xFF)
            c = QLatin1Char('?');
    QByteArray expected = "\xEF\xBB\xBF"
                          "Edited " +
                          text.toUtf8();
    expected.replace("\r\n", "\n").replace("\n", "\r\n");
    EXPECT_EQ(expected, saved);
    EXPECT_TRUE(QString::fromUtf8(saved.mid(3)).toUtf8() == saved.mid(3)) << "the saved bytes are UTF-8";
}

} // namespace
