#include "platform/IniFile.h"

#include "platform/PlatformErrors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using zandor::platform::FileError;
using zandor::platform::IniFile;
using zandor::test::AsOrdinaryUser;
using zandor::test::readFile;
using zandor::test::ScratchDir;

namespace {

// Lowers the file-size limit so that the next write fails part-way, the way a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

std::string flushed(IniFile& ini) {
    ini.Flush();
    return readFile(ini.FileName()).toStdString();
}

} // namespace

class IniFileRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(IniFileRoundTrip, UntouchedFileIsWrittenBackByteForByte) {
    ScratchDir dir;
    const std::string path = dir.write("Zandor.ini", GetParam());
    IniFile ini(path);
    EXPECT_EQ(flushed(ini), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Layouts, IniFileRoundTrip,
                         ::testing::Values("[Options]\nWordWrap=1\n",
                                           "[Options]\r\nWordWrap=1\r\n\r\n; note\r\n[Find]\r\nText=a\r\n",
                                           "; leading comment\n\nstray line\n[A]\n  x = 1 \n\n\n[B]\ny=2",
                                           "[A]\nno equals here\n# hash=comment?\n;k=v\n\n", ""));

TEST(IniFile, EditsKeepEveryOtherLineAndTheLineEnding) {
    ScratchDir dir;
    const std::string path = dir.write("Zandor.ini", "; settings\r\n"
                                                     "[Options]\r\n"
                                                     "  WordWrap = 0\r\n"
                                                     "; keep me\r\n"
                                                     "Spaces=1\r\n"
                                                     "\r\n"
                                                     "\r\n"
                                                     "[Find]\r\n"
                                                     "Text=abc\r\n");
    IniFile ini(path);
    ini.Write("options", "WORDWRAP", "1");
    ini.Write("Options", "Returns", "0");
    ini.Write("Recent Files", "0", "/tmp/a.nfo");
    EXPECT_EQ(flushed(ini), "; settings\r\n"
                            "[Options]\r\n"
                            "  WordWrap =1\r\n"
                            "; keep me\r\n"
                            "Spaces=1\r\n"
                            "Returns=0\r\n"
                            "\r\n"
                            "\r\n"
                            "[Find]\r\n"
                            "Text=abc\r\n"
                            "\r\n"
                            "[Recent Files]\r\n"
                            "0=/tmp/a.nfo\r\n");
}

TEST(IniFile, NamesCompareWithoutLetterCase) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "[Fonts]\n.NFO=Terminal,9,0000,clWhite\n"));
    EXPECT_EQ(ini.Read("FONTS", ".nfo"), "Terminal,9,0000,clWhite");
    EXPECT_TRUE(ini.SectionExists("fonts"));
    EXPECT_TRUE(ini.ValueExists("fonts", ".Nfo"));
    EXPECT_FALSE(ini.ValueExists("fonts", ".diz"));
    EXPECT_FALSE(ini.ValueExists("Other", ".nfo"));
}

TEST(IniFile, ValueIsEverythingAfterTheFirstEquals) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "[S]\n  Key\t=  a=b \nEmpty=\n"));
    EXPECT_EQ(ini.Read("S", "Key"), "  a=b ");
    EXPECT_EQ(ini.Read("S", "Empty"), "");
    EXPECT_EQ(ini.Read("S", "Missing"), std::nullopt);

    ini.Write("S", "New", " x=y");
    ini.Flush();
    IniFile again(ini.FileName());
    EXPECT_EQ(again.Read("s", "new"), " x=y");
}

TEST(IniFile, CommentsAndKeysOutsideSectionsAreNoValues) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "Top=1\n[S]\n;Hidden=1\n[T]\n"));
    EXPECT_FALSE(ini.ValueExists("S", ";Hidden"));
    EXPECT_FALSE(ini.ValueExists("S", "Hidden"));
    EXPECT_FALSE(ini.ValueExists("", "Top"));
    EXPECT_TRUE(ini.SectionExists("T"));
}

TEST(IniFile, FirstOfDuplicateKeysIsReadAndReplaced) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "[S]\nk=1\nk=2\n[S]\nk=3\n"));
    EXPECT_EQ(ini.Read("S", "k"), "1");
    ini.Write("S", "k", "9");
    EXPECT_EQ(flushed(ini), "[S]\nk=9\nk=2\n[S]\nk=3\n");
    ini.DeleteKey("S", "K");
    EXPECT_FALSE(ini.ValueExists("S", "k"));
    EXPECT_EQ(flushed(ini), "[S]\n[S]\n");
}

TEST(IniFile, MissingFileGivesEmptyStoreAndIsCreatedByFlush) {
    ScratchDir dir;
    IniFile ini(dir.file("none.ini"));
    EXPECT_FALSE(ini.SectionExists("Options"));
    EXPECT_EQ(ini.Read("Options", "WordWrap"), std::nullopt);
    ini.Write("Options", "WordWrap", "1");
    ini.Write("Info", "Version", "4.8");
    EXPECT_EQ(flushed(ini), "[Options]\nWordWrap=1\n\n[Info]\nVersion=4.8\n");
}

TEST(IniFile, NewKeyInKeylessSectionFollowsItsHeader) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "[A]\n\n[B]\nx=1"));
    ini.Write("A", "k", "v");
    ini.Write("B", "y", "2");
    EXPECT_EQ(flushed(ini), "[A]\nk=v\n\n[B]\nx=1\ny=2\n");
}

