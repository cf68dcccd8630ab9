#include "platform/RegistryStore.h"

#include "platform/PlatformErrors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using zandor::platform::FileError;
using zandor::platform::RegistryError;
using zandor::platform::RegistryStore;
using zandor::test::AsOrdinaryUser;
using zandor::test::readFile;
using zandor::test::ReplacementCounter;
using zandor::test::ScratchDir;

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Veltrane\\Zandor]\n";

std::string fileText(const std::string& path) {
    return readFile(path).toStdString();
}

// A value as the program sees it: its type and contents.
std::string Describe(const RegistryStore& store, const std::string& name) {
    if (!store.ValueExists(name))
        return "missing";
    try {
        return "string " + store.ReadString(name).value_or("?");
    } catch (const RegistryError&) {
    }
    try {
        return "dword " + std::to_string(store.ReadInteger(name).value_or(0));
    } catch (const RegistryError&) {
    }
    return "other";
}

} // namespace

class RegistryStoreStrings : public ::testing::TestWithParam<std::string> {};

TEST_P(RegistryStoreStrings, StringSurvivesTheFile) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    {
        RegistryStore store(path);
        store.WriteString("Find_Text", GetParam());
    }
    RegistryStore reread(path);
    EXPECT_EQ(reread.ReadString("Find_Text"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Texts, RegistryStoreStrings,
                         ::testing::Values(std::string(), "abc", "say \"hi\"", "C:\\dir\\", "\\\"", "\"",
                                           "trailing backslash\\", "caf\xE9 \x80\xFF\x01", "two\nlines\r\n",
                                           "\"Other_Width\"=dword:00000001", std::string("nul\0byte", 8)));

class RegistryStoreIntegers : public ::testing::TestWithParam<int32_t> {};

TEST_P(RegistryStoreIntegers, IntegerSurvivesTheFile) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore(path).WriteInteger("Options_SelectedChar", GetParam());
    EXPECT_EQ(RegistryStore(path).ReadInteger("Options_SelectedChar"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryStoreIntegers,
                         ::testing::Values(0, 1, -1, 255, INT32_MAX, INT32_MIN, 0x004A0000));

TEST(RegistryStore, FileIsInTheExportFormatInInsertionOrder) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore store(path);
    store.WriteInteger("Options_WordWrap", 1);
    store.WriteString("Find_Text", "a\"b\\c");
    store.WriteInteger("Options_SelectedChar", -1);
    store.WriteInteger("options_wordwrap", 0);
    EXPECT_EQ(fileText(path), std::string(kHeader) + "\"Options_WordWrap\"=dword:00000000\n"
                                                     "\"Find_Text\"=\"a\\\"b\\\\c\"\n"
                                                     "\"Options_SelectedChar\"=dword:ffffffff\n"
                                                     "\n");
}

TEST(RegistryStore, ReadsAHandWrittenFileWithOtherTypesAndKeepsThem) {
    ScratchDir dir;
    const std::string path = dir.write("registry.reg", "Windows Registry Editor Version 5.00\r\n"
                                                       "\r\n"
                                                       "[HKEY_CURRENT_USER\\Software\\Veltrane\\Zandor]\r\n"
                                                       "\"Options_WordWrap\"=DWORD:0000000A\r\n"
                                                       "\"Blob\"=hex:01,02,\\\r\n"
                                                       "  03,04\r\n"
                                                       "\"Find_Text\" = \"x\"\r\n");
    RegistryStore store(path);
    EXPECT_EQ(store.ReadInteger("Options_WordWrap"), 10);
    EXPECT_EQ(store.ReadString("Find_Text"), "x");
    EXPECT_TRUE(store.ValueExists("blob"));
    EXPECT_THROW(store.ReadString("Blob"), RegistryError);

    store.WriteString("Find_Text", "y");
    EXPECT_EQ(fileText(path), std::string(kHeader) + "\"Options_WordWrap\"=dword:0000000a\n"
                                                     "\"Blob\"=hex:01,02,\\\n"
                                                     "  03,04\n"
                                                     "\"Find_Text\"=\"y\"\n"
                                                     "\n");
}

TEST(RegistryStore, ReadingWithTheOtherTypeFailsWithTheExactMessage) {
    ScratchDir dir;
    RegistryStore store(dir.file("registry.reg"));
    store.WriteString("Options_Language", "Automatic");
    store.WriteInteger("Options_WordWrap", 1);
    try {
        (void)store.ReadInteger("Options_Language");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Options_Language'");
    }
    try {
        (void)store.ReadString("Options_WordWrap");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Options_WordWrap'");
    }
}

TEST(RegistryStore, NamesIgnoreCaseKeepFirstSpellingAndNeverCollideAcrossSections) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore store(path);
    store.WriteInteger("Other_Width", 640);
    store.WriteInteger("nfo_Width", 800);
    store.WriteInteger("OTHER_WIDTH", 641);
    EXPECT_EQ(store.ReadInteger("other_width"), 641);
    EXPECT_EQ(store.ReadInteger("NFO_width"), 800);
    EXPECT_EQ(fileText(path), std::string(kHeader) + "\"Other_Width\"=dword:00000281\n"
                                                     "\"nfo_Width\"=dword:00000320\n\n");
}

