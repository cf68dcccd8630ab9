// The keyword and start/stop key lists: derived values, the string forms, the stored forms
// (including the older layout) and the preparation of keys for the parser.
#include "editor/engine/KeywordList.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/StartStopKeyList.h"
#include "platform/PlatformErrors.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

TEST(KeywordList, DerivedValuesFollowEveryChangeOutsideAnUpdate) {
    TKeywordList list;
    EXPECT_EQ(list.KeyFlags() & koCaseSensitive, koCaseSensitive); // vacuously: no keyword ignores case
    list.AddKeyWord("Begin", koCaseSensitive, 1, 5, 0, -1, 255);
    EXPECT_EQ(list.Key(0).MatchText, "Begin");
    EXPECT_EQ(list.KeyFlags() & koCaseSensitive, koCaseSensitive);
    list.AddKeyWord("procedure", 0x08, 1, 5, 0, -1, 255);
    EXPECT_EQ(list.Key(1).MatchText, "PROCEDURE");
    EXPECT_EQ(list.Key(1).Length, 9);
    EXPECT_EQ(list.MaxLength(), 9);
    EXPECT_EQ(list.KeyFlags(), 0x08); // one ignores case; stored bit 3 collected
    list.Delete(1);
    EXPECT_EQ(list.MaxLength(), 5);
    EXPECT_EQ(list.KeyFlags(), koCaseSensitive);
}

TEST(KeywordList, UpdateBracketDefersRefreshUntilTheOutermostEnd) {
    TKeywordList list;
    list.BeginUpdate();
    list.BeginUpdate();
    list.AddKeyWord("abc", 0, 0, 1, 0, -1, -1);
    EXPECT_EQ(list.MaxLength(), 0);
    list.EndUpdate();
    EXPECT_TRUE(list.Updating());
    list.EndUpdate();
    EXPECT_FALSE(list.Updating());
    EXPECT_EQ(list.MaxLength(), 3);
    EXPECT_EQ(list.Key(0).MatchText, "ABC");
}

TEST(KeywordList, InsertUsesTheStringListDefaults) {
    TKeywordList list;
    list.Add("x");
    list.Insert(0, "w");
    TKeyInfo info;
    list.GetKeyInfo(0, info);
    EXPECT_EQ(list.Get(0), "w");
    EXPECT_EQ(info.Context, 0);
    EXPECT_EQ(info.Background, kColorNone);
    EXPECT_EQ(info.Foreground, kColorNone);
    EXPECT_THROW(list.Get(2), ERangeError);
    EXPECT_THROW(list.Insert(3, "y"), ERangeError);
}

TEST(KeywordList, UpperCaseKindRefoldsTheMatchTexts) {
    TKeywordList list;
    list.AddKeyWord("\xE9t\xE9", 0, 0, 1, 0, -1, -1); // "été" in Windows-1252
    EXPECT_EQ(list.Key(0).MatchText, "\xE9T\xE9");
    list.SetUpperCase(amuAnsi);
    EXPECT_EQ(list.Key(0).MatchText, "\xC9T\xC9");
}

TEST(KeywordList, AssignCopiesWholeRecordsOrPlainStrings) {
    TKeywordList a;
    a.AddKeyWord("alpha", 3, 4, 5, 6, 7, 8);
    TKeywordList b;
    b.Assign(a);
    TKeyInfo info;
    b.GetKeyInfo(0, info);
    EXPECT_EQ(info.Options, 3);
    EXPECT_EQ(info.Foreground, 8);
    EXPECT_EQ(b.Key(0).MatchText, "alpha"); // case-sensitive (bit 0 of 3)
    b.Assign(std::vector<std::string>{"p", "q"});
    ASSERT_EQ(b.Count(), 2);
    b.GetKeyInfo(1, info);
    EXPECT_EQ(info.Context, 0);
}

TEST(KeywordList, StringFormRoundTripsAndSkipsLinesWithoutValues) {
    TKeywordList list;
    list.LoadFromStrings({"=x=1,2,3,4,5,6,99", "no values here", "if=0,1,7,0,-1,536870911"});
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), "=x"); // an "=" in the first place belongs to the keyword
    EXPECT_EQ(list.Key(1).Foreground, kColorNone);
    std::vector<std::string> out;
    list.SaveToStrings(out);
    EXPECT_EQ(out[1], "if=0,1,7,0,-1,536870911,0,0,");
    TKeywordList again;
    again.LoadFromStrings(out);
    EXPECT_EQ(again.Get(0), "=x");
    EXPECT_EQ(again.Key(0).Cursor, 4);
}

