// The documents in the main window: opening and what a file that cannot be opened leaves alone, the
// offer to save changes before anything replaces the text, saving (all or nothing), "Save as",
// "New", the recent files, dropped files, the properties window and the font commands.
#include "WindowFixture.h"

#include "documents/Documents.h"
#include "documents/FileDrag.h"
#include "documents/FileProperties.h"
#include "editor/control/ArtMemo.h"
#include "support/PaintProbe.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zandor;
using namespace std::string_literals;
using zandor::test::AsOrdinaryUser;
using zandor::test::readFile;
using zandor::test::WindowFixture;

namespace {

class Documents : public WindowFixture {
protected:
    // Types text at the end of the editor as an edit of the user's would.
    static void Edit(TZandorF& w, const std::string& text = "!") {
        w.m->SetSelStart(w.m->CharCount());
        w.m->SetSelText(text);
        ASSERT_TRUE(w.DocumentModified);
    }

    std::vector<std::string> RecentCaptions(TZandorF& w) {
        std::vector<std::string> captions;
        for (const QAction* item : w.Menu.file_recentfiles->actions())
            captions.push_back(item->text().toStdString());
        return captions;
    }

    // Drops files on a widget of the window as a file manager would.
    static bool Drop(QWidget* target, const std::vector<std::string>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& file : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(file));
        data.setUrls(urls);
        const QPointF at(5, 5);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
};

} // namespace

// ---- opening

TEST_F(Documents, OpeningDecodesRepairsAndTakesTheFontOfTheType) {
    const std::string utf16 = dir.write("wide.txt", QByteArray("\xFF\xFE"
                                                               "a\0\r\0\n\0\xAC\x20",
                                                               10));
    const std::string doubled = dir.write("Doubled.NFO", "one\r\r\ntwo");
    auto w = Create(utf16);
    EXPECT_EQ("a\r\n\x80", w->m->Text());
    EXPECT_EQ("MS Sans Serif", w->m->Font().Name);
    ASSERT_TRUE(w->Documents->LoadFile(doubled));
    EXPECT_EQ(2, w->m->ParagraphCount());
    EXPECT_EQ("ZandorLarge", w->m->Font().Name);
    EXPECT_EQ(255, w->m->Font().Charset);
    EXPECT_EQ(".nfo", w->CurrentExt);
    EXPECT_FALSE(w->m->CanUndo());
    w->Settings.Convert = false;
    ASSERT_TRUE(w->Documents->LoadFile(doubled));
    EXPECT_EQ(3, w->m->ParagraphCount());
    // An empty name, as a second start without an argument hands over, changes nothing at all.
    Edit(*w);
    const QRect bounds = w->geometry();
    EXPECT_FALSE(w->Documents->LoadFile(""));
    EXPECT_EQ(doubled, w->CurrentFile);
    EXPECT_TRUE(w->DocumentModified);
    EXPECT_EQ(bounds, w->geometry());
    EXPECT_EQ(2u, w->Settings.RecentFiles.size());
    EXPECT_TRUE(errors.empty());
}

// A file that reads slowly: the status panel, painted while the reading goes on, says how far it
// has come, and shows the caret's place again after it. The window cannot be closed meanwhile, and
// a file asked for by a second start during the load opens after it.
TEST_F(Documents, ASlowLoadShowsItsProgressWhileTheWindowPaints) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "line " + std::to_string(i) + "\n";
    const std::string slow = dir.write("slow.nfo", QByteArray::fromStdString(text));
    const std::string next = dir.write("next.txt", "next");
    auto w = Create();
    w->show();
    test::TLabelPaintProbe probe(w->lbPosition);
    w->Documents->ReadCall = [](int fd, void* buffer, size_t n) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return ::read(fd, buffer, std::min<size_t>(n, 1000));
    };
    bool closed = true;
    bool nextAccepted = true;
    QTimer::singleShot(300, [&] {
        closed = w->close();
        nextAccepted = w->Documents->LoadFile(next);
    });
    EXPECT_TRUE(w->Documents->LoadFile(slow));
    EXPECT_FALSE(closed);
    EXPECT_FALSE(nextAccepted);
    EXPECT_TRUE(w->isVisible());

    std::vector<int> percents;
    for (const QString& painted : probe.Painted)
        if (painted.startsWith(QStringLiteral("Loading ")))
            percents.push_back(painted.mid(8).chopped(1).toInt());
    ASSERT_GE(percents.size(), 2u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GT(percents.back(), percents.front());
    EXPECT_LE(percents.back(), 100);
    EXPECT_EQ(next, w->CurrentFile);
    EXPECT_EQ("next", w->m->Text());
    EXPECT_EQ(QStringLiteral("1,1"), w->lbPosition->text());
    EXPECT_TRUE(errors.empty());
}