TEST(RegistryStore, MissingFileIsEmptyAndNotCreatedUntilTheFirstWrite) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore store(path);
    EXPECT_FALSE(store.ValueExists("Options_WordWrap"));
    EXPECT_EQ(store.ReadString("Find_Text"), std::nullopt);
    EXPECT_EQ(store.ReadInteger("Options_WordWrap"), std::nullopt);
    store.DeleteValue("Find_Text");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
}

TEST(RegistryStore, EveryWriteLeavesACompletePrivateFile) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore store(path);
    for (int i = 0; i < 9; ++i) {
        const std::string name = "Recent Files_" + std::to_string(i);
        store.WriteString(name, "/home/u/file" + std::to_string(i) + ".nfo");

        RegistryStore other(path);
        for (int j = 0; j <= i; ++j)
            EXPECT_EQ(other.ReadString("Recent Files_" + std::to_string(j)),
                      "/home/u/file" + std::to_string(j) + ".nfo");
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    store.DeleteValue("recent files_4");
    EXPECT_FALSE(RegistryStore(path).ValueExists("Recent Files_4"));
    EXPECT_TRUE(RegistryStore(path).ValueExists("Recent Files_5"));
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "a temporary file was left behind";
}

TEST(RegistryStore, InstancesSharingTheFileKeepEachOthersValues) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore first(path);
    RegistryStore second(path);
    first.WriteString("Fonts_.diz", "Terminal,9,0000,clWhite");
    second.WriteInteger("nfo_Width", 800);
    EXPECT_EQ(second.ReadString("Fonts_.diz"), "Terminal,9,0000,clWhite");
    first.WriteInteger("nfo_Width", 640);
    EXPECT_EQ(second.ReadInteger("nfo_Width"), 640);
    second.DeleteValue("Fonts_.diz");
    EXPECT_FALSE(first.ValueExists("Fonts_.diz"));

    RegistryStore later(path);
    EXPECT_EQ(later.ReadInteger("nfo_Width"), 640);
    EXPECT_FALSE(later.ValueExists("Fonts_.diz"));
}

TEST(RegistryStore, WriteIntoMissingFolderThrowsFileError) {
    ScratchDir dir;
    RegistryStore store(dir.file("no/such/folder/registry.reg"));
    EXPECT_THROW(store.WriteInteger("Options_WordWrap", 1), FileError);
    EXPECT_FALSE(store.ValueExists("Options_WordWrap"));
}

// A value of another type whose last line ends in a continuation must not take in the line of the
// value written after it, on this load or any later one.
class RegistryStoreContinuations : public ::testing::TestWithParam<std::string> {};