TEST(KeywordList, BadValueRaisesConversionErrorAndKeepsWhatCameBefore) {
    TKeywordList list;
    EXPECT_THROW(list.LoadFromStrings({"a=1,1,1,1,1,1", "b=1,x,1,1,1,1", "c=1,1,1,1,1,1"}),
                 platform::ConversionError);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), "a");
    EXPECT_EQ(list.MaxLength(), 1); // the update bracket closed despite the failure
    EXPECT_THROW(list.LoadFromStrings({"short=1,2,3"}), platform::ConversionError);
}

TEST(KeywordList, StoredFormRoundTripsWithDataValues) {
    TKeywordList list;
    list.AddKeyWord("k", 2, 3, 4, 5, 6, 7);
    TStoredList stored;
    list.WriteStrings(stored);
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(std::get<int32_t>(stored[1]), 2 | 0x80);
    TKeywordList back;
    back.ReadStrings(stored);
    EXPECT_EQ(back.Get(0), "k");
    EXPECT_EQ(back.Key(0).Options, 2);
    EXPECT_EQ(back.Key(0).Foreground, 7);
}

struct OldKeywordForm {
    TStoredList Stored;
    int Count;
    int32_t Data1;
};

class KeywordListOldForm : public ::testing::TestWithParam<OldKeywordForm> {};

