// Saving where the file cannot be replaced by a new one: the same file is written over, so that it
// stays the user's file with its mode and all its names.
#include "WindowFixture.h"

#include "documents/Documents.h"
#include "editor/control/ArtMemo.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace zandor;
using zandor::test::AsOrdinaryUser;
using zandor::test::readFile;
using zandor::test::WindowFixture;

namespace {

class DocumentSave : public WindowFixture {
protected:
    static void Edit(TZandorF& w, const std::string& text) {
        w.m->SetSelStart(w.m->CharCount());
        w.m->SetSelText(text);
        ASSERT_TRUE(w.DocumentModified);
    }
};

} // namespace

// A folder the user may not add files to (a shared one) and a file with a second name: the save
// writes the same file over, so it stays the user's file with all its names.
TEST_F(DocumentSave, AFileTheUserMayWriteIsSavedWhereItsFolderOrItsLinksForbidAReplacement) {
    const std::string shared = dir.write("shared/art.nfo", "old art");
    const std::string linked = dir.write("linked/doc.txt", "old doc");
    ASSERT_EQ(0, link(linked.c_str(), dir.file("linked/second-name.txt").c_str()));
    struct stat before {};
    ASSERT_EQ(0, stat(shared.c_str(), &before));
    for (const std::string& file : {shared, linked}) {
        auto w = Create(file);
        Edit(*w, "\nnew");
        AsOrdinaryUser user(dir);
        ASSERT_EQ(0, chmod(dir.file("shared").c_str(), 0555));
        EXPECT_TRUE(w->Documents->Save()) << (errors.empty() ? "" : errors[0]);
        ASSERT_EQ(0, chmod(dir.file("shared").c_str(), 0755));
        EXPECT_FALSE(w->DocumentModified);
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ("old art\r\nnew", readFile(shared).toStdString());
    EXPECT_EQ("old doc\r\nnew", readFile(dir.file("linked/second-name.txt")).toStdString());
    struct stat after {};
    ASSERT_EQ(0, stat(shared.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mode, after.st_mode);
}
