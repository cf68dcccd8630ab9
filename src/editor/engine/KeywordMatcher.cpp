#include "editor/engine/KeywordMatcher.h"

#include "editor/engine/ByteSearch.h"
#include "editor/engine/KeywordList.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string_view>
#include <utility>

namespace zandor {

namespace {

// What the masked text holds where a keyword may not match.
constexpr char kMaskByte = 5;

bool IsSep(const TCharSet& set, char c) {
    return set.test(static_cast<unsigned char>(c));
}

// When no more than this many distinct bytes begin the texts, the next of them is searched for
// many bytes at a time.
constexpr int kFewFirst = kFewBytes;

// Up to this many occurrences in a paragraph are settled without a flag per byte.
constexpr size_t kFewCandidates = 16;

} // namespace

// An automaton over a set of match texts. Bytes are scanned through a class table (which folds
// case when the texts are folded) so the transition table holds one column per distinct byte of
// the texts only; every other byte leads back to the root.
struct TKeywordMatcher::TAutomaton {
    int Classes = 1;
    uint8_t ClassOf[256] = {};
    // From the root, windows of Window bytes are judged by their last byte: Skip[b] is 0 when b may
    // end the first Window bytes of a text (the window is read), else how far the window moves so
    // that b meets the nearest place it holds in a text's first bytes, or past it when it holds none.
    // Outside[b] is set when b is in no text's first Window bytes: no occurrence holds it there.
    int32_t Window = 1;
    uint8_t Skip[256] = {};
    uint8_t Outside[256] = {};
    // How many bytes leave the root and, when they are few, which: the next of them is then
    // searched for instead of skipping.
    int FirstCount = 0;
    uint8_t FewFirst[kFewFirst] = {};
    // [state << Shift | class]: the next state's row (state << Shift) << 1, bit 0 set when that
    // state ends a text. Rows are a power of two wide, so a step is a load and an add.
    int Shift = 0;
    std::vector<uint32_t> Next;
    std::vector<int32_t> OutStart; // per state, into Out; one more entry than states
    std::vector<int32_t> Out;      // keyword indexes

