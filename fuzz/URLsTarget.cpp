// Addresses in any text: a piece of bytes repeated into paragraphs up to some 100 KB (longer than
// one address may be), with a few keywords, highlighted with the URL highlighter the short way and
// the general way, then edited. Both ways give the same runs, an edited text the runs a fresh
// highlight gives, and the work stays in proportion to the text: the bytes the scans read and the
// run records moved. Under libFuzzer the short way's highlighting also has a time budget (the
// general way and the comparisons are the oracle's work and not counted), which the replay in the
// test suite leaves out so that it never depends on the machine's speed.
#include "FormatTestText.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "GeneralWayURLs.h"
#include "HighlightTestText.h"
#include "ReplaceTestText.h"

#include "editor/addons/URLHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ReplaceRange.h"

#include <chrono>
#include <string>
#include <vector>

// Present in a libFuzzer executable only.
extern "C" int LLVMFuzzerRunDriver(int* argc, char*** argv, int (*test)(const uint8_t*, size_t))
    __attribute__((weak));

namespace zandor::fuzz {

namespace {

struct TSetup {
    bool Priority;
    int Refused; // a kind of address OnURL refuses; 5: none
    TamUpperCase Fold;
    std::vector<std::pair<std::string, bool>> Words; // keyword, whole word
};

struct TSide {
    explicit TSide(const TSetup& setup, bool general, const std::string& text)
        : Urls(general ? static_cast<TURLHighlighter&>(General) : Short) {
        Urls.SetPriority(setup.Priority);
        if (setup.Refused < 5)
            Urls.OnURL = [refused = setup.Refused](TURLHighlighter*, int16_t, TURLType type) {
                return type != refused;
            };
        f.Hl.SetUpperCaseType(setup.Fold);
        f.Hl.SetKeywordRunsInOnePass(!general);
        for (const auto& [word, whole] : setup.Words)
            f.Hl.Keywords().AddKeyWord(word, whole ? koWholeWord : 0, 0, 1, 0, -1, 0xFF00);
        f.Hl.SetHighlighter(&Urls);
        test::LoadThroughStream(f.Core, text);
    }
    // Highlights (all, or after replacing [s, e) with `insert`), checking the work it took.
    void Highlight(size_t keywords, int32_t s = -1, int32_t e = -1, const std::string& insert = {}) {
        const auto started = std::chrono::steady_clock::now();
        const int64_t examined = Urls.Examined();
        const uint64_t moved = TRunArray::Moved();
        if (s >= 0) {
            TArtNavigator a(&f.Core), b(&f.Core);
            a.SetPos(s);
            b.SetPos(e);
            const TReplaceResult r = ReplaceText(f.Core, a, b, insert.c_str());
            f.Hl.AfterReplace(a, b, r.RunsRemoved, false);
        }
        f.HighlightAll();
        Spent += std::chrono::steady_clock::now() - started;
        const auto bytes = static_cast<int64_t>(f.Core.CharCount()) + 64;
        FuzzCheck(Urls.Examined() - examined <= 40 * bytes, "the address scan read too much of the text");
        FuzzCheck(static_cast<int64_t>(TRunArray::Moved() - moved) <=
                      8 * static_cast<int64_t>(keywords + 2) * bytes,
                  "highlighting moved too many runs");
    }
    TURLHighlighter Short;
    TGeneralWayURLs General;
    TURLHighlighter& Urls;
    test::HighlightFixture f;
    std::chrono::steady_clock::duration Spent{};
};

void CheckSame(TSide& a, TSide& b, const char* what) {
    const std::string diff = test::SnapshotDiff(test::Snapshot(a.f.List()), test::Snapshot(b.f.List()));
    if (!diff.empty())
        FuzzFail(std::string(what) + ": " + diff);
}

} // namespace

int FuzzURLs(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    TSetup setup{in.Flag(), static_cast<int>(in.Below(6)), static_cast<TamUpperCase>(in.Below(2)), {}};
    const bool large = in.Flag();
    for (int k = in.Range(0, 3); k > 0; --k) {
        const bool whole = in.Flag();
        setup.Words.emplace_back(in.Bytes(6), whole);
    }
    const std::string piece = in.Bytes(64);
    const uint32_t repeats = 1 + in.Below(large ? 4000 : 8);
    std::string text;
    for (uint32_t i = 0; i < repeats && text.size() < 100000; ++i)
        text += piece;

    TSide quick(setup, false, text), general(setup, true, text);
    quick.Highlight(setup.Words.size());
    general.Highlight(setup.Words.size());
    CheckSame(quick, general, "the short way and the general way styled otherwise");
    for (int step = 0; step < 3 && !in.Empty(); ++step) {
        const auto length = static_cast<uint32_t>(quick.f.Core.CharCount());
        const auto s = static_cast<int32_t>(in.Below(length + 1));
        const int32_t e = s + static_cast<int32_t>(in.Below(8));
        const std::string insert = in.Bytes(12);
        quick.Highlight(setup.Words.size(), s, e, insert);
        general.Highlight(setup.Words.size(), s, e, insert);
        CheckSame(quick, general, "after an edit the short way and the general way styled otherwise");
        TSide fresh(setup, false, test::StoreText(quick.f.List()));
        fresh.Highlight(setup.Words.size());
        CheckSame(fresh, quick, "after an edit the runs differ from a fresh highlight");
    }
    if (LLVMFuzzerRunDriver) {
        FuzzCheck(quick.Spent < std::chrono::milliseconds(500 + static_cast<int64_t>(text.size()) / 64),
                  "highlighting took far longer than its text's length allows");
    }
    return 0;
}

} // namespace zandor::fuzz