TEST_P(RegistryStoreContinuations, DoNotSwallowTheValueWrittenAfterThem) {
    ScratchDir dir;
    const std::string path = dir.write("registry.reg", QByteArray::fromStdString(kHeader + GetParam()));
    RegistryStore(path).WriteString("Find_Text", "needle");
    RegistryStore(path).WriteInteger("Options_WordWrap", 1);
    const std::string settled = fileText(path);
    RegistryStore again(path);
    EXPECT_EQ(again.ReadString("Find_Text"), "needle");
    EXPECT_EQ(again.ReadInteger("Options_WordWrap"), 1);
    again.WriteString("Find_Text", "needle");
    EXPECT_EQ(fileText(path), settled) << "the file grows at every write";
}

INSTANTIATE_TEST_SUITE_P(Files, RegistryStoreContinuations,
                         ::testing::Values("\"Blob\"=hex:01,\\", "\"Blob\"=hex:01,\\\n",
                                           "\"Blob\"=hex:01,\\\r  \r\n", "\"Blob\"=hex:01,\\\r\\\r\n",
                                           "\"Blob\"=hex:01,\\\n  02,\\\\"));

// Random files of the pieces the reader treats specially: once the program has written a file,
// loading and writing it again changes nothing, and every value reads the same from both.
TEST(RegistryStore, WrittenFilesAreStableUnderLoadAndWrite) {
    const char* pieces[] = {"\"A\"", "\"B\"", "=",  "\"x\"", "dword:1", "hex:01",     "\\", "\\\\",
                            "\"",    " ",     "\r", "\n",    "\r\n",    "\"a\\\"b\"", ";c", "[k]"};
    const char* names[] = {"A", "B", "Find_Text"};
    std::mt19937 random(7);
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    for (int round = 0; round < 500; ++round) {
        std::string text = kHeader;
        for (int n = int(random() % 16); n > 0; --n)
            text += pieces[random() % std::size(pieces)];
        dir.write("registry.reg", QByteArray::fromStdString(text));
        RegistryStore(path).WriteString("Find_Text", "x");
        const std::string written = fileText(path);
        std::vector<std::string> before;
        for (const char* name : names)
            before.push_back(Describe(RegistryStore(path), name));
        RegistryStore(path).WriteString("Find_Text", "x");
        ASSERT_EQ(fileText(path), written) << "round " << round << " " << ::testing::PrintToString(text);
        for (size_t i = 0; i < std::size(names); ++i)
            ASSERT_EQ(before[i], Describe(RegistryStore(path), names[i])) << names[i] << " round " << round;
    }
}

TEST(RegistryStore, AnUpdateWritesTheFileOnceAndKeepsWhatOthersWroteMeanwhile) {
    ScratchDir dir;
    const std::string path = dir.file("registry.reg");
    RegistryStore(path).WriteInteger("Options_OnTop", 1);
    ReplacementCounter replacements(dir.path(), "registry.reg");
    RegistryStore store(path);
    store.BeginUpdate();
    for (int i = 0; i < 46; ++i)
        store.WriteInteger("Value_" + std::to_string(i), i);
    store.DeleteValue("Options_OnTop");
    EXPECT_EQ(store.ReadInteger("Value_45"), 45); // the update reads its own writes
    EXPECT_FALSE(RegistryStore(path).ValueExists("Value_0")) << "written before the update ended";
    RegistryStore(path).WriteString("Find_Text", "another instance");
    EXPECT_EQ(1, replacements.Count());
    store.EndUpdate();
    EXPECT_EQ(2, replacements.Count());
    RegistryStore after(path);
    EXPECT_EQ(after.ReadInteger("Value_0"), 0);
    EXPECT_EQ(after.ReadInteger("Value_45"), 45);
    EXPECT_FALSE(after.ValueExists("Options_OnTop"));
    EXPECT_EQ(after.ReadString("Find_Text"), "another instance");
}
