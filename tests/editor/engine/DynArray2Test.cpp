// The block array: capacity by whole blocks, range checks, stable addresses, block-aware moves.
#include "editor/engine/DynArray2.h"
#include "editor/engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

namespace zandor {
namespace {

// Eight-byte records 4 KB apart: eight per block, so a few dozen records cross many blocks.
constexpr int kSmallRec = 8;
constexpr int kWideStride = 4096;

int64_t ValueAt(TDynArray2& array, int i) {
    int64_t v = 0;
    array.GetRec(i, &v);
    return v;
}

void FillSequence(TDynArray2& array, int n) {
    for (int64_t v = 0; v < n; ++v)
        array.Add(&v);
}

struct CapacityRow {
    int Request;
    int Blocks;
};

class DynArray2Capacity : public ::testing::TestWithParam<CapacityRow> {};

TEST_P(DynArray2Capacity, KeepsWholeBlocksForTheRequestAndAtLeastOne) {
    TDynArray2 array(kSmallRec, kWideStride);
    array.SetCapacity(5 * array.PerBlock()); // start from more blocks, so shrinking is covered too
    array.SetCapacity(GetParam().Request);
    EXPECT_EQ(array.BlockCount(), GetParam().Blocks);
    EXPECT_EQ(array.Capacity(), GetParam().Blocks * array.PerBlock());
}

INSTANTIATE_TEST_SUITE_P(Rows, DynArray2Capacity,
                         ::testing::Values(CapacityRow{0, 1}, CapacityRow{-3, 1}, CapacityRow{1, 1},
                                           CapacityRow{8, 1}, CapacityRow{9, 2}, CapacityRow{24, 3},
                                           CapacityRow{25, 4}));

TEST(DynArray2, DerivesRecordsPerBlockFromTheStride) {
    TDynArray2 keys(57, 64);
    EXPECT_EQ(keys.PerBlock(), 512);
    TDynArray2 narrow(kSmallRec, kWideStride);
    EXPECT_EQ(narrow.PerBlock(), 8);
    EXPECT_THROW(TDynArray2(65, 64), EInternalError);
}

TEST(DynArray2, SetCountGrowsByWholeBlocksAndNeverShrinks) {
    TDynArray2 array(kSmallRec, kWideStride);
    EXPECT_EQ(array.BlockCount(), 0);
    array.SetCount(17);
    EXPECT_EQ(array.Count(), 17);
    EXPECT_EQ(array.BlockCount(), 3);
    array.SetCount(0);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.BlockCount(), 3);
    array.SetCount(-4);
    EXPECT_EQ(array.Count(), 0);
}

TEST(DynArray2, SetCapacityBelowCountKeepsRecordsInUse) {
    TDynArray2 array(kSmallRec, kWideStride);
    FillSequence(array, 20);
    array.SetCapacity(0);
    EXPECT_EQ(array.BlockCount(), 3);
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(ValueAt(array, i), i);
}

TEST(DynArray2, RecordsKeepTheirAddressWhileTheArrayGrows) {
    TDynArray2 array(kSmallRec, kWideStride);
    FillSequence(array, 10);
    std::vector<void*> before;
    for (int i = 0; i < 10; ++i)
        before.push_back(array.Items(i));
    FillSequence(array, 100);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(array.Items(i), before[static_cast<size_t>(i)]);
        EXPECT_EQ(ValueAt(array, i), i);
    }
}

TEST(DynArray2, RecordsNeverStraddleBlocks) {
    TDynArray2 keys(57, 64);
    keys.SetCount(1025);
    auto* last = static_cast<std::byte*>(keys.Items(511));
    auto* first = static_cast<std::byte*>(keys.Items(0));
    EXPECT_EQ(last - first, 511 * 64);
    EXPECT_LE(last + 64 - first, TDynArray2::kBlockSize);
    // Record 512 opens the next block, wherever the allocator put it.
    EXPECT_NE(static_cast<std::byte*>(keys.Items(512)), first + 512 * 64);
}

TEST(DynArray2, CopiesOnlyRecSizeBytes) {
    TDynArray2 keys(57, 64);
    keys.SetCount(2);
    std::memset(keys.Items(0), 0xAA, 64);
    std::array<unsigned char, 64> rec;
    rec.fill(0x11);
    keys.PutRec(0, rec.data());
    auto* bytes = static_cast<unsigned char*>(keys.Items(0));
    EXPECT_EQ(bytes[56], 0x11);
    EXPECT_EQ(bytes[57], 0xAA);
    EXPECT_EQ(bytes[63], 0xAA);
}

class DynArray2OutOfRange : public ::testing::TestWithParam<int> {};

TEST_P(DynArray2OutOfRange, RaisesListIndexOutOfBoundsAndChangesNothing) {
    TDynArray2 array(kSmallRec, kWideStride);
    FillSequence(array, 9);
    const int i = GetParam();
    int64_t v = 77;
    try {
        array.Items(i);
        FAIL() << "no exception";
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds");
    }
    EXPECT_THROW(array.PutRec(i, &v), ERangeError);
    EXPECT_THROW(array.GetRec(i, &v), ERangeError);
    EXPECT_EQ(v, 77);
    EXPECT_EQ(array.Count(), 9);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(ValueAt(array, k), k);
}

INSTANTIATE_TEST_SUITE_P(Rows, DynArray2OutOfRange, ::testing::Values(-1, 9, 10, INT32_MIN, INT32_MAX));

TEST(DynArray2, MoveRecordsRejectsRangesOutsideTheCount) {
    TDynArray2 array(kSmallRec, kWideStride);
    FillSequence(array, 10);
    EXPECT_THROW(array.MoveRecords(5, 6, 5), ERangeError);
    EXPECT_THROW(array.MoveRecords(-1, 0, 2), ERangeError);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(ValueAt(array, k), k);
}

// Random overlapping moves against memmove on a plain vector.
TEST(DynArray2, MoveRecordsMatchesMemmoveAcrossBlocks) {
    std::mt19937 rng(4101);
    TDynArray2 array(kSmallRec, kWideStride);
    constexpr int n = 61;
    FillSequence(array, n);
    std::vector<int64_t> model(n);
    for (int i = 0; i < n; ++i)
        model[static_cast<size_t>(i)] = i;
    for (int step = 0; step < 2000; ++step) {
        const int from = std::uniform_int_distribution<int>(0, n - 1)(rng);
        const int to = std::uniform_int_distribution<int>(0, n - 1)(rng);
        const int count = std::uniform_int_distribution<int>(0, n - std::max(from, to))(rng);
        array.MoveRecords(from, to, count);
        std::memmove(&model[static_cast<size_t>(to)], &model[static_cast<size_t>(from)],
                     static_cast<size_t>(count) * sizeof(int64_t));
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(ValueAt(array, i), model[static_cast<size_t>(i)])
                << "step " << step << " move " << from << "->" << to << " x" << count << " at " << i;
        // Keep values distinct so that a misplaced record shows.
        for (int i = 0; i < n; ++i) {
            const int64_t v = step * 1000 + i;
            model[static_cast<size_t>(i)] = v;
            array.PutRec(i, &v);
        }
    }
}

} // namespace
} // namespace zandor
