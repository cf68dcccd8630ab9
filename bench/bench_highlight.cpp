// links: zandor_engine
// Highlighting at scale: a full keyword and context parse of a large text, and what one typed
// character costs to re-highlight inside and outside a context that spans many paragraphs. Each
// figure stands beside its floor from the same run: memchr over the same bytes for the parse, the
// bare replacement without highlighting for typing.
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace zandor;

constexpr int kParagraphs = 100000;

std::vector<std::string> KeywordWords() {
    std::vector<std::string> words;
    for (int i = 0; i < 50; ++i)
        words.push_back("kw" + std::to_string(i) + (i % 3 == 0 ? "x" : ""));
    return words;
}

// Source-like text: words, some of them keywords, a comment opened every 40 paragraphs and closed
// 20 paragraphs later, strings and line comments now and then.
std::string MakeText() {
    std::mt19937 rng(7);
    const std::vector<std::string> keywords = KeywordWords();
    const char* plain[] = {"alpha", "beta", "gamma", "delta", "value", "count", "index", "=", "+", "(x)"};
    std::string text;
    text.reserve(static_cast<size_t>(kParagraphs) * 48);
    for (int p = 0; p < kParagraphs; ++p) {
        if (p > 0)
            text += "\r\n";
        if (p % 40 == 5)
            text += "/* ";
        const int words = 4 + static_cast<int>(rng() % 6);
        for (int w = 0; w < words; ++w) {
            if (w)
                text += ' ';
            text += rng() % 4 == 0 ? keywords[rng() % keywords.size()] : plain[rng() % std::size(plain)];
        }
        if (p % 40 == 25)
            text += " */";
        if (p % 7 == 3)
            text += " \"a string\"";
        if (p % 11 == 4)
            text += " // note";
    }
    return text;
}

struct Document {
    TArtMemoCore Core;
    THighlighting Hl{Core};
    int64_t Bytes = 0;

    explicit Document(bool keys = true) {
        const std::string text = MakeText();
        Bytes = static_cast<int64_t>(text.size());
        TArtNavigator s(&Core), e(&Core);
        ReplaceText(Core, s, e, text.c_str());
        if (!keys)
            return;
        for (const std::string& k : KeywordWords())
            Hl.Keywords().AddKeyWord(k, koWholeWord, sfBold, 10, 0, -1, 0xFF0000);
        Hl.StartStopKeys().AddKey("/*", "*/", 0, sfItalic, 1, 0, -1, 0x808080, false);
        Hl.StartStopKeys().AddKey("\"", "\"", 0, 0, 2, 0, -1, 0x008000, true);
        Hl.StartStopKeys().AddKey("//", "", 0, sfItalic, 3, 0, -1, 0x808080, true);
    }
    std::string Text() const {
        std::string all;
        for (int p = 0; p < Core.Paragraphs().Count(); ++p) {
            const ParInfo& par = Core.Paragraphs().Par(p);
            if (p)
                all += "\r\n";
            all.append(par.Text ? par.Text : "", static_cast<size_t>(ParLength(par)));
        }
        return all;
    }
};

void BM_FullParse(benchmark::State& state) {
    Document doc;
    for (auto _ : state) {
        doc.Hl.ReApplyKeywords();
        doc.Hl.HighlightUpTo(doc.Core.Paragraphs().Count() - 1);
    }
    state.SetBytesProcessed(state.iterations() * doc.Bytes);
    state.counters["paragraphs"] = kParagraphs;
}
BENCHMARK(BM_FullParse)->Unit(benchmark::kMillisecond);

// Floor of the full parse: one memchr pass over the same bytes.
void BM_FullParseFloorMemchr(benchmark::State& state) {
    Document doc(false);
    const std::string text = doc.Text();
    for (auto _ : state) {
        const void* hit = std::memchr(text.data(), 1, text.size());
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FullParseFloorMemchr)->Unit(benchmark::kMillisecond);

// One edit per iteration, typing a character and deleting it in turn, with highlighting brought up
// to date after each as the control does. The paragraph lies inside a comment of 20 paragraphs
// (range 0) or in plain text (range 1); range 2 makes the same edits without any highlighting: the
// floor, which is the replacement itself (mostly shifting the positions of the 60,000 paragraphs
// after it).
void BM_TypeCharacter(benchmark::State& state) {
    const int where = static_cast<int>(state.range(0));
    Document doc(where != 2);
    doc.Hl.HighlightUpTo(doc.Core.Paragraphs().Count() - 1);
    const int par = where == 0 ? 40 * 1000 + 15 : 40 * 1000 + 32; // inside / outside a comment
    const int32_t at = doc.Core.Paragraphs().Par(par).Start + 6;
    TArtNavigator s(&doc.Core), e(&doc.Core);
    bool typed = false;
    for (auto _ : state) {
        s.SetPos(at);
        e.SetPos(typed ? at + 1 : at);
        const TReplaceResult r = ReplaceText(doc.Core, s, e, typed ? "" : "q");
        if (where != 2)
            doc.Hl.AfterReplace(s, e, r.RunsRemoved, false);
        typed = !typed;
    }
}
BENCHMARK(BM_TypeCharacter)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"inside0_outside1_floor2"})
    ->Unit(benchmark::kMicrosecond);

// The re-highlighting alone that follows one typed character: the edited paragraph's contexts
// and keywords again, and the check whether the state at its end changed (range 0: inside a
// comment of 20 paragraphs, 1: in plain text).
void BM_ReparseAfterTyping(benchmark::State& state) {
    Document doc;
    doc.Hl.HighlightUpTo(doc.Core.Paragraphs().Count() - 1);
    const int par = state.range(0) == 0 ? 40 * 1000 + 15 : 40 * 1000 + 32;
    TArtNavigator s(&doc.Core), e(&doc.Core);
    s.SetPos(doc.Core.Paragraphs().Par(par).Start + 6);
    e.SetPos(s.Pos() + 1);
    for (auto _ : state)
        doc.Hl.AfterReplace(s, e, true, false);
}
BENCHMARK(BM_ReparseAfterTyping)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"inside0_outside1"})
    ->Unit(benchmark::kMicrosecond);

// Typing the "/" that turns "*" into the start key of a comment: the context spreads paragraph by
// paragraph (brought up to date here for the next 60 paragraphs, as formatting a screen would),
// and deleting it takes the spread back.
void BM_TypeStartKeySpread(benchmark::State& state) {
    Document doc;
    doc.Hl.HighlightUpTo(doc.Core.Paragraphs().Count() - 1);
    const int par = 40 * 1000 + 30;
    TParagraphsList& list = doc.Core.Paragraphs();
    TArtNavigator s(&doc.Core), e(&doc.Core);
    {
        s.SetPos(list.Par(par).Start);
        e.SetPos(s.Pos());
        ReplaceText(doc.Core, s, e, "*");
    }
    const int32_t at = list.Par(par).Start;
    bool typed = false;
    for (auto _ : state) {
        s.SetPos(at);
        e.SetPos(typed ? at + 1 : at);
        const TReplaceResult r = ReplaceText(doc.Core, s, e, typed ? "" : "/");
        doc.Hl.AfterReplace(s, e, r.RunsRemoved, false);
        doc.Hl.HighlightUpTo(par + 60, par);
        typed = !typed;
    }
}
BENCHMARK(BM_TypeStartKeySpread)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
