// The open file changed by another program: an unchanged text is read again where the caret was, a
// changed one is asked about, a vanished file is said, and Save never writes over a change unasked;
// in the window itself and in the built program driven under X.
#include "WindowFixture.h"
#include "support/ProgramUnderX.h"

#include "documents/Documents.h"
#include "editor/control/ArtMemo.h"

#include <QFile>

#include <string>

using namespace zandor;
using zandor::test::readFile;
using zandor::test::WindowFixture;

namespace {

void Write(const std::string& path, const QByteArray& bytes, bool append = false) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(append ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(bytes.size(), file.write(bytes));
}

// Runs the window's event loop for a while.
void Pump(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

const char* const kKeepQuestion = " was changed by another program, and the text here has changes";
const char* const kSaveQuestion = " was changed by another program since Zandor read or saved it.";

} // namespace

TEST_F(WindowFixture, AFileChangedElsewhereIsReadAgainAskedAboutAndNeverOverwrittenUnasked) {
    const std::string log = dir.write("log.txt", "one\r\ntwo\r\nthree\r\n");
    auto w = Create(log, true);
    TArtMemo& m = *w->m;
    m.SetSelLine(2);

    // Appended by a logger: read again, the caret on its line, nothing to save.
    Write(log, "four\r\n", true);
    ASSERT_TRUE(ProcessUntil([&] { return m.ParagraphCount() >= 4 && m.GetParagraph(3) == "four"; }));
    EXPECT_EQ(2, m.SelLine());
    EXPECT_FALSE(w->DocumentModified);
    EXPECT_TRUE(questions.empty());

    // With an edit here, a change there is asked about; No keeps the edit.
    m.SetSelText("mine ");
    ASSERT_TRUE(w->DocumentModified);
    Write(log, "theirs\r\n");
    ASSERT_TRUE(ProcessUntil([&] { return !questions.empty(); }));
    EXPECT_NE(std::string::npos, questions.back().find(kKeepQuestion)) << questions.back();
    EXPECT_EQ("mine three", m.GetParagraph(2));

    // Save asks before it writes over their bytes; No leaves them, Yes writes the text here.
    questions.clear();
    answers = {TAnswer::No};
    EXPECT_FALSE(w->Documents->Save());
    ASSERT_EQ(1u, questions.size());
    EXPECT_NE(std::string::npos, questions.back().find(kSaveQuestion)) << questions.back();
    EXPECT_EQ("theirs\r\n", readFile(log));
    EXPECT_TRUE(w->DocumentModified);
    answers = {TAnswer::Yes};
    EXPECT_TRUE(w->Documents->Save());
    EXPECT_EQ("one\r\ntwo\r\nmine three\r\nfour\r\n", readFile(log));
    // Its own save is no change to report.
    questions.clear();
    Pump(1000);
    EXPECT_TRUE(questions.empty());

    // Yes to the question reads their text in place of the edit.
    m.SetSelText("more ");
    Write(log, "theirs again\r\n");
    answers = {TAnswer::Yes};
    ASSERT_TRUE(ProcessUntil([&] { return m.GetParagraph(0) == "theirs again"; }));
    EXPECT_FALSE(w->DocumentModified);

    // Gone: said once; the text stays and Save writes the file again without a question.
    messages.clear();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(log)));
    ASSERT_TRUE(ProcessUntil([&] { return !messages.empty(); }));
    EXPECT_NE(std::string::npos, messages.back().find("is no longer there")) << messages.back();
    EXPECT_EQ("theirs again", m.GetParagraph(0));
    questions.clear();
    EXPECT_TRUE(w->Documents->Save());
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ("theirs again\r\n", readFile(log));
}

namespace {

class DiskChangesScenario : public zandor::test::ProgramUnderX {
protected:
    // Answers the question box (a window of its own, captioned "Zandor") with a key, as a user who
    // clicked into it would, and waits until it is gone.
    void AnswerBox(const QString& key) {
        const auto visible = [&] {
            return QString::fromStdString(Tool(QStringLiteral("xdotool"),
                                               {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                QStringLiteral("--name"), QStringLiteral("^Zandor$")}))
                .section(QLatin1Char('\n'), 0, 0);
        };
        QString box;
        QDeadlineTimer deadline(15000);
        while ((box = visible()).isEmpty() && !deadline.hasExpired())
            QThread::msleep(50);
        ASSERT_FALSE(box.isEmpty()) << "no question box on the screen";
        Tool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
        Keys({key});
        while (!visible().isEmpty() && !deadline.hasExpired())
            QThread::msleep(50);
        ASSERT_TRUE(visible().isEmpty()) << key.toStdString() << " did not close the box";
        Tool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    }
};

// A user's view of it: a log appended while it is open shows its new line (copied out of the
// window); with an unsaved edit a second change is asked about, kept, and Save asks again and,
// answered No, leaves the other program's bytes on disk.
TEST_F(DiskChangesScenario, TheWindowFollowsTheFileAndSaveLeavesAnotherProgramsChange) {
    const std::string log = dir.write("docs/build.log", "step one\r\nstep two\r\n");
    Start(log);
    Write(log, "step three\r\n", true);
    ASSERT_TRUE(WaitForTrace("reloaded: " + log)) << "the window did not read the file again";
    Keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    // (Copy leaves out the line break at the end, as "Trim Selection before Copy" does.)
    EXPECT_EQ("step one\nstep two\nstep three", Clipboard("step one\nstep two\nstep three"));

    Keys({QStringLiteral("ctrl+End")});
    Type(QStringLiteral("my note"));
    Write(log, "rewritten by another program\r\n");
    ASSERT_TRUE(WaitForTrace("question: \"build.log\"" + std::string(kKeepQuestion) +
                             " that are not saved. Reload the file as it is now and lose those changes? "
                             "(No keeps the text here.)"));
    AnswerBox(QStringLiteral("Escape"));
    Keys({QStringLiteral("ctrl+s")});
    ASSERT_TRUE(WaitForTrace("question: \"build.log\"" + std::string(kSaveQuestion) +
                             " Save the text here over that change?"))
        << [this] {
               std::string all;
               for (const std::string& line : TraceLines())
                   all += line + "\n";
               return all;
           }();
    AnswerBox(QStringLiteral("Escape"));
    EXPECT_EQ("rewritten by another program\r\n", readFile(log));
    EXPECT_EQ(QProcess::Running, program.state())
        << "Escape answered the question, it did not close the window";
}

} // namespace
