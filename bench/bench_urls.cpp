// links: zandor_addons
// The address highlighter at scale: a 100 MB text of art-file lines with addresses highlighted from
// scratch, with and without 50 keywords, beside a memchr pass over the same bytes; and the
// re-highlight after one character typed inside an address, beside the bare replacement; and
// single long paragraphs of the bytes that make address highlighting work hardest.
#include "editor/addons/URLHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace zandor;

constexpr size_t kTextBytes = 100u << 20;

std::vector<std::string> KeywordWords() {
    std::vector<std::string> words;
    for (int i = 0; i < 50; ++i)
        words.push_back("kw" + std::to_string(i) + (i % 3 == 0 ? "x" : ""));
    return words;
}

// Lines as release notes have them: frames, prose, some keywords, and every few lines an address.
std::string MakeText() {
    std::mt19937 rng(11);
    const std::vector<std::string> keywords = KeywordWords();
    const char* plain[] = {"release", "group", "the", "and", "crack", "supplied", "by", "of", "(c)", "1999"};
    const char* addresses[] = {"http://www.group.org/", "www.site.com.",  "greets@crew.net;",
                               "ftp.files.org",         "news:alt.warez", "HTTPS://secure.example/path?q=1"};
    std::string text;
    text.reserve(kTextBytes + 256);
    while (text.size() < kTextBytes) {
        text += "\xB3 ";
        const int words = 5 + static_cast<int>(rng() % 6);
        for (int w = 0; w < words; ++w) {
            if (w)
                text += ' ';
            const unsigned pick = rng() % 16;
            if (pick == 0)
                text += addresses[rng() % std::size(addresses)];
            else if (pick < 4)
                text += keywords[rng() % keywords.size()];
            else
                text += plain[rng() % std::size(plain)];
        }
        text += " \xB3\r\n";
    }
    return text;
}

// One text, made once (100 MB takes a while), held by a core that can be built afresh.
struct Document {
    std::string Text = MakeText();
    std::unique_ptr<TArtMemoCore> Core;
    std::unique_ptr<THighlighting> Hl;
    TURLHighlighter Urls;

    Document() { Reload(); }
    ~Document() { Hl.reset(); }
    // A core holding the text and never highlighted, as after opening the file; the old one is
    // freed first, so its memory goes back before the new one takes any.
    void Reload() {
        Hl.reset();
        Core.reset();
        Core = std::make_unique<TArtMemoCore>();
        Hl = std::make_unique<THighlighting>(*Core);
        TArtNavigator s(Core.get()), e(Core.get());
        ReplaceText(*Core, s, e, Text.c_str());
    }
    void Use(bool urls, bool keywords) {
        Hl->SetHighlighter(urls ? &Urls : nullptr);
        Hl->Keywords().Clear();
        if (keywords)
            for (const std::string& k : KeywordWords())
                Hl->Keywords().AddKeyWord(k, koWholeWord, 0, 1, 0, -1, 0xFF00);
    }
    void HighlightAll() {
        Hl->ReApplyKeywords();
        Hl->HighlightUpTo(Core->Paragraphs().Count() - 1);
    }
};

Document& Doc(bool urls, bool keywords) {
    static Document doc;
    doc.Use(urls, keywords);
    return doc;
}

// Addresses and 50 keywords once, on memory the process never had before: this pass also pays
// for the system handing over and clearing the pages that the run records and paragraph
// extensions take (some 700 MB here). It runs first; the passes after it reuse that memory.
void BM_HighlightFirstTime(benchmark::State& state) {
    Document& doc = Doc(true, true);
    for (auto _ : state)
        doc.HighlightAll();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.Text.size()));
}
BENCHMARK(BM_HighlightFirstTime)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

