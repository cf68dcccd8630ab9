#include "app/ConfigSaver.h"

#include "platform/FileSystem.h"
#include "platform/PlatformErrors.h"
#include "platform/RegistryStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zandor;
using namespace zandor::platform;
using zandor::test::ScratchDir;

namespace {

enum class Backend { Ini, Registry };

// Both back-ends must answer every read and write alike.
class ConfigSaverBoth : public ::testing::TestWithParam<Backend> {
protected:
    ScratchDir dir;
    std::unique_ptr<TConfigSaver> Open() {
        return GetParam() == Backend::Ini
                   ? std::make_unique<TConfigSaver>(dir.file("Zandor.ini"), dir.file("registry.reg"))
                   : std::make_unique<TConfigSaver>("", dir.file("registry.reg"));
    }
};

FontValue SomeDefault() {
    FontValue font;
    font.Name = "ZandorLarge";
    font.Size = 9;
    font.Color = clWhite;
    font.Charset = OEM_CHARSET;
    return font;
}

} // namespace

TEST_P(ConfigSaverBoth, MissingValuesGiveTheDefaults) {
    auto store = Open();
    EXPECT_EQ("dflt", store->ReadString("Options", "Language", "dflt"));
    EXPECT_EQ(-7, store->ReadInteger("Options", "SelectedChar", -7));
    EXPECT_TRUE(store->ReadBool("Options", "AskChanges", true));
    EXPECT_EQ(clLime, store->ReadColor("Options", "HLColor", clLime));
    FontValue target;
    store->ReadFont("Options", "Font5", SomeDefault(), target);
    EXPECT_EQ(SomeDefault().Name, target.Name);
    EXPECT_EQ(9, target.Size);
    // A font that comes from its default text still reads its set from the missing key: ANSI.
    EXPECT_EQ(ANSI_CHARSET, target.Charset);
}

TEST_P(ConfigSaverBoth, ValuesSurviveAReopenAfterFlush) {
    {
        auto store = Open();
        store->WriteString("Find", "Text", "a \"quoted\" \\ text=with equals");
        store->WriteInteger("nfo", "Width", 1234);
        store->WriteInteger("Other", "Width", -5);
        store->WriteBool("Options", "WordWrap", false);
        store->WriteColor("Options", "BackColor", 0x004A0000);
        FontValue font = SomeDefault();
        font.Style = fsBold | fsUnderline;
        store->WriteFontAndFlush("Fonts", ".nfo", font);
    }
    auto store = Open();
    EXPECT_EQ("a \"quoted\" \\ text=with equals", store->ReadString("Find", "Text", ""));
    EXPECT_EQ(1234, store->ReadInteger("nfo", "Width", 0));
    EXPECT_EQ(-5, store->ReadInteger("Other", "Width", 0));
    EXPECT_FALSE(store->ReadBool("Options", "WordWrap", true));
    EXPECT_EQ(0x004A0000, store->ReadColor("Options", "BackColor", clBlack));
    EXPECT_EQ("$004A0000", store->ReadString("Options", "BackColor", ""));
    FontValue target;
    store->ReadFont("Fonts", ".nfo", FontValue{}, target);
    EXPECT_EQ("ZandorLarge", target.Name);
    EXPECT_EQ(fsBold | fsUnderline, target.Style);
    EXPECT_EQ(OEM_CHARSET, target.Charset);
    EXPECT_EQ("ZandorLarge,9,1010,clWhite", store->ReadString("Fonts", ".nfo", ""));
}

TEST_P(ConfigSaverBoth, FourStyleDigitsAreNeededForAFont) {
    auto store = Open();
    store->WriteString("Options", "Font5", "Courier New,10,0100,clRed");
    store->WriteString("Options", "Font6", "Courier New,10,010,clRed");
    FontValue italic;
    store->ReadFont("Options", "Font5", SomeDefault(), italic);
    EXPECT_EQ("Courier New", italic.Name);
    EXPECT_EQ(10, italic.Size);
    EXPECT_EQ(fsItalic, italic.Style);
    EXPECT_EQ(clRed, italic.Color);

    FontValue fallback;
    fallback.Name = "Something else";
    store->ReadFont("Options", "Font6", SomeDefault(), fallback);
    EXPECT_EQ(SomeDefault(), fallback);
}

TEST_P(ConfigSaverBoth, AMissingCharsetKeyMeansTheAnsiSet) {
    auto store = Open();
    store->WriteString("Fonts", ".diz", "ZandorTiny,6,0000,clWhite");
    FontValue target;
    store->ReadFont("Fonts", ".diz", SomeDefault(), target); // the default is an OEM font
    EXPECT_EQ("ZandorTiny", target.Name);
    EXPECT_EQ(ANSI_CHARSET, target.Charset);
}