TEST_P(KeywordListOldForm, ReadsTheOlderLayout) {
    TKeywordList list;
    list.ReadStrings(GetParam().Stored);
    ASSERT_EQ(list.Count(), GetParam().Count);
    EXPECT_EQ(list.Key(0).Data1, GetParam().Data1);
    EXPECT_EQ(list.Key(0).Data3, 0);
    EXPECT_EQ(list.Key(0).Foreground, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, KeywordListOldForm,
    ::testing::Values(
        // no data values at all, two keywords
        OldKeywordForm{{std::string("a"), 1, 0, 1, 0, -1, 9, std::string("b"), 1, 0, 1, 0, -1, 9}, 2, 0},
        // two data values follow the colours
        OldKeywordForm{
            {std::string("a"), 1, 0, 1, 0, -1, 9, 42, 43, std::string("b"), 1, 0, 1, 0, -1, 9}, 2, 42}));

TEST(KeywordList, StoredFormOfTheWrongKindIsAReadError) {
    TKeywordList list;
    EXPECT_THROW(list.ReadStrings({std::string("a"), true}), EReadError);
}

// ---- start/stop keys

TEST(StartStopKeyList, RecordsLiveInBlocksSizedByTheRecord) {
    TStartStopKeyList keys;
    EXPECT_EQ(keys.RecSize(), static_cast<int>(sizeof(StartStopInfo)));
    EXPECT_EQ(keys.Stride() % 8, 0);
    EXPECT_GE(keys.Stride(), keys.RecSize());
    EXPECT_EQ(keys.PerBlock(), TDynArray2::kBlockSize / keys.Stride());
    for (int i = 0; i < keys.PerBlock() + 3; ++i)
        keys.AddKey("s" + std::to_string(i), "e", 0, 0, 1, 0, -1, -1, false);
    EXPECT_EQ(keys.BlockCount(), 2);
    EXPECT_STREQ(keys.Key(keys.PerBlock() + 2).StartText,
                 ("s" + std::to_string(keys.PerBlock() + 2)).c_str());
    keys.Clear();
    EXPECT_EQ(keys.Count(), 0);
    EXPECT_EQ(keys.BlockCount(), 1);
    EXPECT_EQ(keys.KeyFlags(), koCaseSensitive);
}

TEST(StartStopKeyList, FirstSameAndMaxStartLenLookOnlyAtEarlierKeys) {
    TStartStopKeyList keys;
    keys.AddKey("/**", "*/", 0, 0, 1, 0, -1, -1, false); // 0
    keys.AddKey("/*", "*/", 0, 0, 2, 0, -1, -1, false);  // 1: "/**" begins with "/*"
    keys.AddKey("/*", "!/", 0, 0, 3, 0, -1, -1, false);  // 2: same start as 1
    keys.AddKey("/*", "?/", 1, 0, 4, 0, -1, -1, false);  // 3: other options
    keys.AddKey("/*x", "x", 0, 0, 5, 0, -1, -1, true);   // 4: longer, but later
    EXPECT_EQ(+keys.Key(0).FirstSame, -1);
    EXPECT_EQ(+keys.Key(1).FirstSame, -1);
    EXPECT_EQ(+keys.Key(2).FirstSame, 1);
    EXPECT_EQ(+keys.Key(3).FirstSame, -1);
    EXPECT_EQ(+keys.Key(1).MaxStartLen, 3);
    EXPECT_EQ(+keys.Key(2).MaxStartLen, 3);
    EXPECT_EQ(+keys.Key(0).MaxStartLen, 3);
    EXPECT_EQ(keys.MaxStartLen(), 3);
    EXPECT_EQ(keys.MaxStopLen(), 2);
    EXPECT_EQ(keys.KeyFlags() & koCaseSensitive, 0);
}

TEST(StartStopKeyList, EndsAtLineEndRaisesTheStopMaximumToTwo) {
    TStartStopKeyList keys;
    keys.AddKey("//", "", 0, 0, 1, 0, -1, -1, true);
    EXPECT_EQ(keys.MaxStopLen(), 2);
    EXPECT_EQ(+keys.Key(0).KeyFlags & kfEndsAtLineEnd, kfEndsAtLineEnd);
}

TEST(StartStopKeyList, KeysAreFoldedUnlessCaseSensitiveAndRefoldedOnRequest) {
    TStartStopKeyList keys;
    keys.AddKey("rem", "\xe9nd", 0, 0, 1, 0, -1, -1, false);
    keys.AddKey("Str", "End", koCaseSensitive, 0, 1, 0, -1, -1, false);
    EXPECT_STREQ(keys.Key(0).StartKey, "REM");
    EXPECT_STREQ(keys.Key(0).StopKey, "\xe9ND");
    EXPECT_STREQ(keys.Key(1).StartKey, "Str");
    keys.SetUpperCase(amuAnsi);
    EXPECT_STREQ(keys.Key(0).StopKey, "\xc9ND");
    EXPECT_STREQ(keys.Key(0).StartText, "rem");
}

TEST(StartStopKeyList, KeysHoldingANulByteAreFoldedComparedAndWrittenWhole) {
    using namespace std::string_literals;
    TStartStopKeyList keys;
    keys.AddKey("a\0b"s, "c\0d"s, 0, 0, 1, 0, -1, -1, false);
    keys.AddKey("a\0c"s, "x"s, 0, 0, 2, 0, -1, -1, false);  // differs only after the NUL
    keys.AddKey("a\0bc"s, "x"s, 0, 0, 3, 0, -1, -1, false); // begins with key 0's start key
    keys.AddKey("a\0b"s, "y"s, 0, 0, 4, 0, -1, -1, false);  // the same start key as key 0
    keys.SetUpperCase(amuAnsi);
    const auto bytes = [](const char* key, int16_t length) {
        return std::string(key, static_cast<size_t>(length));
    };
    EXPECT_EQ(bytes(keys.Key(0).StartKey, keys.Key(0).StartLen), "A\0B"s);
    EXPECT_EQ(bytes(keys.Key(0).StopKey, keys.Key(0).StopLen), "C\0D"s);
    EXPECT_EQ(+keys.Key(1).FirstSame, -1);
    EXPECT_EQ(+keys.Key(2).FirstSame, -1);
    EXPECT_EQ(+keys.Key(3).FirstSame, 0);
    EXPECT_EQ(+keys.Key(3).MaxStartLen, 4);
    std::vector<std::string> strings;
    keys.SaveToStrings(strings);
    EXPECT_EQ(strings[0], "a\0b|c\0d=0,0,1,0,-1,-1,0,0,0,"s);
    TStoredList stored;
    keys.WriteKeys(stored);
    TStartStopKeyList back;
    back.ReadKeys(stored);
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(bytes(back.Key(2).StartText, back.Key(2).StartLen), "a\0bc"s);
}

TEST(StartStopKeyList, TooLongKeyIsRefused) {
    TStartStopKeyList keys;
    EXPECT_THROW(keys.AddKey(std::string(40000, 'a'), "", 0, 0, 1, 0, -1, -1, false), ETextTooLong);
    EXPECT_EQ(keys.Count(), 0);
}

struct BoundaryRow {
    const char* Start;
    const char* Stop;
    uint8_t Options;
    bool StartBefore, StartAfter, StopBefore, StopAfter;
};

class StartStopBoundaries : public ::testing::TestWithParam<BoundaryRow> {};

TEST_P(StartStopBoundaries, WholeWordKeysNeedBoundariesOnlyWhereTheyEndInAWordCharacter) {
    const BoundaryRow& row = GetParam();
    TStartStopKeyList keys;
    keys.AddKey(row.Start, row.Stop, row.Options, 0, 1, 0, -1, -1, false);
    EXPECT_FALSE(keys.Prepared());
    keys.Prepare(DefaultSeparators());
    EXPECT_TRUE(keys.Prepared());
    const StartStopInfo& k = keys.Key(0);
    EXPECT_EQ(k.StartBoundaryBefore, row.StartBefore);
    EXPECT_EQ(k.StartBoundaryAfter, row.StartAfter);
    EXPECT_EQ(k.StopBoundaryBefore, row.StopBefore);
    EXPECT_EQ(k.StopBoundaryAfter, row.StopAfter);
}

INSTANTIATE_TEST_SUITE_P(Keys, StartStopBoundaries,
                         ::testing::Values(BoundaryRow{"begin", "end", koWholeWord, true, true, true, true},
                                           BoundaryRow{"begin", "end", 0, false, false, false, false},
                                           BoundaryRow{"<b", "b>", koWholeWord, false, true, true, false},
                                           BoundaryRow{"rem", "", koWholeWord, true, true, false, false}));

TEST(StartStopKeyList, StringFormSplitsAtTheFirstBar) {
    TStartStopKeyList keys;
    keys.LoadFromStrings({"/*|*/=0,1,2,3,4,5,0", "//=0,1,2,3,4,5,1,", "a|b|c=1,0,9,0,-1,-1,0", "junk"});
    ASSERT_EQ(keys.Count(), 3);
    EXPECT_STREQ(keys.Key(1).StartText, "//");
    EXPECT_STREQ(keys.Key(1).StopText, "");
    EXPECT_EQ(+keys.Key(1).KeyFlags & kfEndsAtLineEnd, kfEndsAtLineEnd);
    EXPECT_STREQ(keys.Key(2).StopText, "b|c");
    std::vector<std::string> out;
    keys.SaveToStrings(out);
    EXPECT_EQ(out[0], "/*|*/=0,1,2,3,4,5,0,0,0,");
    EXPECT_EQ(out[1], "//|=0,1,2,3,4,5,1,0,0,");
    EXPECT_THROW(keys.LoadFromStrings({"x|y=1,2,3,4,5,6"}), platform::ConversionError); // seventh missing
}

TEST(StartStopKeyList, StoredFormKeepsFlagsAndDataEvenWhenNegative) {
    TStartStopKeyList keys;
    keys.AddKey("<", ">", 0, 1, 2, 3, 4, 5, true);
    TStoredList stored;
    keys.WriteKeys(stored);
    // Data3 is not settable through AddKey: patch the last integer as a file with Data3 = -3 would.
    stored.back() = static_cast<int32_t>((static_cast<uint32_t>(-3) << 4) | 0x0B);
    TStartStopKeyList back;
    back.ReadKeys(stored);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(+back.Key(0).Data3, -3);
    EXPECT_EQ(+back.Key(0).KeyFlags, 0x0B);
    TStoredList again;
    back.WriteKeys(again);
    EXPECT_EQ(again, stored);
}

TEST(StartStopKeyList, OlderStoredFormHasTheBooleanAfterOptionalData) {
    TStartStopKeyList keys;
    keys.ReadKeys({std::string("("), std::string(")"), 0, 0, 1, 0, -1, -1, 7,    8, true,
                   std::string("["), std::string("]"), 0, 0, 1, 0, -1, -1, false});
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(+keys.Key(0).Data1, 7);
    EXPECT_EQ(+keys.Key(0).KeyFlags, kfEndsAtLineEnd);
    EXPECT_EQ(+keys.Key(1).Data1, 0);
    EXPECT_EQ(+keys.Key(1).KeyFlags, 0);
}

} // namespace
} // namespace zandor
