#include "app/ZandorF.h"

#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace zandor;
using zandor::test::EnvGuard;
using zandor::test::ScratchDir;

namespace {

// A portable start in a scratch folder, with its own runtime folder.
struct Window : ::testing::Test {
    ScratchDir dir;
    EnvGuard runtime{"XDG_RUNTIME_DIR", dir.path()};
    TStartup startup;
    std::vector<std::string> messages;

    void SetUp() override { chmod(dir.path().c_str(), 0700); }

    std::unique_ptr<TZandorF> Create(const std::string& file = "") {
        dir.write("usb.dat", "");
        ChooseSettingsLocation(startup, dir.path(), "");
        CreateSettingsStore(startup);
        PrepareHandOff(startup);
        auto window = std::make_unique<TZandorF>(startup, file);
        window->ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        return window;
    }
};

} // namespace

TEST_F(Window, TitleFollowsTheFileAndTheModifiedState) {
    auto w = Create();
    EXPECT_EQ("Zandor", w->windowTitle().toStdString());
    w->DocumentModified = true;
    w->UpdateTitle();
    EXPECT_EQ("Zandor *", w->windowTitle().toStdString());
    EXPECT_EQ("Zandor *", w->ApplicationTitle);

    const std::string file = dir.write("docs/Art.NFO", "x");
    ASSERT_TRUE(w->LoadFile(file));
    EXPECT_EQ("Zandor - " + file, w->windowTitle().toStdString());
    EXPECT_EQ("Art.NFO", w->ApplicationTitle);
    EXPECT_EQ(".nfo", w->CurrentExt);
    EXPECT_EQ("nfo", w->WindowSection);
    w->DocumentModified = true;
    w->UpdateTitle();
    EXPECT_EQ("Zandor - " + file + " *", w->windowTitle().toStdString());
    EXPECT_EQ("* Art.NFO", w->ApplicationTitle);
}

struct SectionRow {
    const char* name;
    const char* section;
};

class WindowSectionRows : public Window, public ::testing::WithParamInterface<SectionRow> {};

TEST_P(WindowSectionRows, ComesFromAnExtensionOfThreeOrMoreLetters) {
    auto w = Create();
    w->CurrentFile = GetParam().name;
    w->UpdateTitle();
    EXPECT_EQ(GetParam().section, w->WindowSection);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowSectionRows,
                         ::testing::Values(SectionRow{"/a/b.nfo", "nfo"}, SectionRow{"/a/b.NFO", "nfo"},
                                           SectionRow{"/a/b.html", "html"}, SectionRow{"/a/b.c", "Other"},
                                           SectionRow{"/a/b.md", "Other"},
                                           SectionRow{"/a.dir/readme", "Other"}, SectionRow{"", "Other"}));

TEST_F(Window, AnExistingFileNamedAtStartIsOpened) {
    const std::string file = dir.write("art.diz", "x");
    auto w = Create(file);
    EXPECT_EQ(file, w->CurrentFile);
    auto other = Create(dir.file("missing.nfo"));
    EXPECT_EQ("", other->CurrentFile);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Window, AHandedOverNameIsOpenedOnTheTimer) {
    auto w = Create();
    const std::string file = dir.write("handed.nfo", "x");
    std::memcpy(startup.SharedMem->Data, file.c_str(), file.size() + 1);
    w->NewFileWndProc();
    EXPECT_TRUE(w->Timer1->isActive());
    QDeadlineTimer deadline(5000);
    while (w->CurrentFile.empty() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_FALSE(w->Timer1->isActive()); // one message, one tick
}

TEST_F(Window, AnEmptyHandedOverNameChangesNothing) {
    const std::string file = dir.write("open.nfo", "x");
    auto w = Create(file);
    startup.SharedMem->Data[0] = 0;
    w->Timer1Timer();
    EXPECT_EQ(file, w->CurrentFile);
    EXPECT_FALSE(w->DocumentModified);
}

TEST_F(Window, ClosingSavesTheSettings) {
    {
        auto w = Create();
        w->Settings.OnTop = true;
        w->Settings.FindText = "needle";
        w->close();
    }
    const QByteArray ini = zandor::test::readFile(dir.file("Zandor.ini"));
    EXPECT_NE(-1, ini.indexOf("OnTop=1"));
    EXPECT_NE(-1, ini.indexOf("Text=needle"));
    EXPECT_NE(-1, ini.indexOf("Version=4.8"));
}

TEST_F(Window, AnUnwritableSettingsFileIsReportedOnceAndTheWindowStillCloses) {
    auto w = Create();
    w->show();
    // A folder where the settings file should be makes every write of it fail, even for root.
    ASSERT_EQ(0, mkdir(dir.file("Zandor.ini").c_str(), 0700));
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(1u, messages.size());
    EXPECT_NE(std::string::npos, messages[0].find("Zandor.ini"));
    w->close();
    EXPECT_EQ(1u, messages.size());
}