TEST_P(ConfigSaverBoth, AnUnreadableColourGivesTheDefault) {
    auto store = Open();
    store->WriteString("Options", "HLColor", "clNoSuchColour");
    EXPECT_EQ(clLime, store->ReadColor("Options", "HLColor", clLime));
    store->WriteString("Options", "HLColor", "clInfoBk");
    EXPECT_EQ(clInfoBk, store->ReadColor("Options", "HLColor", clLime));
}

TEST_P(ConfigSaverBoth, NamesAFileCouldNotGiveBackAreNeitherStoredNorRead) {
    {
        auto store = Open();
        store->WriteString("Fonts", ".a", "Terminal,9,0000,clWhite");
        store->WriteString("Fonts", ".a=b", "Courier New,10,0000,clRed");
        store->WriteInteger("t]x", "Width", 640);
        store->WriteInteger("nfo\n[Options]", "OnTop", 1);
        store->Flush();
    }
    auto store = Open();
    EXPECT_EQ("Terminal,9,0000,clWhite", store->ReadString("Fonts", ".a", ""));
    EXPECT_EQ("", store->ReadString("Fonts", ".a=b", ""));
    EXPECT_EQ(0, store->ReadInteger("t]x", "Width", 0));
    EXPECT_FALSE(store->ReadBool("Options", "OnTop", false));
    const QByteArray files =
        zandor::test::readFile(dir.file("Zandor.ini")) + zandor::test::readFile(dir.file("registry.reg"));
    EXPECT_EQ(-1, files.indexOf("Courier")) << files.toStdString();
    EXPECT_EQ(-1, files.indexOf("t]x")) << files.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ConfigSaverBoth, ::testing::Values(Backend::Ini, Backend::Registry),
                         [](const auto& info) { return info.param == Backend::Ini ? "Ini" : "Registry"; });

TEST(ConfigSaverIni, TextThatIsNoNumberGivesTheDefaultOfANumericRead) {
    ScratchDir dir;
    dir.write("Zandor.ini", "[Options]\r\nSelectedChar=abc\r\nOnTop=yes\r\nLastPrinter=$10\r\n");
    TConfigSaver store(dir.file("Zandor.ini"), dir.file("registry.reg"));
    EXPECT_EQ(-1, store.ReadInteger("Options", "SelectedChar", -1));
    EXPECT_TRUE(store.ReadBool("Options", "OnTop", true));
    EXPECT_EQ(16, store.ReadInteger("Options", "LastPrinter", 0));
    EXPECT_EQ(16, store.ReadInteger("OPTIONS", "lastprinter", 0)); // names ignore letter case
}

TEST(ConfigSaverIni, WritesReachTheFileOnlyOnFlush) {
    ScratchDir dir;
    TConfigSaver store(dir.file("Zandor.ini"), dir.file("registry.reg"));
    store.WriteBool("Options", "OnTop", true);
    EXPECT_FALSE(zandor::platform::FileExists(dir.file("Zandor.ini")));
    store.Flush();
    EXPECT_NE(-1, zandor::test::readFile(dir.file("Zandor.ini")).indexOf("OnTop=1"));
    EXPECT_FALSE(zandor::platform::FileExists(dir.file("registry.reg")));
}

TEST(ConfigSaverIni, FlushIntoAFolderThatIsGoneFails) {
    ScratchDir dir;
    TConfigSaver store(dir.file("missing/Zandor.ini"), dir.file("registry.reg"));
    store.WriteBool("Options", "OnTop", true);
    EXPECT_THROW(store.Flush(), FileError);
}

TEST(ConfigSaverRegistry, AValueOfAnotherTypeFailsTheRead) {
    ScratchDir dir;
    TConfigSaver store("", dir.file("registry.reg"));
    store.WriteBool("Options", "WordWrap", true);
    store.WriteString("Find", "Text", "abc");
    try {
        store.ReadString("Options", "WordWrap", "");
        FAIL() << "a string read of an integer value must fail";
    } catch (const RegistryError& e) {
        EXPECT_STREQ("Invalid data type for 'Options_WordWrap'", e.what());
    }
    EXPECT_THROW(store.ReadInteger("Find", "Text", 0), RegistryError);
}

TEST(ConfigSaverRegistry, SectionsAreKeptApartByTheValueName) {
    ScratchDir dir;
    TConfigSaver store("", dir.file("registry.reg"));
    store.WriteInteger("Other", "Width", 700);
    store.WriteInteger("nfo", "Width", 640);
    EXPECT_EQ(700, store.ReadInteger("Other", "Width", 0));
    EXPECT_EQ(640, store.ReadInteger("nfo", "Width", 0));
    const QByteArray file = zandor::test::readFile(dir.file("registry.reg"));
    EXPECT_NE(-1, file.indexOf("\"Other_Width\"=dword:000002bc"));
    EXPECT_NE(-1, file.indexOf("\"nfo_Width\"=dword:00000280"));
}