struct Unopenable {
    const char* Name;
    const char* Reason;
};

class UnopenableFiles : public Documents, public ::testing::WithParamInterface<Unopenable> {};

TEST_P(UnopenableFiles, AreReportedAndLeaveTheTextItsNameAndItsChanges) {
    const std::string kept = dir.write("kept.txt", "kept");
    auto w = Create(kept);
    Edit(*w);
    ASSERT_EQ(0, mkdir(dir.file("folder.txt").c_str(), 0755));
    // Read as UTF-8 because the user chose it for the name, its bytes are none.
    dir.write("not-utf8.txt", "caf\xE9");
    w->Settings.RecentEncodings[dir.file("not-utf8.txt")] = "utf-8";
    dir.write("large.txt", QByteArray(101, 'x'));
    dir.write("many-breaks.txt", QByteArray(60, '\n')); // 60 bytes, 120 positions
    dir.write("secret.txt", "secret");
    w->Documents->MaxTextLength = 100;
    std::unique_ptr<AsOrdinaryUser> user;
    if (std::string(GetParam().Name) == "secret.txt") {
        user = std::make_unique<AsOrdinaryUser>(dir);
        ASSERT_EQ(0, chmod(dir.file("secret.txt").c_str(), 0200));
    }
    const std::string name = dir.file(GetParam().Name);
    EXPECT_FALSE(w->Documents->LoadFile(name));
    user.reset();
    EXPECT_EQ("kept!", w->m->Text());
    EXPECT_EQ(kept, w->CurrentFile);
    EXPECT_TRUE(w->DocumentModified);
    EXPECT_EQ("Zandor - " + kept + " *", w->windowTitle().toStdString());
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find("Error\nThe file could not be opened.")) << errors[0];
    EXPECT_NE(std::string::npos, errors[0].find(name)) << errors[0];
    EXPECT_NE(std::string::npos, errors[0].find(GetParam().Reason)) << errors[0];
    // The name is offered again from the top of the recent files.
    EXPECT_EQ(name, w->Settings.RecentFiles.front());
}

