// File → Next File in Folder and Previous File in Folder: the files the Open dialog shows, in its
// name order (the keys that step through them: EditorKeysTest).
#include "documents/FolderNeighbours.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zandor;
using zandor::test::ScratchDir;

// Names with a dot, not hidden, not folders, letter case ignored and numbers by their value; a
// file that is gone still has its neighbours, the ends have none.
TEST(FolderNeighbours, StepThroughTheDialogsFilesInNameOrder) {
    ScratchDir dir;
    for (const char* name : {"part10.nfo", "Part2.nfo", "part1.nfo", "README", ".hidden.nfo", "b.txt"})
        dir.write(name, "x");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("sub.d"))));
    EXPECT_EQ((std::vector<std::string>{"b.txt", "part1.nfo", "Part2.nfo", "part10.nfo"}),
              FolderFilesInNameOrder(dir.path()));
    EXPECT_EQ(dir.file("Part2.nfo"), NeighbourInFolder(dir.file("part1.nfo"), 1));
    EXPECT_EQ(dir.file("b.txt"), NeighbourInFolder(dir.file("part1.nfo"), -1));
    EXPECT_EQ("", NeighbourInFolder(dir.file("b.txt"), -1));
    EXPECT_EQ("", NeighbourInFolder(dir.file("part10.nfo"), 1));
    EXPECT_EQ(dir.file("part10.nfo"), NeighbourInFolder(dir.file("part3.nfo"), 1)) << "a file that is gone";
    EXPECT_EQ(dir.file("Part2.nfo"), NeighbourInFolder(dir.file("part3.nfo"), -1));
    EXPECT_EQ(dir.file("part10.nfo"), NeighbourInFolder(dir.file("README"), -1))
        << "a name the filter leaves out";
}
