#include "platform/ResourceFolder.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using zandor::platform::ProgramIconFile;
using zandor::platform::ResourceFolder;
using zandor::test::ScratchDir;

namespace {

// Which copies of the program's files a layout holds: beside the program in prefix/bin/, under
// prefix/share/zandor/, or a "languages" folder there without the English texts.
struct Layout {
    const char* name;
    bool beside;
    bool installed;
    bool installedWithoutEnglish;
    const char* expected; // relative to the scratch folder
};

class ResourceFolderLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(ResourceFolderLayout, FindsTheFilesWhereTheProgramRuns) {
    const Layout& layout = GetParam();
    ScratchDir dir;
    dir.write("prefix/bin/zandor", "");
    if (layout.beside)
        dir.write("prefix/bin/languages/English.vlf", "texts");
    if (layout.installed)
        dir.write("prefix/share/zandor/languages/English.vlf", "texts");
    if (layout.installedWithoutEnglish)
        dir.write("prefix/share/zandor/languages/German.vlf", "texts");
    // With and without the trailing slash the answer is the same folder, ending in one.
    for (const std::string& exeFolder : {dir.file("prefix/bin/"), dir.file("prefix/bin")})
        EXPECT_EQ(dir.file(layout.expected), ResourceFolder(exeFolder)) << exeFolder;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ResourceFolderLayout,
    ::testing::Values(Layout{"BuildFolder", true, false, false, "prefix/bin/"},
                      Layout{"BuildFolderWinsOverAnInstallation", true, true, false, "prefix/bin/"},
                      Layout{"Installed", false, true, false, "prefix/share/zandor/"},
                      Layout{"NothingAnywhere", false, false, false, "prefix/bin/"},
                      Layout{"InstalledButIncomplete", false, false, true, "prefix/bin/"}),
    [](const auto& info) { return std::string(info.param.name); });

// The icon is looked for from wherever the program's files were found, so it comes from the same
// place: the build folder's copy, or the hicolor theme of the prefix the program is installed in.
TEST(ProgramIcon, ComesFromWhereTheProgramsFilesAre) {
    ScratchDir dir;
    dir.write("prefix/bin/zandor", "");
    dir.write("prefix/share/zandor/languages/English.vlf", "texts");
    EXPECT_EQ("", ProgramIconFile(dir.file("prefix/share/zandor/")));
    dir.write("prefix/share/icons/hicolor/scalable/apps/zandor.svg", "<svg/>");
    EXPECT_EQ(dir.file("prefix/share/icons/hicolor/scalable/apps/zandor.svg"),
              ProgramIconFile(ResourceFolder(dir.file("prefix/bin/"))));
    dir.write("build/languages/English.vlf", "texts");
    dir.write("build/zandor.svg", "<svg/>");
    EXPECT_EQ(dir.file("build/zandor.svg"), ProgramIconFile(ResourceFolder(dir.file("build"))));
}

} // namespace
