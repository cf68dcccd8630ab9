// links: zandor_engine
// Loading, saving and searching a generated 100 MB text, each beside its physical floor over the
// same bytes in the same run: memchr for loading (one look at every byte), memcpy for saving (every
// byte moved once), memmem for searching. Memory per paragraph after a load is reported beside the
// bytes the text itself needs (characters plus a terminator).
#include "editor/engine/ByteStream.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/TextSearch.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace zandor;

constexpr size_t kTextBytes = 100u << 20;
// Never produced by the generator, so the search finds it only at the very end.
constexpr const char* kNeedle = "~needle~at~the~end~";

// Lines of 0 .. 120 printable characters (words and blanks) with CR LF breaks, and the needle last.
const std::string& Text() {
    static const std::string text = [] {
        std::string t;
        t.reserve(kTextBytes + 64);
        std::mt19937 rng(1);
        const char* letters = "etaoinshrdlucmfwypvbgkjqxzETAOIN,.;:!?0123456789";
        const size_t nLetters = std::strlen(letters);
        while (t.size() < kTextBytes) {
            const uint32_t r = rng();
            const size_t length = r % 121;
            for (size_t i = 0; i < length; ++i) {
                const uint32_t c = (r >> 8) * 2654435761u + static_cast<uint32_t>(i) * 40503u;
                t += (c >> 27) < 5 ? ' ' : letters[(c >> 8) % nLetters];
            }
            t += "\r\n";
        }
        t += kNeedle;
        return t;
    }();
    return text;
}

const std::string& TextFile() {
    static const std::string path = [] {
        std::string p = "/tmp/zandor_bench_streams_" + std::to_string(getpid()) + ".txt";
        TFileStream out(p, TFileStream::fmCreate);
        out.Write(Text().data(), Text().size());
        out.Flush();
        return p;
    }();
    return path;
}

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Load(TParagraphsList& list, TByteStream& stream) {
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(list, stream, 300, {}, kind, false, '\0');
}

void BM_LoadFromMemory(benchmark::State& state) {
    const std::string& text = Text();
    double perParagraph = 0, textPerParagraph = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        TParagraphsList list;
        TMemoryReadStream stream(text.data(), text.size());
        Load(list, stream);
        benchmark::DoNotOptimize(list.TextLength);
        perParagraph = double(HeapInUse() - before) / list.Count();
        textPerParagraph = double(text.size() - 2.0 * (list.Count() - 1) + list.Count()) / list.Count();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["heap_B_per_par"] = perParagraph;
    state.counters["text_B_per_par"] = textPerParagraph;
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadFromFile(benchmark::State& state) {
    const std::string& path = TextFile();
    for (auto _ : state) {
        TParagraphsList list;
        TFileStream stream(path, TFileStream::fmOpenRead);
        Load(list, stream);
        benchmark::DoNotOptimize(list.TextLength);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text().size()));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// Floor of loading: memchr finding every LF of the same bytes.
void BM_Floor_MemchrLines(benchmark::State& state) {
    const std::string& text = Text();
    for (auto _ : state) {
        size_t lines = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_MemchrLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Save(benchmark::State& state) {
    TParagraphsList list;
    TMemoryReadStream in(Text().data(), Text().size());
    Load(list, in);
    for (auto _ : state) {
        TMemoryStream out;
        out.Reserve(Text().size());
        SaveParagraphs(list, out, 300, {}, pbCRLF, false);
        benchmark::DoNotOptimize(out.Bytes().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text().size()));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);

// Floor of saving: memcpy of the same bytes into a buffer of their size.
void BM_Floor_Memcpy(benchmark::State& state) {
    const std::string& text = Text();
    for (auto _ : state) {
        std::string out;
        out.resize(text.size());
        std::memcpy(out.data(), text.data(), text.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_Memcpy)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FindTextAtTheEnd(benchmark::State& state) {
    const bool matchCase = state.range(0) != 0;
    TArtMemoCore core;
    TMemoryReadStream in(Text().data(), Text().size());
    Load(core.Paragraphs(), in);
    for (auto _ : state) {
        TSelection sel;
        const bool found = FindText(core, kNeedle, true, matchCase, false, true, sel);
        if (!found || sel.SelStart != core.CharCount())
            state.SkipWithError("needle not found at the end");
        benchmark::DoNotOptimize(sel);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text().size()));
    state.SetLabel(matchCase ? "match case" : "folded case");
}
BENCHMARK(BM_FindTextAtTheEnd)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Floor of searching: memmem over the same bytes.
void BM_Floor_Memmem(benchmark::State& state) {
    const std::string& text = Text();
    const size_t n = std::strlen(kNeedle);
    for (auto _ : state) {
        const void* hit = memmem(text.data(), text.size(), kNeedle, n);
        if (hit != text.data() + text.size() - n)
            state.SkipWithError("memmem missed");
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Floor_Memmem)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(("/tmp/zandor_bench_streams_" + std::to_string(getpid()) + ".txt").c_str());
    return 0;
}