INSTANTIATE_TEST_SUITE_P(Rows, UnopenableFiles,
                         ::testing::Values(Unopenable{"folder.txt", "folder"},
                                           Unopenable{"gone.txt", "No such file"},
                                           Unopenable{"not-utf8.txt", "no UTF-8 text"},
                                           Unopenable{"large.txt", "too large"},
                                           Unopenable{"many-breaks.txt", "too long"},
                                           Unopenable{"secret.txt", "Permission denied"}),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             name = name.substr(0, name.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// ---- the offer to save changes

enum class Way { Close, Open, New, Recent, Drop, HandOff };
enum class Reply { Cancel, No, YesSaved, YesFailing };

struct PromptRow {
    Way How;
    Reply Answer;
    bool GoesOn; // the text is replaced (or the window closes)
};

class ChangesPrompt : public Documents, public ::testing::WithParamInterface<PromptRow> {};

TEST_P(ChangesPrompt, GuardsEveryWayOfReplacingTheText) {
    const PromptRow& row = GetParam();
    const std::string file = dir.write("edited.txt", "text");
    const std::string other = dir.write("other.txt", "other");
    auto w = Create(file, true);
    w->Documents->RecentFiles.Add(other);
    w->show();
    Edit(*w, " and more");
    answers = {row.Answer == Reply::Cancel ? TAnswer::Cancel
               : row.Answer == Reply::No   ? TAnswer::No
                                           : TAnswer::Yes};
    int failingWrites = 0;
    platform::TFileCalls failing = platform::TFileCalls::System();
    failing.Write = [&](int, const void*, size_t) -> ssize_t {
        ++failingWrites;
        errno = ENOSPC;
        return -1;
    };
    if (row.Answer == Reply::YesFailing)
        w->Documents->FileCalls = &failing;
    openAnswer = other;

    bool closed = false;
    switch (row.How) {
    case Way::Close:
        closed = w->close();
        break;
    case Way::Open:
        w->Menu.Open1->trigger();
        break;
    case Way::New:
        w->Menu.New2->trigger();
        break;
    case Way::Recent:
        w->Menu.file_recentfiles->actions().front()->trigger();
        break;
    case Way::Drop:
        ASSERT_TRUE(Drop(w->m, {other}));
        break;
    case Way::HandOff:
        w->NewFileWndProc(other);
        w->Timer1Timer();
        break;
    }
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ("The text has been changed. Do you want to save the changes?", questions[0]);
    const bool replaced = row.How == Way::Close ? closed : w->CurrentFile != file;
    EXPECT_EQ(row.GoesOn, replaced);
    const bool saved = row.Answer == Reply::YesSaved;
    EXPECT_EQ(saved ? "text and more" : "text", readFile(file).toStdString());
    if (!row.GoesOn) {
        EXPECT_EQ("text and more", w->m->Text());
        EXPECT_TRUE(w->DocumentModified);
    }
    EXPECT_EQ(row.Answer == Reply::YesFailing, failingWrites > 0);
    EXPECT_EQ(row.Answer == Reply::YesFailing ? 1u : 0u, errors.size());
}

std::vector<PromptRow> PromptRows() {
    std::vector<PromptRow> rows;
    for (const Way how : {Way::Close, Way::Open, Way::New, Way::Recent, Way::Drop, Way::HandOff}) {
        rows.push_back({how, Reply::Cancel, false});
        rows.push_back({how, Reply::No, true});
        rows.push_back({how, Reply::YesSaved, true});
        // A save that fails keeps the edits in the window: nothing goes on.
        rows.push_back({how, Reply::YesFailing, false});
    }
    return rows;
}

std::string PromptRowName(const ::testing::TestParamInfo<PromptRow>& info) {
    const char* ways[] = {"Close", "Open", "New", "Recent", "Drop", "HandOff"};
    const char* replies[] = {"Cancel", "No", "YesSaved", "YesFailing"};
    return std::string(ways[int(info.param.How)]) + replies[int(info.param.Answer)];
}

INSTANTIATE_TEST_SUITE_P(Rows, ChangesPrompt, ::testing::ValuesIn(PromptRows()), PromptRowName);

TEST_F(Documents, NothingIsAskedWhenTheTextIsUnchangedOrTheOptionIsOff) {
    const std::string file = dir.write("a.txt", "a");
    auto w = Create(file);
    EXPECT_FALSE(w->Documents->AskSaveChanges());
    Edit(*w);
    w->Settings.AskChanges = false;
    EXPECT_FALSE(w->Documents->AskSaveChanges());
    EXPECT_TRUE(questions.empty());
}

// ---- saving

TEST_F(Documents, SaveWritesCrLfBreaksAndKeepsTheFilesModeAndLink) {
    const std::string real = dir.write("real/unix.txt", "one\ntwo\n\nthree\n");
    ASSERT_EQ(0, chmod(real.c_str(), 0640));
    ASSERT_EQ(0, symlink("real/unix.txt", dir.file("link.txt").c_str()));
    for (const bool convert : {true, false}) {
        Store().WriteBool("Options", "Convert", convert);
        dir.write("real/unix.txt", "one\ntwo\n\nthree\n");
        auto w = Create(dir.file("link.txt"));
        Edit(*w, "four");
        w->buttonsave->click();
        EXPECT_EQ("one\r\ntwo\r\n\r\nthree\r\nfour", readFile(real).toStdString());
        struct stat st {};
        ASSERT_EQ(0, lstat(dir.file("link.txt").c_str(), &st));
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        ASSERT_EQ(0, stat(real.c_str(), &st));
        EXPECT_EQ(0640u, st.st_mode & 07777);
        EXPECT_FALSE(w->DocumentModified);
        EXPECT_FALSE(w->buttonsave->isEnabled());
        EXPECT_EQ("Zandor - " + dir.file("link.txt"), w->windowTitle().toStdString());
    }
}

struct SaveFailure {
    const char* Name;
};

class FailingSave : public Documents, public ::testing::WithParamInterface<SaveFailure> {};

TEST_P(FailingSave, LeavesTheOldFileAndTheChangesAndSays104) {
    const std::string name = GetParam().Name;
    const std::string file = dir.write("docs/old.txt", "the old text\r\nwhole");
    auto w = Create(file);
    Edit(*w, std::string(3 << 20, 'x'));
    platform::TFileCalls calls = platform::TFileCalls::System();
    int writes = 0;
    calls.Write = [&](int fd, const void* data, size_t n) -> ssize_t {
        if (++writes == 2) { // the disk fills after the first write
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, n);
    };
    std::unique_ptr<AsOrdinaryUser> user;
    if (name == "DiskFullMidwayInAReadOnlyFolder") {
        // Written over in place, since the folder takes no temporary file: the old bytes come back.
        user = std::make_unique<AsOrdinaryUser>(dir);
        ASSERT_EQ(0, chmod(dir.file("docs").c_str(), 0555));
        w->Documents->FileCalls = &calls;
    } else if (name == "ReadOnlyFile") {
        user = std::make_unique<AsOrdinaryUser>(dir);
        ASSERT_EQ(0, chmod(file.c_str(), 0444));
    } else {
        w->Documents->FileCalls = &calls;
    }
    EXPECT_FALSE(w->Documents->Save());
    if (user) {
        ASSERT_EQ(0, chmod(dir.file("docs").c_str(), 0755));
    }
    user.reset();
    EXPECT_EQ("the old text\r\nwhole", readFile(file).toStdString());
    EXPECT_EQ(QDir(QString::fromStdString(dir.file("docs"))).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("old.txt")}));
    EXPECT_TRUE(w->DocumentModified);
    EXPECT_TRUE(w->buttonsave->isEnabled());
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find("Error\nThe file could not be saved.")) << errors[0];
    EXPECT_NE(std::string::npos, errors[0].find(file)) << errors[0];
}

