// The main window over a settings store in trouble, on real files: a folder that cannot be written,
// a file that cannot be read, values of the wrong type, names and values that a file cannot hold.
// Whatever the trouble, the window keeps running, says so once and loses no setting.
#include "WindowFixture.h"
#include "documents/Documents.h"
#include "printing/ArtMemoPrinter.h"
#include "printing/PrintCommands.h"

#include "platform/FileSystem.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

using namespace zandor;
using zandor::test::AsOrdinaryUser;
using zandor::test::readFile;
using zandor::test::ReplacementCounter;
using zandor::test::WindowFixture;

namespace {

class SettingsTrouble : public WindowFixture {
protected:
    std::string RegistryFile() const { return startup.DataFolder + "registry.reg"; }

    bool Reported(const std::string& part) const {
        return std::any_of(messages.begin(), messages.end(),
                           [&](const std::string& m) { return m.find(part) != std::string::npos; });
    }

    // Moves the window as a user would and lets the delayed bounds save run.
    void MoveAndWaitForTheSave(TZandorF& w, QPoint by) {
        w.move(w.pos() + by);
        ASSERT_TRUE(w.SaveBoundsTimer->isActive());
        ASSERT_TRUE(ProcessUntil([&] { return !w.SaveBoundsTimer->isActive(); }));
    }
};

} // namespace

TEST_F(SettingsTrouble, AReadOnlySettingsFolderIsReportedOnceAndTheWindowGoesOn) {
    UsePerUserStore();
    Store().WriteInteger("Other", "Width", 600); // an earlier run's settings
    auto w = Create("", true);
    w->show();
    ASSERT_TRUE(ProcessUntil([&] { return w->isVisible(); }));
    {
        AsOrdinaryUser user(dir);
        ASSERT_EQ(0, chmod(startup.DataFolder.c_str(), 0555));
        MoveAndWaitForTheSave(*w, QPoint(30, 20));
        MoveAndWaitForTheSave(*w, QPoint(10, 10));
        w->Menu.AllowonlyoneZandorinstance1->trigger();
        EXPECT_TRUE(w->isVisible());
        ASSERT_EQ(1u, messages.size());
        EXPECT_TRUE(Reported("Cannot create file \"" + RegistryFile() + "\"")) << messages[0];
        EXPECT_TRUE(w->close());
        EXPECT_EQ(1u, messages.size());
        chmod(startup.DataFolder.c_str(), 0755);
    }
    CreateSettingsStore(startup);
    EXPECT_EQ(600, Store().ReadInteger("Other", "Width", 0));
}

TEST_F(SettingsTrouble, ValuesOfTheWrongTypeKeepTheirDefaultAndAreRepairedByTheNextClose) {
    UsePerUserStore();
    Store().WriteString("Other", "Width", "687");
    Store().WriteString("nfo", "Width", "800");
    Store().WriteString("nfo", "Maximized", "0");
    Store().WriteString("Options", "OneInstance", "1");
    Store().WriteInteger("Options", "Font5", 7);
    Store().WriteString("Options", "Font5_Charset", "255");
    Store().WriteInteger("Fonts", ".nfo", 3);
    PrepareHandOff(startup);
    EXPECT_TRUE(startup.OneInstance) << "the user's choice reads through the wrong type";

    auto w = Create("", true);
    QApplication::processEvents();
    EXPECT_EQ(DefaultWindowSize("Other", workArea).width(), w->width());
    for (const char* name : {"Other_Width", "Options_OneInstance", "Options_Font5"})
        EXPECT_TRUE(Reported(name)) << name;
    // An art file of a type with bad bounds, opened on its own and handed over by a second start.
    const std::string art = dir.write("art.nfo", "x");
    ASSERT_TRUE(w->Documents->LoadFile(art));
    EXPECT_EQ(DefaultWindowSize("nfo", workArea).height(), w->height());
    w->NewFileWndProc(art);
    w->Timer1Timer();
    EXPECT_TRUE(Reported("nfo_Width"));
    EXPECT_TRUE(Reported("Fonts_.nfo"));
    const size_t reports = messages.size();
    ASSERT_TRUE(w->Documents->LoadFile(dir.write("other.nfo", "y")));
    EXPECT_EQ(reports, messages.size()) << "each bad value is told once";
    w->Documents->LoadFile(dir.write("plain.txt", "z")); // the type shown at close is not the one repaired
    ASSERT_TRUE(w->close());

    messages.clear();
    CreateSettingsStore(startup);
    PrepareHandOff(startup);
    EXPECT_TRUE(startup.OneInstance);
    auto again = Create(art, true);
    QApplication::processEvents();
    EXPECT_EQ(std::vector<std::string>{}, messages);
    EXPECT_EQ(1, Store().ReadInteger("Options", "OneInstance", 0));
}

namespace {

struct UnreadableRow {
    bool portable;
    bool folderInItsPlace; // otherwise a file without read permission
};

class UnreadableSettings : public SettingsTrouble, public ::testing::WithParamInterface<UnreadableRow> {};

} // namespace