// range 0: addresses and 50 keywords; 1: addresses alone; 2: keywords alone; 3: neither (what the
// engine's pass over the paragraphs costs by itself). Each pass runs on a core just loaded, so it
// includes making the run records and paragraph extensions, as after opening a file.
void BM_HighlightFromScratch(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    Document& doc = Doc(kind == 0 || kind == 1, kind == 0 || kind == 2);
    for (auto _ : state) {
        state.PauseTiming();
        doc.Reload();
        doc.Use(kind == 0 || kind == 1, kind == 0 || kind == 2);
        state.ResumeTiming();
        doc.HighlightAll();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.Text.size()));
}
BENCHMARK(BM_HighlightFromScratch)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->ArgNames({"both0_urls1_keywords2_none3"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The same passes over a document highlighted the same way once before, untimed: the run records
// and paragraph extensions are there already, so this is the matching and styling alone, without
// the first touch of the memory they take (which the passes from scratch include).
void BM_HighlightAgain(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    Document& doc = Doc(kind == 0 || kind == 1, kind == 0 || kind == 2);
    doc.HighlightAll();
    for (auto _ : state)
        doc.HighlightAll();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.Text.size()));
}
BENCHMARK(BM_HighlightAgain)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"both0_urls1_keywords2"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The floor: one memchr pass over the same bytes.
void BM_HighlightFloorMemchr(benchmark::State& state) {
    const Document& doc = Doc(true, true);
    for (auto _ : state) {
        const void* hit = std::memchr(doc.Text.data(), 1, doc.Text.size());
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.Text.size()));
}
BENCHMARK(BM_HighlightFloorMemchr)->Unit(benchmark::kMillisecond);

// A character typed inside an address in the middle of the text and deleted again, in turn, with
// the paragraph highlighted again as the control does (range 0); range 1 is the floor, the same
// replacements without highlighting; range 2 the re-highlight alone, after the replacement.
void BM_TypeInsideAddress(benchmark::State& state) {
    const bool highlight = state.range(0) != 1;
    Document& doc = Doc(true, true);
    doc.Hl->ReApplyKeywords();
    TParagraphsList& list = doc.Core->Paragraphs();
    int par = list.Count() / 2;
    size_t inAddress = std::string::npos;
    for (; par < list.Count(); ++par) {
        const ParInfo& p = list.Par(par);
        inAddress = std::string_view(p.Text, static_cast<size_t>(ParLength(p))).find("www.group.org");
        if (inAddress != std::string::npos)
            break;
    }
    doc.Hl->HighlightUpTo(par, par);
    const int32_t at = list.Par(par).Start + static_cast<int32_t>(inAddress) + 6;
    TArtNavigator s(doc.Core.get()), e(doc.Core.get());
    if (state.range(0) == 2) {
        s.SetPos(at);
        e.SetPos(at);
        ReplaceText(*doc.Core, s, e, "q");
        e.SetPos(at + 1);
        for (auto _ : state)
            doc.Hl->AfterReplace(s, e, true, false);
        return;
    }
    bool typed = false;
    for (auto _ : state) {
        s.SetPos(at);
        e.SetPos(typed ? at + 1 : at);
        const TReplaceResult r = ReplaceText(*doc.Core, s, e, typed ? "" : "q");
        if (highlight)
            doc.Hl->AfterReplace(s, e, r.RunsRemoved, false);
        typed = !typed;
    }
}
BENCHMARK(BM_TypeInsideAddress)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"typed0_floor1_rehighlight2"})
    ->Unit(benchmark::kMicrosecond);

// One paragraph of 1 MB made of what makes highlighting addresses work hardest: a mailing-list
// header without a blank (range 0), a line of full stops (1), a line of "@" (2), addresses with a
// keyword glued to each (3). Highlighted from scratch, as after opening such a file; the cost
// follows the length, as for ordinary text.
void BM_HighlightLongParagraph(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    std::string text = kind == 0 ? "To: " : "";
    for (int i = 0; text.size() < (1u << 20); ++i)
        text += kind == 0   ? "user" + std::to_string(i) + "@example.com,"
                : kind == 1 ? std::string(".")
                : kind == 2 ? std::string("@")
                            : std::string("(www.a.b)kw ");
    TArtMemoCore core;
    THighlighting hl(core);
    TURLHighlighter urls;
    TArtNavigator s(&core), e(&core);
    ReplaceText(core, s, e, text.c_str());
    hl.SetHighlighter(&urls);
    for (const char* word : {"(", "kw"})
        hl.Keywords().AddKeyWord(word, 0, 0, 1, 0, -1, 0xFF00);
    for (auto _ : state) {
        hl.ReApplyKeywords();
        hl.HighlightUpTo(0);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_HighlightLongParagraph)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->ArgNames({"header0_dots1_at2_glued3"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
