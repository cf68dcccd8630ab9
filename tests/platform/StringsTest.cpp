// The string-list base: lines split as the text model splits paragraphs, and the operations built
// on the five basic ones, checked on a plain list.
#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zandor::platform {
namespace {

struct SplitRow {
    const char* Text;
    std::vector<std::string> Lines;
};

class SplitLinesRows : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitLinesRows, EachBreakEndsALineAndAFinalOneStartsNone) {
    const std::vector<std::string_view> lines = SplitLines(GetParam().Text);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Rows, SplitLinesRows,
                         ::testing::Values(SplitRow{"", {}}, SplitRow{"\r", {""}}, SplitRow{"ab", {"ab"}},
                                           SplitRow{"ab\r\ncd\r\n", {"ab", "cd"}},
                                           SplitRow{"a\nb\rc\n\rd", {"a", "b", "c", "d"}},
                                           SplitRow{"a\r\rb", {"a", "", "b"}},
                                           SplitRow{"a\r\n\r\n", {"a", ""}}));

// A list kept in a vector, counting the update brackets it hears.
class TVectorStrings final : public TStrings {
public:
    int32_t Count() override { return static_cast<int32_t>(Items.size()); }
    std::string Get(int32_t i) override { return Items.at(static_cast<size_t>(i)); }
    void Put(int32_t i, std::string_view s) override { Items.at(static_cast<size_t>(i)) = s; }
    void Insert(int32_t i, std::string_view s) override { Items.insert(Items.begin() + i, std::string(s)); }
    void Delete(int32_t i) override { Items.erase(Items.begin() + i); }
    std::vector<std::string> Items;
    std::vector<bool> States;

protected:
    void SetUpdateState(bool updating) override { States.push_back(updating); }
};

TEST(Strings, TextAssignmentAndUpdatesAreBuiltOnTheBasicOperations) {
    TVectorStrings list;
    list.SetTextStr("one\r\ntwo\nthree\r\n");
    EXPECT_EQ(list.Items, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(list.GetTextStr(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(list.Add("four"), 3);
    TVectorStrings copy;
    copy.Add("old");
    copy.BeginUpdate();
    copy.Assign(list);
    copy.EndUpdate();
    EXPECT_EQ(copy.Items, list.Items);
    EXPECT_EQ(copy.States, (std::vector<bool>{true, false})) << "only the outermost bracket is heard";
    copy.EndUpdate(); // one too many changes nothing
    EXPECT_EQ(copy.UpdateCount(), 0);
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
}

} // namespace
} // namespace zandor::platform
