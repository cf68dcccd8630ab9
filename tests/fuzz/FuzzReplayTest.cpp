// Every input a fuzzer once failed on (fuzz/regressions/<target>/) and every seed it starts from
// (fuzz/seeds/<target>/), run again through its target's checks in the normal test build, so a
// fault the fuzzers found stays found without running them.
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace zandor::fuzz {
namespace {

namespace fs = std::filesystem;

// The engine's targets and those of the program's features.
const std::vector<FuzzTarget>& AllTargets() {
    static const std::vector<FuzzTarget> all = [] {
        std::vector<FuzzTarget> targets = FuzzTargets();
        targets.insert(targets.end(), AppFuzzTargets().begin(), AppFuzzTargets().end());
        return targets;
    }();
    return all;
}

struct SavedInput {
    std::string Target;
    fs::path File;
};

// A failing input is named by its file, not by the bytes of the record.
void PrintTo(const SavedInput& input, std::ostream* out) {
    *out << input.File;
}

std::vector<SavedInput> SavedInputs(const char* folder) {
    std::vector<SavedInput> inputs;
    const fs::path root = fs::path(ZANDOR_SOURCE_DIR_BUILT) / "fuzz" / folder;
    for (const FuzzTarget& target : AllTargets()) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(root / target.Name, error))
            if (entry.is_regular_file())
                inputs.push_back({target.Name, entry.path()});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const SavedInput& a, const SavedInput& b) { return a.File < b.File; });
    return inputs;
}

std::string TestName(const ::testing::TestParamInfo<SavedInput>& info) {
    std::string name = info.param.Target + "_" + info.param.File.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class Replay : public ::testing::TestWithParam<SavedInput> {
protected:
    void SetUp() override { SetFuzzFailHandler(ThrowFuzzFailure); }
    void TearDown() override { SetFuzzFailHandler(nullptr); }
};

TEST_P(Replay, HoldsEveryCheckOfItsTarget) {
    const SavedInput& input = GetParam();
    std::ifstream in(input.File, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(in.good() || in.eof()) << input.File;
    const auto& targets = AllTargets();
    const auto target = std::find_if(targets.begin(), targets.end(),
                                     [&](const FuzzTarget& t) { return input.Target == t.Name; });
    ASSERT_NE(target, targets.end());
    try {
        target->Run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    } catch (const FuzzFailure& failure) {
        FAIL() << input.File << ": " << failure.What;
    }
}

// A target may have no regression (yet).
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Replay);
INSTANTIATE_TEST_SUITE_P(Regressions, Replay, ::testing::ValuesIn(SavedInputs("regressions")), TestName);
INSTANTIATE_TEST_SUITE_P(Seeds, Replay, ::testing::ValuesIn(SavedInputs("seeds")), TestName);

// The targets are total: any input, the empty one and a byte of each value too, runs to the end.
TEST(FuzzTargets, RunEveryShortInput) {
    SetFuzzFailHandler(ThrowFuzzFailure);
    for (const FuzzTarget& target : AllTargets()) {
        for (int byte = -1; byte < 256; ++byte) {
            const uint8_t data[1] = {static_cast<uint8_t>(byte)};
            try {
                target.Run(data, byte < 0 ? 0 : 1);
            } catch (const FuzzFailure& failure) {
                ADD_FAILURE() << target.Name << " on byte " << byte << ": " << failure.What;
            }
        }
    }
    SetFuzzFailHandler(nullptr);
}

} // namespace
} // namespace zandor::fuzz
