// The keyword matcher: finds every keyword of a keyword list in a paragraph in one pass over its
// bytes (an automaton over all the match texts at once, folding case on the fly), then settles
// which occurrences each keyword takes in list order. The outcome is that of searching the text
// for each keyword in turn, so a long list costs hardly more than a short one.
#pragma once

#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/MemoCore.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zandor {

class TKeywordList;

// One keyword taken at [Offset, Offset + Length) of a paragraph; Keyword is its list index.
struct TKeywordHit {
    int32_t Keyword;
    int32_t Offset;
    int32_t Length;
};

// Keeps its automata and scratch buffers between paragraphs, so matching allocates nothing once
// the buffers have grown to the paragraphs' size.
class TKeywordMatcher {
public:
    TKeywordMatcher();
    ~TKeywordMatcher();
    TKeywordMatcher(const TKeywordMatcher&) = delete;
    TKeywordMatcher& operator=(const TKeywordMatcher&) = delete;

    // Follows the list: builds the automata again when its keywords, their options or its
    // upper-casing rule changed since the last call.
    void Prepare(const TKeywordList& keys);

    // The keywords of text[0, length) (after Prepare). Each keyword in list order looks for its
    // match text (folded unless case-sensitive) from the start of the text, going on after the end
    // of every occurrence it finds; an occurrence counts when none of its bytes is masked (masked:
    // null, or one flag per byte for contexts that allow no keywords) or taken by an earlier
    // keyword, and, for a whole word, when a separator or the end of the text stands on each side.
    // Keywords with context 0 or no text are never matched. Hits come in list order, then by
    // offset; hits is cleared first.
    void Match(const char* text, int32_t length, const uint8_t* masked, const TCharSet& separators,
               std::vector<TKeywordHit>& hits);
    // The first half of Match: reads text[0, length) for every keyword's occurrences without
    // settling them, and answers how many it found (as many as the hits of any mask or more, those
    // of keywords holding byte 5 aside, which are searched for when settling).
    int32_t Find(const char* text, int32_t length);
    // What Match would give with this mask, for the text the last Match or Find read: text and
    // length must be the same and its bytes unchanged since. Only the settling is done, not the
    // search through the bytes; when the list, the fold or the text (its place or length) changed
    // in between, this is a full Match.
    void Rematch(const char* text, int32_t length, const uint8_t* masked, const TCharSet& separators,
                 std::vector<TKeywordHit>& hits);

private:
    struct TAutomaton;
    struct TCandidate {
        int32_t Keyword;
        int32_t Offset;
    };

    void Build(const TKeywordList& keys);
    void Scan(const TAutomaton& automaton, const unsigned char* bytes, int32_t length);
    // Takes the candidates (in keyword, then offset order) the mask and the earlier keywords leave.
    void Settle(const char* text, int32_t length, const uint8_t* masked, const TCharSet& separators,
                std::vector<TKeywordHit>& hits);
    // A keyword holding the mask byte itself: searched over the masked text the slow way.
    void MatchPlain(int keyword, const char* text, int32_t length, const TCharSet& separators,
                    std::vector<TKeywordHit>& hits);

    const TKeywordList* FList = nullptr;
    uint32_t FGeneration = 0;
    TamUpperCase FUpperCase = amuAscii;
    bool FUserFold = false;

    // Per keyword: its length, whole-word flag and whether it is looked for at all.
    struct TKeyShape {
        int32_t Length = 0;
        bool WholeWord = false;
        bool CaseSensitive = false;
        bool Plain = false;
        bool Used = false;
        std::string MatchText; // kept for plain keywords only
    };
    std::vector<TKeyShape> FKeys;
    std::vector<int> FPlainKeys;
    // Case-sensitive keywords over the raw bytes; the others over folded bytes.
    std::unique_ptr<TAutomaton> FRaw;
    std::unique_ptr<TAutomaton> FFolded;

    std::vector<TCandidate> FCandidates;
    // The text FCandidates were found in; null when they belong to no text (the list was rebuilt).
    const char* FScanned = nullptr;
    int32_t FScannedLength = 0;
    std::vector<uint8_t> FTaken;
    std::string FFoldedText;
    std::string FWindow;
};

} // namespace zandor