TEST(IniFile, EraseSectionRemovesEveryBlockOfThatName) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "; c\n[Keep]\na=1\n[drop]\nb=2\n\n[Keep2]\n[DROP]\nc=3\n"));
    ini.EraseSection("Drop");
    EXPECT_FALSE(ini.SectionExists("drop"));
    EXPECT_EQ(flushed(ini), "; c\n[Keep]\na=1\n[Keep2]\n");
}

TEST(IniFile, AValueWithALineBreakIsNotStoredAndNoOlderValueStandsInForIt) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "[Recent Files]\n0=/art/old.nfo\n1=/art/b.nfo\n"));
    // Cutting the name at its line break would store another, possibly existing, file's name.
    EXPECT_FALSE(ini.Write("Recent Files", "0", "/art/two\nlines.nfo"));
    EXPECT_FALSE(ini.Write("Find", "Text", "abc\r\nOneInstance=1"));
    EXPECT_EQ(ini.Read("Recent Files", "0"), std::nullopt);
    EXPECT_EQ(flushed(ini), "[Recent Files]\n1=/art/b.nfo\n");
}

// Random files made of the pieces that trouble a line reader: reading, writing and reading again
// must give the same values, and an untouched file goes back byte for byte.
TEST(IniFile, LoadFlushLoadIsStableForAnyBytes) {
    const char* pieces[] = {"[S]", "[s]",  "[T",           "]",   "k", "K", "=", "v", " ", "\t", ";", "\r",
                            "\n",  "\r\n", "\xEF\xBB\xBF", "\xE9"};
    const char* keys[] = {"k", "K", "x", "y"};
    std::mt19937 random(12);
    ScratchDir dir;
    for (int round = 0; round < 800; ++round) {
        // The first round is a value ending in a CR of its own, in a file of LF line endings.
        std::string text = round == 0 ? "[S]\nk=v\r\r\n" : "";
        for (int n = round == 0 ? 0 : int(random() % 24); n > 0; --n)
            text += pieces[random() % std::size(pieces)];
        IniFile ini(dir.write("a.ini", QByteArray::fromStdString(text)));
        ASSERT_EQ(flushed(ini), text) << "round " << round;
        if (random() % 2)
            ini.Write(random() % 2 ? "S" : "T", keys[random() % std::size(keys)], "w");
        ini.Flush();
        IniFile again(ini.FileName());
        for (const char* section : {"S", "T"})
            for (const char* key : keys)
                ASSERT_EQ(ini.Read(section, key), again.Read(section, key))
                    << "round " << round << " " << section << "/" << key << " in "
                    << ::testing::PrintToString(text);
        ASSERT_EQ(flushed(again), readFile(ini.FileName()).toStdString()) << "round " << round;
    }
}

TEST(IniFile, FailedFlushThrowsAndKeepsTheOldFile) {
    ScratchDir dir;
    const std::string old = "[Options]\nWordWrap=0\n";
    const std::string path = dir.write("Zandor.ini", QByteArray::fromStdString(old));
    IniFile ini(path);
    ini.Write("Options", "Font5", std::string(4096, 'x'));
    {
        FileSizeLimit limit(64);
        try {
            ini.Flush();
            FAIL() << "Flush reported success";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u)
                << e.what();
        }
    }
    EXPECT_EQ(readFile(path).toStdString(), old);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "the temporary file was left behind";
}

TEST(IniFile, FlushIntoReadOnlyFolderThrowsAndKeepsTheOldFile) {
    ScratchDir dir;
    AsOrdinaryUser user(dir);
    const std::string path = dir.write("Zandor.ini", "[A]\nx=1\n");
    IniFile ini(path);
    ini.Write("A", "x", "2");
    ASSERT_EQ(0, chmod(dir.path().c_str(), 0555));
    EXPECT_THROW(ini.Flush(), FileError);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readFile(path).toStdString(), "[A]\nx=1\n");
}

TEST(IniFile, SignatureAtTheStartHidesNoSectionAndIsKept) {
    ScratchDir dir;
    IniFile ini(dir.write("a.ini", "\xEF\xBB\xBF[Options]\nWordWrap=0\n"));
    EXPECT_EQ(ini.Read("Options", "WordWrap"), "0");
    ini.Write("Options", "WordWrap", "1");
    EXPECT_EQ(flushed(ini), "\xEF\xBB\xBF[Options]\nWordWrap=1\n");
}

TEST(IniFile, FlushThroughASymbolicLinkReplacesTheLinkedFile) {
    ScratchDir dir;
    const std::string target = dir.write("real.ini", "[A]\nx=1\n");
    const std::string link = dir.file("Zandor.ini");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    IniFile ini(link);
    ini.Write("A", "x", "2");
    ini.Flush();
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(target).toStdString(), "[A]\nx=2\n");
}

TEST(IniFile, FlushThroughALinkToNothingCreatesItsTargetAndKeepsTheLink) {
    ScratchDir dir;
    const std::string link = dir.file("Zandor.ini");
    ASSERT_EQ(symlink("synced/real.ini", link.c_str()), 0);
    ASSERT_EQ(0, mkdir(dir.file("synced").c_str(), 0700));
    IniFile ini(link);
    EXPECT_EQ("", ini.LoadError());
    ini.Write("A", "x", "1");
    ini.Flush();
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(dir.file("synced/real.ini")).toStdString(), "[A]\nx=1\n");
}

TEST(IniFile, FlushKeepsTheFileMode) {
    ScratchDir dir;
    const std::string path = dir.write("Zandor.ini", "[A]\n");
    chmod(path.c_str(), 0640);
    IniFile ini(path);
    ini.Write("A", "x", "1");
    ini.Flush();
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
