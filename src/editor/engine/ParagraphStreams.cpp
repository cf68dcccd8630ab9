#include "editor/engine/ParagraphStreams.h"

#include "editor/engine/ByteStream.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zandor {

namespace {

// Loaded text arrives in blocks of this many characters (plus a terminator); a block that filled
// up is copied into an exact buffer when that saves an eighth of it or more.
constexpr size_t kLoadChunk = 65500;
constexpr size_t kTrimBelow = 57313;

using Clock = std::chrono::steady_clock;

int64_t MillisecondsSince(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// What the scanner must stop at; everything else is taken without a look.
enum ByteClass : uint8_t { bcPlain, bcNul, bcBreak, bcCode };

std::array<uint8_t, 256> ByteClasses(bool staticFormat) {
    std::array<uint8_t, 256> classes{};
    classes[0] = bcNul;
    classes['\r'] = classes['\n'] = bcBreak;
    if (staticFormat)
        for (char c : {fcBold, fcItalic, fcUnderline, fcHighlight, fcAltFont})
            classes[static_cast<uint8_t>(c)] = bcCode;
    return classes;
}

// Index of the first byte at or after `from` that may need the scanner's attention: a NUL, a break
// or, with static format, a format code (any byte below 5, and 21). Lines are short, so the search
// must be cheap to start as well as fast over long runs: sixteen bytes are compared at once and the
// hit is located by its bit, never by a byte-wise walk. Stops before end - 15 when nothing is found;
// the caller's byte-wise loop finishes the block up to its sentinel.
size_t FindSpecial(const unsigned char* bytes, size_t from, size_t end, bool staticFormat) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
    const __m128i codeMax = _mm_set1_epi8(4), underline = _mm_set1_epi8(fcUnderline);
    while (from + 16 <= end) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf));
        if (staticFormat) // bytes 0 .. 4 are exactly those left unchanged by an unsigned min with 4
            hit = _mm_or_si128(
                hit, _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(x, codeMax), x), _mm_cmpeq_epi8(x, underline)));
        else
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(x, nul));
        if (const auto mask = static_cast<uint32_t>(_mm_movemask_epi8(hit)); mask != 0)
            return from + static_cast<size_t>(std::countr_zero(mask));
        from += 16;
    }
#else
    // Eight bytes at a time; the lowest flagged byte of these bit tricks is always a true hit.
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    const auto below = [](uint64_t x, uint64_t n) { return (x - kOnes * n) & ~x & kHighs; };
    const auto equal = [&](uint64_t x, uint64_t c) { return below(x ^ (kOnes * c), 1); };
    while (from + 8 <= end) {
        uint64_t x;
        std::memcpy(&x, bytes + from, 8);
        const uint64_t hit = equal(x, '\r') | equal(x, '\n') |
                             (staticFormat ? below(x, 5) | equal(x, fcUnderline) : equal(x, 0));
        if (hit != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return from + static_cast<size_t>(std::countr_zero(hit)) / 8;
            return from;
        }
        from += 8;
    }
#endif
    return from;
}

class Loader {
public:
    Loader(TParagraphsList& list, TByteStream& stream, uint32_t interval, const TProgressHandler& progress,
           TArtLineBreak& breakKind, bool discardTrailing, char nullReplacement, int64_t maxTextLength)
        : FList(list), FStream(stream), FInterval(interval), FProgress(progress), FBreakKind(breakKind),
          FDiscardTrailing(discardTrailing), FNullReplacement(nullReplacement), FMaxTextLength(maxTextLength),
          FClasses(ByteClasses(list.StaticFormat)) {}

    void Run();
    // Scans bytes the list has taken over as its one load block, where they are.
    void RunInPlace(std::unique_ptr<char[]> bytes, size_t size);
    // After a failure: every byte read so far stays, split into paragraphs as if the stream had
    // ended there, the last one being the unfinished paragraph.
    void FinishAfterFailure();
    int64_t TextLength() const { return FTextLength; }

private:
    // Splits the bytes from FScan on into paragraphs, reading more until the stream ends.
    void ScanToEnd();
    void StartBlock(size_t capacity, size_t keep);
    void ReadMore();
    void Refill();
    void EndParagraph(bool last);
    // Every 16th paragraph, when the interval has passed.
    void ReportProgress();

