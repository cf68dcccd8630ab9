#include "platform/RegistryStore.h"

#include "platform/PlatformErrors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using zandor::platform::FileError;
using zandor::platform::RegistryError;
using zandor::platform::RegistryStore;
using zandor::test::readFile;
using zandor::test::ScratchDir;

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Veltrane\\Zandor]\n";

std::string fileText(const std::string& path) {
    return readFile(path).toStdString();
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