INSTANTIATE_TEST_SUITE_P(Rows, FailingSave,
                         ::testing::Values(SaveFailure{"DiskFullMidwayInAReadOnlyFolder"},
                                           SaveFailure{"ReadOnlyFile"}, SaveFailure{"DiskFullMidway"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Documents, ZeroBytesAndUtf16AreAskedAboutBeforeTheFileIsSavedOver) {
    const std::string zeros = dir.write("zeros.nfo", QByteArray("art\0work\r\n\0end", 14));
    auto w = Create(zeros);
    EXPECT_EQ("art work\r\n end", w->m->Text());
    // No: nothing is written, the document stays as it was.
    answers = {TAnswer::No};
    EXPECT_FALSE(w->Documents->Save());
    EXPECT_EQ(QByteArray("art\0work\r\n\0end", 14), readFile(zeros));
    ASSERT_EQ(1u, questions.size());
    EXPECT_NE(std::string::npos, questions[0].find("2 zero bytes")) << questions[0];
    // Yes: the blanks are saved as spaces and nothing after a zero is lost; the next save asks no more.
    answers = {TAnswer::Yes};
    EXPECT_TRUE(w->Documents->Save());
    EXPECT_EQ("art work\r\n end", readFile(zeros).toStdString());
    EXPECT_TRUE(w->Documents->Save());
    EXPECT_EQ(2u, questions.size());

    const std::string wide = dir.write("wide.txt", QByteArray("\xFF\xFE"
                                                              "a\0\x00\x01",
                                                              6));
    ASSERT_TRUE(w->Documents->LoadFile(wide));
    // Saved elsewhere, the UTF-16 file itself stays: nothing to ask. The copy is UTF-16 too, with
    // the "?" the character set showed for U+0100.
    saveAnswer = dir.file("copy.txt");
    EXPECT_TRUE(w->Documents->SaveAs());
    const QByteArray saved("\xFF\xFE"
                           "a\0?\0",
                           6);
    EXPECT_EQ(saved, readFile(dir.file("copy.txt")));
    ASSERT_TRUE(w->Documents->LoadFile(wide));
    answers = {TAnswer::Yes};
    EXPECT_TRUE(w->Documents->Save());
    ASSERT_EQ(3u, questions.size());
    EXPECT_NE(std::string::npos, questions[2].find("CP1252")) << questions[2];
    EXPECT_NE(std::string::npos, questions[2].find("1 characters")) << questions[2];
    EXPECT_EQ(saved, readFile(wide));
}

TEST_F(Documents, SaveAsProposesANameAndTakesTheChosenOne) {
    auto w = Create();
    Edit(*w, "new text");
    w->Settings.LastDir = dir.path() + "/";
    // "Save" of an unnamed text is "Save as"; cancelling it changes nothing.
    w->Menu.Save2->trigger();
    ASSERT_EQ(1u, saveRequests.size());
    EXPECT_EQ(dir.path() + "/", saveRequests[0].InitialFolder);
    EXPECT_EQ(".txt", saveRequests[0].FileName);
    EXPECT_EQ("All files (*.*)|*.*|Zandor files (*.diz;*.nfo;*.txt;*.ini)|*.diz;*.nfo;*.txt;*.ini",
              saveRequests[0].Filter);
    EXPECT_TRUE(w->DocumentModified);

    // Without AddTxt a name without extension is taken as it is.
    saveAnswer = dir.file("sub/readme");
    ASSERT_EQ(0, mkdir(dir.file("sub").c_str(), 0755));
    w->Menu.Saveas1->trigger();
    EXPECT_EQ("new text", readFile(dir.file("sub/readme")).toStdString());
    EXPECT_EQ(dir.file("sub/readme"), w->CurrentFile);
    EXPECT_EQ(dir.file("sub/"), w->Settings.LastDir);
    EXPECT_EQ("Zandor - " + dir.file("sub/readme"), w->windowTitle().toStdString());
    EXPECT_EQ(dir.file("sub/readme"), w->Settings.RecentFiles.front());

    // With AddTxt ".txt" is added; a file of that name is asked about first, since the dialog asked
    // only about the name without it.
    w->Settings.AddTxt = true;
    dir.write("sub/notes.txt", "older notes");
    saveAnswer = dir.file("sub/notes");
    answers = {TAnswer::No};
    w->Documents->SaveAs();
    EXPECT_EQ("older notes", readFile(dir.file("sub/notes.txt")).toStdString());
    EXPECT_EQ(dir.file("sub/readme"), w->CurrentFile);
    answers = {TAnswer::Yes};
    w->Documents->SaveAs();
    EXPECT_EQ("new text", readFile(dir.file("sub/notes.txt")).toStdString());
    EXPECT_EQ(dir.file("sub/notes.txt"), w->CurrentFile);

    // A new type brings its font at once; a failing save keeps the old name.
    saveAnswer = dir.file("sub/art.nfo");
    w->Documents->SaveAs();
    EXPECT_EQ("notes.txt", saveRequests.back().FileName);
    EXPECT_EQ("ZandorLarge", w->m->Font().Name);
    saveAnswer = dir.file("missing-folder/x.diz");
    Edit(*w);
    EXPECT_FALSE(w->Documents->SaveAs());
    EXPECT_EQ(dir.file("sub/art.nfo"), w->CurrentFile);
    EXPECT_EQ(".nfo", w->CurrentExt);
    EXPECT_EQ(1u, errors.size());
}

// ---- New, recent files, dropped files, properties, fonts

TEST_F(Documents, NewEmptiesTheTextAndForgetsTheName) {
    Store().WriteString("Options", "Font5", "Courier New,10,0000,clRed");
    auto w = Create(dir.write("art.nfo", "art"));
    Store().WriteString("Fonts", ".nfo", "ZandorTiny,6,0000,clWhite");
    w->Documents->Fonts.SetFont("Fonts", ".nfo");
    w->Menu.New1->trigger();
    EXPECT_EQ("", w->m->Text());
    EXPECT_FALSE(w->m->CanUndo());
    EXPECT_EQ("", w->CurrentFile);
    EXPECT_EQ("", w->CurrentExt);
    EXPECT_EQ("Other", w->WindowSection);
    EXPECT_EQ("Zandor", w->windowTitle().toStdString());
    EXPECT_EQ("Courier New", w->m->Font().Name);
}

TEST_F(Documents, RecentFilesKeepNineNamesShowThemWholeAndOpenThem) {
    auto w = Create("", true);
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i)
        files.push_back(dir.write("R&D " + std::to_string(i) + ".txt", QByteArray::number(i)));
    for (const std::string& file : files)
        ASSERT_TRUE(w->Documents->LoadFile(file));
    const std::vector<std::string> captions = RecentCaptions(*w);
    ASSERT_EQ(9u, captions.size());
    // An '&' shows as itself, not as a mnemonic.
    EXPECT_EQ(QString::fromStdString(dir.file("R&&D 9.txt")).toStdString(), captions.front());
    QAction* oldest = w->Menu.file_recentfiles->actions().back();
    EXPECT_EQ(QString::fromStdString(files[1]).replace(QLatin1Char('&'), QStringLiteral("&&")),
              oldest->text());
    oldest->trigger();
    EXPECT_EQ(files[1], w->CurrentFile);
    EXPECT_EQ(files[1], w->Settings.RecentFiles.front());
    EXPECT_EQ(9u, RecentCaptions(*w).size());
    // A vanished entry fails and stays on top. A name taken from a full list makes room first, so
    // the oldest goes as well. The list is stored under "0" onwards.
    std::remove(files[5].c_str());
    w->Menu.file_recentfiles->actions()[5]->trigger();
    EXPECT_EQ(1u, errors.size());
    EXPECT_EQ(files[5], w->Settings.RecentFiles.front());
    w->close();
    CreateSettingsStore(startup);
    EXPECT_EQ(files[5], Store().ReadString("Recent Files", "0", ""));
    EXPECT_EQ(files[1], Store().ReadString("Recent Files", "1", ""));
    EXPECT_EQ(files[3], Store().ReadString("Recent Files", "7", ""));
    EXPECT_EQ("", Store().ReadString("Recent Files", "8", ""));
    auto again = Create();
    EXPECT_EQ(8u, RecentCaptions(*again).size());
    EXPECT_TRUE(again->Menu.file_recentfiles->menuAction()->isEnabled());
}

TEST_F(Documents, ADropOpensTheFirstDroppedFileWhereverItLands) {
    const std::string first = dir.write("first.nfo", "first");
    const std::string second = dir.write("second.txt", "second");
    ASSERT_EQ(0, mkdir(dir.file("folder").c_str(), 0755));
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(Drop(w->m, {first, second, dir.file("folder")}));
    EXPECT_EQ(first, w->CurrentFile);
    EXPECT_EQ(3, w->FileDrag1->FileCount());
    EXPECT_EQ(QPoint(5, 5) + w->m->mapTo(w.get(), QPoint(0, 0)), w->FileDrag1->DropPoint());
    ASSERT_TRUE(Drop(w->PanelBottom, {second}));
    EXPECT_EQ(second, w->CurrentFile);
    // A folder first opens nothing.
    ASSERT_TRUE(Drop(w->ToolBar1, {dir.file("folder"), first}));
    EXPECT_EQ(second, w->CurrentFile);
    EXPECT_TRUE(errors.empty());
    // Not a file at all: not taken.
    QMimeData text;
    text.setText(QStringLiteral("plain text"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->m, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(Documents, PropertiesShowWhatTheFileSystemKnowsOfTheFile) {
    const std::string file = dir.write("props.txt", QByteArray(2048, 'p'));
    ASSERT_EQ(0, chmod(file.c_str(), 0640));
    auto w = Create(file);
    w->File1Click();
    ASSERT_TRUE(w->Menu.Properties1->isEnabled());
    w->Menu.Properties1->trigger();
    auto* window = w->findChild<TFileProperties*>();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QStringLiteral("props.txt"), window->findChild<QLabel*>(QStringLiteral("name"))->text());
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("size"))
                    ->text()
                    .endsWith(QStringLiteral("(") + QLocale().toString(2048) + QStringLiteral(" bytes)")));
    EXPECT_EQ(QStringLiteral("rw-r----- (0640)"),
              window->findChild<QLabel*>(QStringLiteral("permissions"))->text());
    window->close();
    std::remove(file.c_str());
    w->File1Click();
    EXPECT_FALSE(w->Menu.Properties1->isEnabled());
}

TEST_F(Documents, TheFontCommandsSetAndStoreTheFontOrChangeNothing) {
    auto w = Create(dir.write("art.nfo", "art"));
    const platform::FontValue before = w->m->Font();
    w->Menu.SetFont1->trigger(); // cancelled
    EXPECT_EQ(before, w->m->Font());
    platform::FontValue chosen;
    chosen.Name = "Courier New";
    chosen.Size = 12;
    chosen.Style = platform::fsBold;
    chosen.Color = platform::clYellow;
    chosen.Charset = platform::OEM_CHARSET;
    fontAnswer = chosen;
    w->Menu.SetFont2->trigger();
    EXPECT_EQ(chosen, w->m->Font());
    EXPECT_EQ("Courier New,12,1000,clYellow", Store().ReadString("Fonts", ".nfo", ""));
    EXPECT_EQ(255, Store().ReadInteger("Fonts", ".nfo_Charset", 0));
    chosen.Name = "ZandorTiny";
    fontAnswer = chosen;
    w->Menu.SetFont1->trigger();
    EXPECT_EQ("ZandorTiny,12,1000,clYellow", Store().ReadString("Options", "Font5", ""));
    // The type's own font still wins when a file of that type is opened.
    ASSERT_TRUE(w->Documents->LoadFile(dir.write("more.nfo", "more")));
    EXPECT_EQ("Courier New", w->m->Font().Name);
    // Without an extension the command for one does nothing.
    w->Menu.New1->trigger();
    chosen.Name = "Liberation Mono";
    fontAnswer = chosen;
    w->Menu.SetFont2->trigger();
    EXPECT_EQ("ZandorTiny", w->m->Font().Name);
}
