// The two compact stores under the run records, each against the plain thing it stands for: the
// run array (lent a buffer or not) against a vector, and the shared context stacks against
// sixteen-entry arrays, under random edits.
#include "editor/engine/ContextStack.h"
#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

namespace zandor {
namespace {

TDynInfo RunAt(int32_t offset, uint8_t flags) {
    TDynInfo r = kDefaultRunState;
    r.Offset = offset;
    r.StyleFlags = flags;
    return r;
}

bool Same(const TRunArray& a, const std::vector<TDynInfo>& b) {
    return a.size() == b.size() &&
           (b.empty() || std::memcmp(a.data(), b.data(), b.size() * sizeof(TDynInfo)) == 0);
}

TEST(RunStorageModel, RunArrayEditsAsAVectorDoes) {
    std::mt19937 rng(77);
    for (int round = 0; round < 300; ++round) {
        const uint32_t lentRoom = rng() % 4;
        std::vector<TDynInfo> lent(lentRoom + 1);
        std::vector<TDynInfo> model;
        {
            TRunArray runs(lent.data(), lentRoom);
            for (int step = 0; step < 40; ++step) {
                const TDynInfo r = RunAt(static_cast<int32_t>(rng() % 1000), static_cast<uint8_t>(rng()));
                const size_t at = model.empty() ? 0 : rng() % (model.size() + 1);
                switch (rng() % 7) {
                case 0:
                    runs.insert(runs.begin() + at, r);
                    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), r);
                    break;
                case 1:
                    if (!model.empty()) {
                        // A run of the array itself inserted into it.
                        const size_t from = rng() % model.size();
                        runs.insert(runs.begin() + at, runs[from]);
                        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), model[from]);
                    }
                    break;
                case 2:
                    if (at < model.size()) {
                        const size_t to = at + rng() % (model.size() - at + 1);
                        runs.erase(runs.begin() + at, runs.begin() + to);
                        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at),
                                    model.begin() + static_cast<std::ptrdiff_t>(to));
                    }
                    break;
                case 3: {
                    // Its own first runs assigned back to it.
                    const size_t keep = model.empty() ? 0 : rng() % (model.size() + 1);
                    runs.assign(runs.begin(), runs.begin() + keep);
                    model.resize(keep);
                    break;
                }
                case 4: {
                    const size_t n = rng() % 12;
                    runs.resize(n);
                    model.resize(n, TDynInfo{});
                    break;
                }
                case 5:
                    runs.erase_if([](const TDynInfo& x) { return x.StyleFlags & 1; });
                    std::erase_if(model, [](const TDynInfo& x) { return x.StyleFlags & 1; });
                    break;
                default:
                    runs.reserve(model.size() + rng() % 5);
                    break;
                }
                ASSERT_TRUE(Same(runs, model)) << "round " << round << " step " << step;
                ASSERT_GE(runs.capacity(), runs.size());
            }
            const TRunArray copy = runs;
            ASSERT_TRUE(Same(copy, model));
            ASSERT_NE(copy.data(), runs.data());
        }
    }
}

// Start/stop key entries: the key index - 32768.
constexpr int16_t KeyEntryOf0 = -32768;
constexpr int16_t KeyEntryOf1 = -32767;

TEST(RunStorageModel, ContextStacksReadAsTheArraysTheyStandFor) {
    std::mt19937 rng(78);
    struct TPair {
        TContextStack Stack;
        std::array<int16_t, kStackEntries> Model{};
    };
    std::vector<TPair> pool(6);
    for (int step = 0; step < 20000; ++step) {
        TPair& p = pool[rng() % pool.size()];
        // Few distinct values, so that equal arrays come about often by different ways.
        constexpr int16_t kValues[] = {0, 1, 2, KeyEntryOf0, KeyEntryOf1};
        const int16_t entry = kValues[rng() % std::size(kValues)];
        const int d = static_cast<int>(rng() % kStackEntries);
        if (rng() % 2) {
            p.Stack[d] = entry;
            p.Model[static_cast<size_t>(d)] = entry;
        } else {
            const TPair& below = pool[rng() % pool.size()];
            const TContextStack pushed = TContextStack::Pushed(below.Stack, d, entry);
            std::array<int16_t, kStackEntries> model{};
            for (int k = 0; k < d; ++k)
                model[static_cast<size_t>(k)] = below.Model[static_cast<size_t>(k)];
            model[static_cast<size_t>(d)] = entry;
            p.Stack = pushed;
            p.Model = model;
        }
        for (int k = 0; k < kStackEntries; ++k)
            ASSERT_EQ(+static_cast<const TContextStack&>(p.Stack)[k], p.Model[static_cast<size_t>(k)])
                << "step " << step << " entry " << k;
        for (const TPair& other : pool)
            ASSERT_EQ(other.Stack == p.Stack, other.Model == p.Model) << "step " << step;
    }
}

} // namespace
} // namespace zandor