    TParagraphsList& FList;
    TByteStream& FStream;
    uint32_t FInterval;
    const TProgressHandler& FProgress;
    TArtLineBreak& FBreakKind;
    bool FDiscardTrailing;
    char FNullReplacement;
    int64_t FMaxTextLength;
    std::array<uint8_t, 256> FClasses;

    char* FBlock = nullptr;
    size_t FCapacity = 0; // characters the block holds (its terminator slot not counted)
    size_t FFilled = 0;
    size_t FScan = 0;
    size_t FParStart = 0;
    int32_t FFirstParInBlock = 0;
    int64_t FStartPosition = 0;
    int64_t FLeft = 0;      // bytes of the stream not read yet
    int64_t FBytesRead = 0; // bytes read from where the load began
    int64_t FTextLength = 0;
    uint8_t FStyle = 0;    // static format state at the scan position
    uint8_t FParStyle = 0; // ... at the start of the current paragraph
    char FPrevBreak = 0;
    bool FEnded = false;     // the last paragraph is in the list
    bool FFinishing = false; // splitting what was read after a failure: nobody is told of progress
    bool FInPlace = false;   // the stream is the block itself
    Clock::time_point FLastProgress = Clock::now();
};

void Loader::StartBlock(size_t capacity, size_t keep) {
    auto block = std::make_unique_for_overwrite<char[]>(capacity + 1);
    if (keep > 0)
        std::memcpy(block.get(), FBlock + FParStart, keep);
    if (FList.LoadBlocks.empty() || FList.Count() > FFirstParInBlock) {
        // Paragraphs were completed in the old block: it stays, trimmed to its used part when a
        // useful amount of it would otherwise stand empty.
        if (FBlock && FParStart < kTrimBelow) {
            auto exact = std::make_unique_for_overwrite<char[]>(std::max<size_t>(FParStart, 1));
            std::memcpy(exact.get(), FBlock, FParStart);
            for (int32_t p = FFirstParInBlock; p < FList.Count(); ++p) {
                ParInfo& par = FList.Par(p);
                par.Text = exact.get() + (par.Text - FBlock);
            }
            FList.LoadBlocks.back().Block = std::move(exact);
        }
        FList.LoadBlocks.push_back(LoadBlock{std::move(block)});
    } else {
        // Only a paragraph longer than the block lived here: the new block replaces it.
        FList.LoadBlocks.back().Block = std::move(block);
    }
    FBlock = FList.LoadBlocks.back().Block.get();
    FCapacity = capacity;
    FFirstParInBlock = FList.Count();
    FParStart = 0;
    FScan = FFilled = keep;
    FBlock[FFilled] = '\0';
}

void Loader::ReadMore() {
    size_t want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(FCapacity - FFilled), FLeft));
    while (want > 0) {
        const size_t got = FStream.Read(FBlock + FFilled, want);
        if (got == 0) {
            FLeft = 0; // the stream ended sooner than its size said
            break;
        }
        FFilled += got;
        FBytesRead += static_cast<int64_t>(got);
        FLeft -= static_cast<int64_t>(got);
        want -= got;
    }
    // The terminator slot doubles as the scanner's sentinel.
    FBlock[FFilled] = '\0';
}

void Loader::Refill() {
    if (FFilled < FCapacity) {
        ReadMore();
        return;
    }
    const size_t unfinished = FFilled - FParStart;
    // The unfinished paragraph will be at least this long; blanks at its end so far count only
    // when they are kept.
    size_t kept = unfinished;
    if (FDiscardTrailing)
        while (kept > 0 && IsBlank(FBlock[FParStart + kept - 1]))
            --kept;
    if (FTextLength + static_cast<int64_t>(kept) > FMaxTextLength)
        throw ETextTooLong();
    // A paragraph longer than a block makes the next block as large again, so a text of one huge
    // line is copied a logarithmic number of times, not once per block.
    StartBlock(unfinished + std::max(kLoadChunk, unfinished), unfinished);
    ReadMore();
}

