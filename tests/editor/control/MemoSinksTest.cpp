#include "editor/control/MemoSinks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace zandor {
namespace {

// Records its calls into a shared log and runs an optional action during the call.
struct RecordingSink : NotificationSink {
    RecordingSink(int id, std::vector<std::pair<int, int32_t>>& log) : Id(id), Log(log) {}
    void Notify(TArtMemoCore*, int32_t codes) override {
        Log.emplace_back(Id, codes);
        if (During)
            During();
    }
    int Id;
    std::vector<std::pair<int, int32_t>>& Log;
    std::function<void()> During;
};

TEST(SinkList, PassCallsEverySinkInOrderWithTheCodes) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log);
    TSinkList list;
    list.Add(&a);
    list.Add(&b);
    list.Notify(nullptr, nc::CaretMoved | nc::StyleChanged);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 6}, {2, 6}}));
}

TEST(SinkList, SinkRemovingItselfDuringAPassIsSkippedAfterwardsAndCompacted) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log), c(3, log);
    TSinkList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    b.During = [&] { list.Remove(&b); };
    list.Notify(nullptr, 1);
    // The entry stays (as null) while the pass runs, so c still gets its turn.
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.Contains(&b));
    log.clear();
    list.Notify(nullptr, 1);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}, {3, 1}}));
}

TEST(SinkList, SinkRemovedByAnEarlierSinkIsNotCalledInThatPass) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log);
    TSinkList list;
    list.Add(&a);
    list.Add(&b);
    a.During = [&] { list.Remove(&b); };
    list.Notify(nullptr, 1);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}}));
    EXPECT_EQ(list.Count(), 1);
}

TEST(SinkList, NestedPassDefersCompactionToTheOuterPass) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log), c(3, log);
    TSinkList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    bool nested = false;
    // a removes itself and starts a second pass; compacting inside it would shift b and c under
    // the outer loop, and one of them would be skipped or called twice.
    a.During = [&] {
        if (nested)
            return;
        nested = true;
        list.Remove(&a);
        list.Notify(nullptr, 2);
    };
    list.Notify(nullptr, 1);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}, {2, 2}, {3, 2}, {2, 1}, {3, 1}}));
    EXPECT_EQ(list.Count(), 2);
}

TEST(SinkList, SinkAddedDuringAPassWaitsForTheNextOne) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log);
    TSinkList list;
    list.Add(&a);
    a.During = [&] {
        if (!list.Contains(&b))
            list.Add(&b);
    };
    list.Notify(nullptr, 1);
    EXPECT_EQ(log.size(), 1u);
    list.Notify(nullptr, 1);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}, {1, 1}, {2, 1}}));
}

TEST(SinkList, EmptyCountsOnlyLiveEntries) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log);
    TSinkList list;
    EXPECT_TRUE(list.Empty());
    list.Add(&a);
    list.Add(nullptr);
    EXPECT_FALSE(list.Empty());
    EXPECT_EQ(list.Count(), 1);
    a.During = [&] {
        list.Remove(&a);
        EXPECT_TRUE(list.Empty());
    };
    list.Notify(nullptr, 1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(SinkList, SinkThatDestroysTheListEndsThePassQuietly) {
    std::vector<std::pair<int, int32_t>> log;
    RecordingSink a(1, log), b(2, log);
    auto list = std::make_unique<TSinkList>();
    list->Add(&a);
    list->Add(&b);
    a.During = [&] { list.reset(); };
    list->Notify(nullptr, 1);
    EXPECT_EQ(log, (std::vector<std::pair<int, int32_t>>{{1, 1}}));
}

} // namespace
} // namespace zandor