    // texts: (match text, keyword index); fold: the byte each scanned byte is compared as.
    void Build(const std::vector<std::pair<std::string_view, int>>& texts, const unsigned char* fold) {
        uint8_t textClass[256] = {};
        int classes = 1;
        for (const auto& [t, k] : texts)
            for (char c : t) {
                auto& cls = textClass[static_cast<unsigned char>(c)];
                if (cls == 0)
                    cls = static_cast<uint8_t>(classes++);
            }
        Classes = classes;
        for (int b = 0; b < 256; ++b)
            ClassOf[b] = textClass[fold[b]];

        // The trie of the texts.
        std::vector<int32_t> child(static_cast<size_t>(Classes), -1);
        std::vector<std::vector<int32_t>> out(1);
        for (const auto& [t, k] : texts) {
            int32_t s = 0;
            for (char c : t) {
                const size_t at = static_cast<size_t>(s) * Classes + textClass[static_cast<unsigned char>(c)];
                if (child[at] < 0) {
                    child[at] = static_cast<int32_t>(out.size());
                    out.emplace_back();
                    child.resize(out.size() * Classes, -1);
                }
                s = child[at];
            }
            out[static_cast<size_t>(s)].push_back(k);
        }
        const size_t states = out.size();

        // Failure links breadth first; each state's outputs take in those of its failure state.
        std::vector<int32_t> delta(states * Classes, 0);
        std::vector<int32_t> fail(states, 0);
        std::vector<int32_t> queue;
        queue.reserve(states);
        for (int c = 0; c < Classes; ++c)
            if (child[static_cast<size_t>(c)] >= 0) {
                delta[static_cast<size_t>(c)] = child[static_cast<size_t>(c)];
                queue.push_back(child[static_cast<size_t>(c)]);
            }
        for (size_t q = 0; q < queue.size(); ++q) {
            const auto s = static_cast<size_t>(queue[q]);
            const auto f = static_cast<size_t>(fail[s]);
            out[s].insert(out[s].end(), out[f].begin(), out[f].end());
            for (int c = 0; c < Classes; ++c) {
                const int32_t t = child[s * Classes + c];
                if (t >= 0) {
                    fail[static_cast<size_t>(t)] = delta[f * Classes + c];
                    delta[s * Classes + c] = t;
                    queue.push_back(t);
                } else {
                    delta[s * Classes + c] = delta[f * Classes + c];
                }
            }
        }

        Shift = 0;
        while ((1 << Shift) < Classes)
            ++Shift;
        // Rows shifted once more (for the end bit) must fit 32 bits.
        if ((static_cast<uint64_t>(states) << (Shift + 1)) > UINT32_MAX)
            throw std::bad_alloc();
        Next.assign(states << Shift, 0);
        for (size_t st = 0; st < states; ++st)
            for (int c = 0; c < Classes; ++c) {
                const int32_t t = delta[st * Classes + c];
                Next[st << Shift | c] =
                    static_cast<uint32_t>(t) << (Shift + 1) | (out[static_cast<size_t>(t)].empty() ? 0u : 1u);
            }
        OutStart.assign(1, 0);
        Out.clear();
        for (const std::vector<int32_t>& o : out) {
            Out.insert(Out.end(), o.begin(), o.end());
            OutStart.push_back(static_cast<int32_t>(Out.size()));
        }

        // The window: the shortest text's length (held to what a skip byte counts).
        Window = 255;
        for (const auto& [t, k] : texts)
            Window = std::min(Window, static_cast<int32_t>(t.size()));
        std::vector<uint8_t> shift(static_cast<size_t>(Classes), static_cast<uint8_t>(Window));
        std::vector<bool> ends(static_cast<size_t>(Classes), false);
        for (const auto& [t, k] : texts) {
            for (int32_t at = 0; at + 1 < Window; ++at) {
                uint8_t& sh = shift[textClass[static_cast<unsigned char>(t[static_cast<size_t>(at)])]];
                sh = std::min(sh, static_cast<uint8_t>(Window - 1 - at));
            }
            ends[textClass[static_cast<unsigned char>(t[static_cast<size_t>(Window - 1)])]] = true;
        }
        FirstCount = 0;
        for (int b = 0; b < 256; ++b) {
            Skip[b] = ends[ClassOf[b]] ? 0 : shift[ClassOf[b]];
            Outside[b] = Skip[b] == Window ? 1 : 0;
            const bool first = ClassOf[b] != 0 && child[ClassOf[b]] >= 0;
            if (first && FirstCount++ < kFewFirst)
                FewFirst[FirstCount - 1] = static_cast<uint8_t>(b);
        }
        // Unused places repeat a byte that is there.
        for (int f = FirstCount; f < kFewFirst && FirstCount > 0; ++f)
            FewFirst[f] = FewFirst[0];
    }
};

TKeywordMatcher::TKeywordMatcher() = default;
TKeywordMatcher::~TKeywordMatcher() = default;

void TKeywordMatcher::Prepare(const TKeywordList& keys) {
    const bool userFold = keys.UpperCase() == amuUserDefined && UserUpperCaseProc;
    // Inside an update bracket the records change without a new generation: read them afresh.
    if (&keys == FList && keys.Generation() == FGeneration && userFold == FUserFold && !keys.Updating() &&
        FKeys.size() == keys.Keys().size())
        return;
    Build(keys);
}

void TKeywordMatcher::Build(const TKeywordList& keys) {
    FList = &keys;
    FScanned = nullptr;
    FGeneration = keys.Generation();
    FUpperCase = keys.UpperCase();
    FUserFold = FUpperCase == amuUserDefined && UserUpperCaseProc;
    FKeys.assign(keys.Keys().size(), TKeyShape{});
    FPlainKeys.clear();
    std::vector<std::pair<std::string_view, int>> raw, folded;
    for (size_t j = 0; j < FKeys.size(); ++j) {
        const TKeyInfoLen& kw = keys.Keys()[j];
        TKeyShape& shape = FKeys[j];
        shape.Length = kw.Length;
        shape.WholeWord = (kw.Options & koWholeWord) != 0;
        // A list in which every keyword is case-sensitive is matched on the raw text throughout.
        shape.CaseSensitive = (kw.Options & koCaseSensitive) || (keys.KeyFlags() & koCaseSensitive);
        shape.Used =
            kw.Context != 0 && kw.Length > 0 && static_cast<size_t>(kw.Length) == kw.MatchText.size();
        if (!shape.Used)
            continue;
        if (kw.MatchText.find(kMaskByte) != std::string::npos) {
            shape.Plain = true;
            shape.MatchText = kw.MatchText;
            FPlainKeys.push_back(static_cast<int>(j));
        } else {
            (shape.CaseSensitive ? raw : folded).emplace_back(kw.MatchText, static_cast<int>(j));
        }
    }
    unsigned char identity[256], fold[256];
    for (int b = 0; b < 256; ++b)
        identity[b] = fold[b] = static_cast<unsigned char>(b);
    // Folding byte by byte is exact for the tables; a user's procedure sees whole texts instead.
    if (!FUserFold)
        UpperCaseText(FUpperCase, reinterpret_cast<char*>(fold), sizeof fold);
    FRaw.reset();
    FFolded.reset();
    if (!raw.empty()) {
        FRaw = std::make_unique<TAutomaton>();
        FRaw->Build(raw, identity);
    }
    if (!folded.empty()) {
        FFolded = std::make_unique<TAutomaton>();
        FFolded->Build(folded, FUserFold ? identity : fold);
    }
}

void TKeywordMatcher::Scan(const TAutomaton& a, const unsigned char* bytes, int32_t length) {
    const uint8_t* classOf = a.ClassOf;
    const uint32_t* next = a.Next.data();
    const int shift = a.Shift;
    // From the root at byte i: follows the automaton until it is back at the root or the text ends,
    // noting the occurrences that end on the way; answers where it stopped.
    const auto walk = [&](int32_t i) {
        uint32_t s = 0; // the row of the state
        do {
            const uint32_t e = next[s + classOf[bytes[i]]];
            s = e >> 1;
            if (e & 1)
                for (int32_t o = a.OutStart[s >> shift]; o < a.OutStart[(s >> shift) + 1]; ++o) {
                    const int32_t k = a.Out[static_cast<size_t>(o)];
                    FCandidates.push_back({k, i + 1 - FKeys[static_cast<size_t>(k)].Length});
                }
            ++i;
        } while (s != 0 && i < length);
        return i;
    };
    // At the root no occurrence has begun, and none begins where fewer than Window bytes are left.
    // The next one begins at one of few starting bytes, searched for many bytes at a time; or, when
    // the starting bytes are many, in a window the skip lets through, four windows side by side
    // being probed first (their probes do not wait on each other).
    const int32_t w = a.Window;
    const int32_t last = length - w;
    if (a.FirstCount > 0 && a.FirstCount <= kFewFirst) {
        TFewBytesCursor firsts(a.FewFirst, bytes, std::max(last + 1, 0));
        for (int32_t i = firsts.Next(0); i <= last; i = firsts.Next(walk(i))) {
        }
        return;
    }
    const uint8_t* skip = a.Skip;
    const unsigned char* windowEnd = bytes + w - 1;
    const uint8_t* outside = a.Outside;
    for (int32_t i = 0; i <= last;) {
        for (;;) {
            while (i <= last - 3 * w && (outside[windowEnd[i]] & outside[windowEnd[i + w]] &
                                         outside[windowEnd[i + 2 * w]] & outside[windowEnd[i + 3 * w]]))
                i += 4 * w;
            if (i > last)
                break;
            const uint8_t step = skip[windowEnd[i]];
            if (step == 0)
                break;
            i += step;
        }
        if (i > last)
            break;
        i = walk(i);
    }
}

void TKeywordMatcher::Match(const char* text, int32_t length, const uint8_t* masked,
                            const TCharSet& separators, std::vector<TKeywordHit>& hits) {
    hits.clear();
    if (Find(text, length) > 0 || !FPlainKeys.empty())
        Settle(text, length, masked, separators, hits);
}

int32_t TKeywordMatcher::Find(const char* text, int32_t length) {
    FCandidates.clear();
    FScanned = nullptr;
    if (length <= 0 || FKeys.empty())
        return 0;
    if (FList && FUserFold != (FUpperCase == amuUserDefined && UserUpperCaseProc))
        Build(*FList);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (FRaw)
        Scan(*FRaw, bytes, length);
    if (FFolded) {
        if (FUserFold) {
            FFoldedText.assign(text, static_cast<size_t>(length));
            UpperCaseText(FUpperCase, FFoldedText.data(), FFoldedText.size());
            Scan(*FFolded, reinterpret_cast<const unsigned char*>(FFoldedText.data()), length);
        } else {
            Scan(*FFolded, bytes, length);
        }
    }
    FScanned = text;
    FScannedLength = length;
    auto before = [](const TCandidate& a, const TCandidate& b) {
        return a.Keyword != b.Keyword ? a.Keyword < b.Keyword : a.Offset < b.Offset;
    };
    // One automaton finds each keyword's occurrences in order: one keyword found, or several each
    // found once, often arrive sorted already.
    if (!std::is_sorted(FCandidates.begin(), FCandidates.end(), before))
        std::sort(FCandidates.begin(), FCandidates.end(), before);
    return static_cast<int32_t>(FCandidates.size());
}

void TKeywordMatcher::Rematch(const char* text, int32_t length, const uint8_t* masked,
                              const TCharSet& separators, std::vector<TKeywordHit>& hits) {
    if (!FScanned || text != FScanned || length != FScannedLength ||
        (FList && FUserFold != (FUpperCase == amuUserDefined && UserUpperCaseProc))) {
        Match(text, length, masked, separators, hits);
        return;
    }
    hits.clear();
    Settle(text, length, masked, separators, hits);
}

void TKeywordMatcher::Settle(const char* text, int32_t length, const uint8_t* masked,
                             const TCharSet& separators, std::vector<TKeywordHit>& hits) {
    if (FCandidates.empty() && FPlainKeys.empty())
        return;
    // With few candidates (the usual paragraph), what is taken is told by the mask and the hits so
    // far; otherwise by a flag per byte. Keywords searched the slow way always want the flags.
    const bool few = FPlainKeys.empty() && FCandidates.size() <= kFewCandidates;
    if (few)
        FTaken.clear();
    else if (masked)
        FTaken.assign(masked, masked + length);
    else
        FTaken.assign(static_cast<size_t>(length), 0);
    const auto taken = [&](int32_t i, int32_t len) {
        if (!few) {
            const uint8_t* flags = FTaken.data() + i;
            return std::find(flags, flags + len, 1) != flags + len;
        }
        if (masked && std::find(masked + i, masked + i + len, 1) != masked + i + len)
            return true;
        for (const TKeywordHit& hit : hits)
            if (hit.Offset < i + len && i < hit.Offset + hit.Length)
                return true;
        return false;
    };

    // Keywords in list order: the plain ones among those with candidates.
    size_t c = 0;
    size_t plain = 0;
    while (c < FCandidates.size() || plain < FPlainKeys.size()) {
        const int k = c < FCandidates.size() ? FCandidates[c].Keyword : INT32_MAX;
        if (plain < FPlainKeys.size() && FPlainKeys[plain] < k) {
            MatchPlain(FPlainKeys[plain++], text, length, separators, hits);
            continue;
        }
        const TKeyShape& shape = FKeys[static_cast<size_t>(k)];
        const int32_t len = shape.Length;
        int32_t from = 0;
        for (; c < FCandidates.size() && FCandidates[c].Keyword == k; ++c) {
            const int32_t i = FCandidates[c].Offset;
            if (i < from)
                continue;
            if (taken(i, len))
                continue; // the search would not see it: it goes on from the same place
            bool accept = true;
            if (shape.WholeWord)
                accept = (i == 0 || IsSep(separators, text[i - 1])) &&
                         (i + len == length || IsSep(separators, text[i + len]));
            if (accept) {
                if (!few)
                    std::fill_n(FTaken.data() + i, len, 1);
                hits.push_back({k, i, len});
            }
            from = i + len;
        }
    }
}

void TKeywordMatcher::MatchPlain(int k, const char* text, int32_t length, const TCharSet& separators,
                                 std::vector<TKeywordHit>& hits) {
    const TKeyShape& shape = FKeys[static_cast<size_t>(k)];
    const int32_t len = shape.Length;
    if (len > length)
        return;
    FWindow.assign(text, static_cast<size_t>(length));
    if (!shape.CaseSensitive)
        UpperCaseText(FUpperCase, FWindow.data(), FWindow.size());
    for (int32_t i = 0; i < length; ++i)
        if (FTaken[static_cast<size_t>(i)])
            FWindow[static_cast<size_t>(i)] = kMaskByte;
    for (size_t at = 0;;) {
        at = std::string_view(FWindow).find(shape.MatchText, at);
        if (at == std::string_view::npos)
            break;
        const auto i = static_cast<int32_t>(at);
        const uint8_t* taken = FTaken.data() + i;
        bool accept = std::find(taken, taken + len, 1) == taken + len;
        if (accept && shape.WholeWord)
            accept = (i == 0 || IsSep(separators, text[i - 1])) &&
                     (i + len == length || IsSep(separators, text[i + len]));
        if (accept) {
            std::fill_n(FTaken.data() + i, len, 1);
            std::fill_n(FWindow.data() + i, len, kMaskByte);
            hits.push_back({k, i, len});
        }
        at += static_cast<size_t>(len);
    }
}

} // namespace zandor