void Loader::EndParagraph(bool last) {
    size_t length = FScan - FParStart;
    if (FDiscardTrailing)
        while (length > 0 && IsBlank(FBlock[FParStart + length - 1]))
            --length;
    if (FTextLength + static_cast<int64_t>(length) + (last ? 0 : 2) > FMaxTextLength)
        throw ETextTooLong();
    FBlock[FParStart + length] = '\0';
    const auto n = static_cast<int32_t>(length);
    ParInfo par{};
    par.Text = FBlock + FParStart;
    par.Start = static_cast<int32_t>(FTextLength);
    par.FirstLine = FList.Count();
    if (n < kCompactLengthLimit && FParStyle == 0) {
        // Nearly every paragraph: the compact form holds it, and its first line (the whole
        // paragraph, no width yet, no style) is what the zeroed record already says.
        par.Compact.Length = static_cast<uint16_t>(n);
    } else {
        SetParLength(par, n);
        StoreFirstLine(par, LineInfo{0, n, 0, 0, 0, n, FParStyle, 0});
    }
    try {
        FList.Add(&par);
    } catch (...) {
        ReleasePar(par);
        throw;
    }
    FTextLength += n + (last ? 0 : 2);
    FParStyle = FStyle;
}

void Loader::ReportProgress() {
    if (FProgress && !FFinishing && FList.Count() % 16 == 0 &&
        MillisecondsSince(FLastProgress) >= FInterval) {
        const int64_t at = FInPlace ? static_cast<int64_t>(FScan) : FStream.Position();
        FList.LoadProgress = static_cast<int32_t>(std::min<int64_t>(at, INT32_MAX));
        FProgress();
        FLastProgress = Clock::now();
    }
}

void Loader::Run() {
    FStartPosition = FStream.Position();
    FLeft = std::max<int64_t>(0, FStream.Size() - FStartPosition);
    StartBlock(kLoadChunk, 0);
    ReadMore();
    ScanToEnd();
}

void Loader::RunInPlace(std::unique_ptr<char[]> bytes, size_t size) {
    FInPlace = true;
    FList.LoadBlocks.push_back(LoadBlock{std::move(bytes)});
    FBlock = FList.LoadBlocks.back().Block.get();
    FCapacity = FFilled = size;
    FBlock[size] = '\0';
    FBytesRead = static_cast<int64_t>(size);
    FStream.Seek(FBytesRead); // FLeft stays 0: the sentinel ends the scan
    ScanToEnd();
}

void Loader::ScanToEnd() {
    const auto* classes = FClasses.data();
    for (;;) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(FBlock);
        size_t i = FindSpecial(bytes, FScan, FFilled, FList.StaticFormat);
        while (classes[bytes[i]] == bcPlain)
            ++i;
        if (i != FScan)
            FPrevBreak = 0;
        FScan = i;
        if (i == FFilled) { // the sentinel
            if (FLeft == 0)
                break;
            Refill();
            continue;
        }
        char c = FBlock[i];
        if (c == '\0') {
            if (FNullReplacement == '\0') {
                EndParagraph(true);
                FEnded = true;
                FStream.Seek(FStartPosition + FBytesRead - static_cast<int64_t>(FFilled - FScan));
                return;
            }
            FBlock[i] = c = FNullReplacement;
            if (classes[static_cast<uint8_t>(c)] == bcPlain) {
                FPrevBreak = 0;
                ++FScan;
                continue;
            }
        }
        if (c == '\r' || c == '\n') {
            if (FPrevBreak != 0 && FPrevBreak != c) {
                // The second byte of CR LF or LF CR: the break is complete.
                FBreakKind = c == '\n' ? pbCRLF : pbLFCR;
                FPrevBreak = 0;
                FParStart = ++FScan;
                continue;
            }
            FBreakKind = c == '\n' ? pbLF : pbCR;
            EndParagraph(false);
            FPrevBreak = c;
            FParStart = ++FScan;
            ReportProgress();
            continue;
        }
        // A format code (or a replaced NUL that is one): it toggles the style and stays in the text.
        FStyle ^= FormatCodeBit(c);
        FPrevBreak = 0;
        ++FScan;
    }
    EndParagraph(true);
}