TEST_P(UnreadableSettings, AreReportedOnceAndNeverWrittenOver) {
    if (!GetParam().portable)
        UsePerUserStore();
    const std::string file = GetParam().portable ? dir.file("Zandor.ini") : RegistryFile();
    const QByteArray before = GetParam().portable ? "[Options]\nOnTop=1\n"
                                                  : "Windows Registry Editor Version 5.00\n\n"
                                                    "[HKEY_CURRENT_USER\\Software\\Veltrane\\Zandor]\n"
                                                    "\"Options_OnTop\"=dword:00000001\n\n";
    AsOrdinaryUser user(dir);
    if (GetParam().folderInItsPlace)
        ASSERT_EQ(0, mkdir(file.c_str(), 0700));
    else
        ASSERT_EQ(0, chmod(dir.write(file.substr(dir.path().size() + 1), before).c_str(), 0));
    CreateSettingsStore(startup);
    auto w = Create("", true);
    QApplication::processEvents();
    EXPECT_FALSE(w->Settings.OnTop);
    ASSERT_EQ(1u, messages.size());
    EXPECT_TRUE(Reported("Cannot read file \"" + file + "\"")) << messages[0];
    w->move(w->pos() + QPoint(5, 5));
    w->SaveBoundsTimerTimer();
    EXPECT_TRUE(w->close());
    EXPECT_EQ(1u, messages.size());
    struct stat st {};
    ASSERT_EQ(0, stat(file.c_str(), &st));
    if (!GetParam().folderInItsPlace) {
        EXPECT_EQ(0u, st.st_mode & 0777);
        chmod(file.c_str(), 0600);
        EXPECT_EQ(before, readFile(file));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, UnreadableSettings,
                         ::testing::Values(UnreadableRow{true, false}, UnreadableRow{true, true},
                                           UnreadableRow{false, false}, UnreadableRow{false, true}));

namespace {

class HostileExtensions : public SettingsTrouble, public ::testing::WithParamInterface<bool> {};

} // namespace

// A file type names a settings section and a font key; one that the file could not give back must
// neither add a section at every run nor lose the window's place.
TEST_P(HostileExtensions, NeitherGrowTheSettingsNorLoseTheBounds) {
    if (!GetParam())
        UsePerUserStore();
    const std::string settings = GetParam() ? dir.file("Zandor.ini") : RegistryFile();
    Store().WriteBool("Options", "AutoWidth", false);
    Store().Flush();
    std::string afterFirstRun;
    for (int run = 0; run < 3; ++run) {
        auto w = Create("", true);
        w->show();
        for (const char* name : {"t.[1]", "a.x]y", "c.nfo\n[nfo]"}) {
            ASSERT_TRUE(w->Documents->LoadFile(dir.write(name, "text"))) << name;
            if (run == 0) {
                w->move(40, 60);
                w->resize(500, 300);
            } else {
                EXPECT_EQ(QSize(500, 300), w->size()) << name << " in run " << run;
            }
        }
        w->close();
        if (run == 1) {
            afterFirstRun = readFile(settings).toStdString();
        } else if (run == 2) {
            EXPECT_EQ(afterFirstRun, readFile(settings).toStdString());
        }
    }
    // No section or value for the hostile name itself (recent file names may hold it).
    EXPECT_EQ(std::string::npos, readFile(settings).toStdString().find("[[1]"));
    EXPECT_EQ(std::string::npos, readFile(settings).toStdString().find("\"[1]_"));
}

INSTANTIATE_TEST_SUITE_P(Backends, HostileExtensions, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Ini" : "Registry"; });

TEST_F(SettingsTrouble, ARecentFileWhoseNameHoldsALineBreakIsNeverStoredAsAnotherName) {
    dir.write("docs/a", "an existing file the cut name would point at");
    const std::string odd = dir.write("docs/a\nb.txt", "text");
    {
        auto w = Create(odd);
        ASSERT_EQ(odd, w->CurrentFile);
        w->close();
    }
    auto w = Create();
    for (const std::string& name : w->Settings.RecentFiles)
        EXPECT_EQ(odd, name);
}

TEST_F(SettingsTrouble, ClosingWritesThePerUserFileOnce) {
    UsePerUserStore();
    Store().WriteInteger("Options", "SelectedChar", 65);
    auto w = Create(dir.write("art.nfo", "x"), true);
    ReplacementCounter replacements(startup.DataFolder, "registry.reg");
    ASSERT_TRUE(w->close());
    EXPECT_EQ(1, replacements.Count());
    CreateSettingsStore(startup);
    EXPECT_EQ(65, Store().ReadInteger("Options", "SelectedChar", 0));
    EXPECT_EQ("4.8", Store().ReadString("Info", "Version", ""));
}

// Margins typed into the settings by hand or left by a broken file: none of them reaches the print
// layout, which keeps its own and lays a text out as always, and the close writes those back.
TEST_F(SettingsTrouble, StoredMarginsThatAreNoLengthOnPaperKeepTheDefaultsUntilTheCloseRepairsThem) {
    Store().WriteString("Options", "MarginLeft", "nan");
    Store().WriteString("Options", "MarginRight", "-1");
    Store().WriteString("Options", "MarginTop", "1e300");
    Store().WriteString("Options", "MarginBottom", "0");
    auto w = Create("", true);
    TArtMemoPrinter& layout = w->Printing->ArtMemoPrinter1;
    EXPECT_EQ(0.75f, layout.MarginLeft());
    EXPECT_EQ(0.5f, layout.MarginRight());
    EXPECT_EQ(0.75f, layout.MarginTop());
    EXPECT_EQ(0.75f, layout.MarginBottom());
    w->PrintMemo->SetTextBuf("one\r\ntwo\r\n\fthree");
    layout.FormatText();
    EXPECT_EQ(2, layout.PageCount());
    EXPECT_GT(layout.LinesPerPage(), 3);
    ASSERT_TRUE(w->close());
    CreateSettingsStore(startup);
    EXPECT_EQ("0.75", Store().ReadString("Options", "MarginLeft", ""));
    EXPECT_EQ("0.5", Store().ReadString("Options", "MarginRight", ""));
    EXPECT_EQ("0.75", Store().ReadString("Options", "MarginTop", ""));
    EXPECT_EQ("0.75", Store().ReadString("Options", "MarginBottom", ""));
}
