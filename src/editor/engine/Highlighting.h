// The highlighting engine of one control: its keyword list and start/stop keys, the attached
// highlighter, and the operations that turn them into runs: keyword matching, the key parser that
// carries contexts from paragraph to paragraph, the lazy spread of a changed context down the
// text, and the re-parse after an edit.
//
// Every paragraph is highlighted as a whole: contexts are parsed from the paragraph's base style
// over its whole text, then keywords are matched over its whole text. A paragraph's runs are thus
// a function of its text and its base style alone, so whatever sequence of edits led to a text,
// its runs are those a fresh parse gives. Only the spread between paragraphs is incremental: it
// stops at the first paragraph whose starting state does not change.
#pragma once

#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/KeywordList.h"
#include "editor/engine/KeywordMatcher.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/StartStopKeyList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zandor {

class TArtHighlighter;
class TArtNavigator;

// Owns the two lists and two scratch navigators; refers to its control's core (which must outlive
// it) and to the attached highlighter, from which it detaches itself when it ends.
class THighlighting {
public:
    explicit THighlighting(TArtMemoCore& memo);
    ~THighlighting();
    THighlighting(const THighlighting&) = delete;
    THighlighting& operator=(const THighlighting&) = delete;

    TArtMemoCore& Memo() { return FMemo; }
    TKeywordList& Keywords() { return FKeywords; }
    TStartStopKeyList& StartStopKeys() { return FStartStopKeys; }

    bool ApplyKeyWords() const { return FApplyKeyWords; }
    void SetApplyKeyWords(bool value) { FApplyKeyWords = value; }
    bool ApplyStartStopKeys() const { return FApplyStartStopKeys; }
    void SetApplyStartStopKeys(bool value) { FApplyStartStopKeys = value; }
    TamUpperCase UpperCaseType() const { return FUpperCaseType; }
    // Passed on to both lists.
    void SetUpperCaseType(TamUpperCase kind);
    TArtHighlighter* Highlighter() const { return FHighlighter; }
    // Leaves the old highlighter's list of controls and joins the new one's.
    void SetHighlighter(TArtHighlighter* highlighter);

    // After each re-parse caused by an edit: the positions of the new text.
    std::function<void(TArtMemoCore* sender, int32_t startOffset, int32_t stopOffset)> OnParse;

    // ---- the engine's operations

    // Keywords (and the highlighter's own styling) for every paragraph from start's to stop's, each
    // matched over its whole text; the paragraphs are marked as having their keywords.
    void ApplyKeywords(TArtNavigator& start, TArtNavigator& stop);
    void ApplyKeywordsToPar(int par);
    // What formatting does before it lays out a paragraph whose keywords are not applied yet.
    void ApplyKeywordsIfNeeded(int par);

    // One step of the key parser in one paragraph, A <= C. FindContextEnd: when A is inside a
    // start/stop key context, looks for its stop key from A and ends the context; C moves to the
    // stop key's end. FindContextStart: the first start key at or after A (keys may begin a little
    // before A when they end after it), not inside a key context; C moves to the key's end. Both
    // ask the highlighter when the keys have nothing to say.
    bool FindContextEnd(TArtNavigator& A, TArtNavigator& C);
    bool FindContextStart(TArtNavigator& A, TArtNavigator& C);

    // Parses the contexts of the paragraphs from start's to stop's (whole paragraphs), carrying the
    // state from each to the next. When the state at the end differs from expectedEnd (null: the
    // following paragraph's base style), the following paragraph gets the new state and is marked
    // for parsing by ParseUpTo, which carries the change on paragraph by paragraph.
    void ParseContexts(TArtNavigator& start, TArtNavigator& stop, const TDynInfo* expectedEnd);
    void ParseParagraphs(int first, int last, const TDynInfo* expectedEnd = nullptr);
    // Makes contexts valid for every paragraph up to n.
    void ParseUpTo(int n);
    // Contexts valid up to n and keywords applied to paragraphs from .. n (what formatting those
    // paragraphs does to highlighting).
    void HighlightUpTo(int n, int from = 0);

    // After a replacement put new text between S and E (runsRemoved as ReplaceRange reported):
    // brings the edited paragraph's highlighting up to date, or, inside an update bracket, marks
    // the changed paragraphs for the lazy path. Returns false when the edit left highlighting
    // alone (OnParse is not called then).
    bool AfterReplace(TArtNavigator& S, TArtNavigator& E, bool runsRemoved, bool inUpdate);

    // Drops every run and base style; everything is parsed and matched again on demand.
    void ReApplyKeywords();

    void InvalidateNavigators(int32_t fromPos, int32_t toPar);

    // Keywords standing apart in plain text get their runs in one pass (the default); off, every
    // keyword is applied on its own. Both give the same runs.
    void SetKeywordRunsInOnePass(bool value) { FKeywordRunsInOnePass = value; }

private:
    void PrepareKeys();
    void ParseParagraph(int p);
    // Parses paragraph p the short way when nothing can open a context (no start/stop keys in use,
    // no highlighter) and p is a plain paragraph that the next one follows in the default state:
    // then parsing changes nothing but its flags. False when the long way is needed.
    bool ParsePlainParagraph(int p);
    bool ContextEndAt(int p, int32_t a, int32_t& c);
    bool ContextStartAt(int p, int32_t a, int32_t& c);
    // The navigator side of both parser steps: the step runs on paragraph offsets, then A and C
    // are placed again on the (possibly re-styled) paragraph.
    using ParserStepAt = bool (THighlighting::*)(int p, int32_t a, int32_t& c);
    bool ParserStep(TArtNavigator& A, TArtNavigator& C, ParserStepAt step);
    bool AskHighlighterStart(int p, int32_t a, int32_t& c);
    bool AskHighlighterEnd(int p, int32_t a, int32_t& c);
    void StateBefore(int p, int runIndex, int depth, TDynInfo& out);
    void CarryOn(int p);
    void ApplyMatches(int p, const TKeywordHit* matches, int n);
    const uint8_t* MaskedContexts(const ParInfo& par, int32_t length);
    TArtNavigator& Scratch(int which, int par, int32_t offset);
    void FoldForKeys(int p);

    TArtMemoCore& FMemo;
    TKeywordList FKeywords;
    TStartStopKeyList FStartStopKeys;
    bool FApplyKeyWords = true;
    bool FApplyStartStopKeys = true;
    TamUpperCase FUpperCaseType = amuAscii;
    TArtHighlighter* FHighlighter = nullptr;
    std::unique_ptr<TArtNavigator> FScratch[2];

    // Key preparation: separators the boundary flags were computed with, and the bytes a start key
    // can begin with (raw for case-sensitive keys, folded for the others).
    TCharSet FPreparedSeparators;
    TCharSet FFirstRaw;
    TCharSet FFirstFolded;
    // Scratch texts, reused so a parse allocates nothing in the common case.
    std::string FFolded;
    std::vector<uint8_t> FMasked;
    TKeywordMatcher FMatcher;
    std::vector<TKeywordHit> FHits;
    // The edited paragraph's runs before its re-parse, compared with those after it.
    TDynInfoArray FRunsBefore;
    bool FKeywordRunsInOnePass = true;
    std::vector<int> FHitOrder;
    // The runs set aside while keywords are applied one by one.
    TRunArray FAside;
};

} // namespace zandor