void Loader::FinishAfterFailure() {
    if (!FBlock || FEnded)
        return; // nothing read, or the text ended and only placing the stream on its NUL failed
    FFinishing = true;
    // A read can fail after earlier reads of the same refill delivered bytes that were never
    // scanned; they are split like the rest, and nothing more is asked of the stream.
    FLeft = 0;
    FScan = std::min(FScan, FFilled);
    FBlock[FFilled] = '\0';
    ScanToEnd();
}

void SetCountersAfterLoad(TParagraphsList& list, int64_t textLength) {
    list.TextLength = static_cast<int32_t>(textLength);
    list.Modified = false;
    list.DirtyFirstLine = 0;
    list.DirtyFrom = 0;
    list.DirtyTo = list.Count() - 1;
    list.DirtyLineDelta = 0;
    list.ParsedTo = -1;
    list.BgNext = 0;
    list.BgLast = list.Count();
    list.LineCount = list.VisibleLineCount = list.Count();
}

void MakeEmpty(TParagraphsList& list) {
    list.ClearAll();
    ParInfo empty{};
    list.Add(&empty);
}

// ---- writing ---------------------------------------------------------------------------------

// The text as written with format codes interpreted: a code followed, across other codes only, by
// the same code toggles nothing, and both are left out. Codes between non-codes are untouched.
std::string_view CancelCodePairs(std::string_view text, std::string& scratch) {
    const auto codeAt = [&](size_t i) { return IsFormatCode(text[i]); };
    size_t first = 0;
    while (first < text.size() && !codeAt(first))
        ++first;
    if (first == text.size())
        return text;
    // Within one run of codes, a code's partner is the next equal code of the run; a partner is
    // never a code the scan still has to visit, so one pass over next-equal links does it.
    std::vector<int32_t> nextSame(text.size(), -1);
    std::vector<bool> dropped(text.size(), false);
    size_t i = first;
    bool any = false;
    while (i < text.size()) {
        if (!codeAt(i)) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && codeAt(end))
            ++end;
        std::array<int32_t, 256> seen;
        seen.fill(-1);
        for (size_t k = end; k-- > i;) {
            const auto c = static_cast<uint8_t>(text[k]);
            nextSame[k] = seen[c];
            seen[c] = static_cast<int32_t>(k);
        }
        for (size_t k = i; k < end; ++k) {
            if (dropped[k] || nextSame[k] < 0)
                continue;
            dropped[k] = dropped[static_cast<size_t>(nextSame[k])] = true;
            any = true;
        }
        i = end;
    }
    if (!any)
        return text;
    scratch.clear();
    for (size_t k = 0; k < text.size(); ++k)
        if (!dropped[k])
            scratch.push_back(text[k]);
    return scratch;
}

std::string_view BreakBytes(TArtLineBreak kind) {
    switch (kind) {
    case pbLFCR:
        return "\n\r";
    case pbCR:
        return "\r";
    case pbLF:
        return "\n";
    case pbCRLF:
    default:
        return "\r\n";
    }
}

