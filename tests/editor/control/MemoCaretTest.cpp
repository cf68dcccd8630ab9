#include "editor/control/MemoCaret.h"
#include "editor/control/MemoSinks.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

TEST(MemoCaret, RepaintsItsOldAndNewPlaceAndNothingWhenItStays) {
    TMemoCaret caret;
    const QRect a(10, 0, 2, 16), b(30, 16, 2, 16);
    EXPECT_EQ(caret.ShowAt(a, false), QRegion(a));
    EXPECT_TRUE(caret.ShowAt(a, false).isEmpty());
    EXPECT_EQ(caret.ShowAt(a, true), QRegion(a)) << "re-created: drawn again";
    EXPECT_EQ(caret.ShowAt(b, false), QRegion(a) + b);
    EXPECT_EQ(caret.Rect(), b);
    EXPECT_EQ(caret.Hide(), QRegion(b));
    EXPECT_TRUE(caret.Rect().isEmpty());
    EXPECT_TRUE(caret.Hide().isEmpty());
}

TEST(MemoCaret, WidthZeroFollowsTheLineHeight) {
    EXPECT_EQ(TMemoCaret::Width(0, 13), 1);
    EXPECT_EQ(TMemoCaret::Width(0, 14), 2);
    EXPECT_EQ(TMemoCaret::Width(0, 30), 3);
    EXPECT_EQ(TMemoCaret::Width(3, 30), 3);
    EXPECT_EQ(TMemoCaret::Width(-2, 0), 1);
}

TEST(MemoCaret, RecordTellsWhatChangedSinceTheLastRecord) {
    TMemoCaret caret;
    EXPECT_EQ(caret.Record(0, "", 0), 0);
    EXPECT_EQ(caret.Record(4, "", 0), nc::CaretMoved);
    EXPECT_EQ(caret.Record(4, "  ", 0), nc::CaretMoved) << "pending blanks move the caret too";
    EXPECT_EQ(caret.Record(4, "  ", 1), nc::StyleChanged);
    EXPECT_EQ(caret.Record(5, "", 0), nc::CaretMoved | nc::StyleChanged);
    EXPECT_EQ(caret.Record(5, "", 0), 0);
}

} // namespace
} // namespace zandor