// Gathers small writes into large ones.
class OutBuffer {
public:
    explicit OutBuffer(TByteStream& stream) : FStream(stream) { FBytes.reserve(kSize); }
    void Append(std::string_view bytes) {
        if (FBytes.size() + bytes.size() > kSize)
            Flush();
        if (bytes.size() >= kSize / 4)
            FStream.Write(bytes.data(), bytes.size());
        else
            FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
    }
    void Flush() {
        if (!FBytes.empty())
            FStream.Write(FBytes.data(), FBytes.size());
        FBytes.clear();
    }

private:
    static constexpr size_t kSize = 65536;
    TByteStream& FStream;
    std::vector<char> FBytes;
};

// Runs a load on an empty list; on a failure the list keeps what the loader had split.
template <class Run> void RunLoad(TParagraphsList& list, Loader& loader, Run run) {
    try {
        run();
    } catch (const ETextTooLong&) {
        // Positions beyond 32 bits would corrupt every offset: nothing of such a text is kept.
        MakeEmpty(list);
        SetCountersAfterLoad(list, 0);
        throw;
    } catch (...) {
        try {
            loader.FinishAfterFailure();
        } catch (...) {
            // Keep what is there; the first failure is the one to report.
        }
        if (list.Count() == 0) {
            MakeEmpty(list);
            SetCountersAfterLoad(list, 0);
        } else {
            // Taken from the records: when finishing failed too, the last paragraph in the list may
            // be one the loader had counted a break after.
            const ParInfo& last = list.Par(list.Count() - 1);
            SetCountersAfterLoad(list, int64_t(last.Start) + ParLength(last));
        }
        throw;
    }
    SetCountersAfterLoad(list, loader.TextLength());
}

} // namespace

void LoadParagraphs(TParagraphsList& list, TByteStream& stream, uint32_t interval,
                    const TProgressHandler& progress, TArtLineBreak& breakKind, bool discardTrailing,
                    char nullReplacement, int64_t maxTextLength) {
    if (list.Count() > 0 || !list.LoadBlocks.empty())
        list.ClearAll();
    Loader loader(list, stream, interval, progress, breakKind, discardTrailing, nullReplacement,
                  std::min(maxTextLength, kMaxTextLength));
    RunLoad(list, loader, [&] { loader.Run(); });
}

void LoadParagraphsInPlace(TParagraphsList& list, std::unique_ptr<char[]> bytes, size_t size,
                           uint32_t interval, const TProgressHandler& progress, TArtLineBreak& breakKind,
                           bool discardTrailing, char nullReplacement, int64_t maxTextLength) {
    if (list.Count() > 0 || !list.LoadBlocks.empty())
        list.ClearAll();
    TMemoryReadStream stream(bytes.get(), size);
    Loader loader(list, stream, interval, progress, breakKind, discardTrailing, nullReplacement,
                  std::min(maxTextLength, kMaxTextLength));
    RunLoad(list, loader, [&] { loader.RunInPlace(std::move(bytes), size); });
}

void SaveParagraphs(TParagraphsList& list, TByteStream& stream, uint32_t interval,
                    const TProgressHandler& progress, TArtLineBreak breakKind, bool discardTrailing) {
    const std::string_view breakBytes = BreakBytes(breakKind);
    const int32_t count = list.Count();
    OutBuffer out(stream);
    std::string scratch;
    Clock::time_point lastProgress = Clock::now();
    for (int32_t p = 0; p < count; ++p) {
        const ParInfo& par = list.Par(p);
        const int32_t length = ParLength(par);
        std::string_view text = length > 0 ? std::string_view(par.Text, static_cast<size_t>(length)) : "";
        if (list.StaticFormat)
            text = CancelCodePairs(text, scratch);
        if (discardTrailing)
            while (!text.empty() && IsBlank(text.back()))
                text.remove_suffix(1);
        out.Append(text);
        if (p + 1 < count)
            out.Append(breakBytes);
        if (progress && MillisecondsSince(lastProgress) > interval) {
            out.Flush();
            list.SaveProgress = p;
            progress();
            lastProgress = Clock::now();
        }
    }
    out.Flush();
    list.SaveProgress = count;
    if (progress)
        progress();
}

} // namespace zandor
