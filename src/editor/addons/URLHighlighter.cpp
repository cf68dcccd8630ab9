#include "editor/addons/URLHighlighter.h"

#include "editor/addons/URLLauncher.h"
#include "editor/control/ArtMemo.h"
#include "editor/control/MemoMessages.h"
#include "editor/control/MemoSinks.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteSearch.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/RunState.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace zandor {

using namespace platform;

const std::array<TURLRecord, kURLRows> URLRecord = {{
    {"HTTP://", urlWeb, true},
    {"WWW.", urlWeb, true},
    {"MAILTO:", urlEmail, true},
    {"@", urlEmail, false},
    {"NEWS:", urlNNTP, true},
    {"NNTP://", urlNNTP, true},
    {"FTP://", urlFile, true},
    {"FTP.", urlFile, true},
    {"GOPHER://", urlOther, true},
    {"GOPHER.", urlOther, true},
    {"TELNET://", urlOther, true},
    {"TN3270://", urlOther, true},
    {"WAIS://", urlOther, true},
    {"PROSPERO://", urlOther, true},
    {"HTTPS://", urlWeb, true},
    {"FILE://", urlFile, true},
}};

const int MaxPrefix = [] {
    size_t longest = 0;
    for (const TURLRecord& row : URLRecord)
        longest = std::max(longest, row.Prefix.size());
    return static_cast<int>(longest);
}();

namespace {

constexpr int kEmailRow = 3;
// An address is styled over at most this many characters.
constexpr int32_t kMaxAddress = 65535;
constexpr uint8_t kAddressFlags = sfKeyed | sfContext;

bool IsTrailing(char c) {
    return c == ',' || c == '.' || c == ';';
}

// A byte's folded value under one upper-casing rule, and where prefixes may stand. Every prefix
// holds a mark (':', '.' or '@') with only letters and digits before the first one, so a scan
// looks at marks alone and tries the prefixes whose first mark it could be.
struct FoldTable {
    struct Candidate {
        int Row;
        int32_t Back; // the prefix begins this many bytes before the mark
    };
    unsigned char Fold[256];
    bool Mark[256];
    // Per folded mark byte: the rows it can be the first mark of, the longest way back first and
    // in table order among equals (the order in which a scan from the left would meet them).
    std::vector<Candidate> RowsAt[256];
    int32_t MaxBack = 0;

    explicit FoldTable(TamUpperCase kind) {
        char bytes[256];
        for (int b = 0; b < 256; ++b)
            bytes[b] = static_cast<char>(b);
        UpperCaseText(kind, bytes, sizeof bytes);
        for (int r = 0; r < kURLRows; ++r) {
            const std::string_view prefix = URLRecord[static_cast<size_t>(r)].Prefix;
            const size_t at = prefix.find_first_of(":.@");
            RowsAt[static_cast<unsigned char>(prefix[at])].push_back({r, static_cast<int32_t>(at)});
            MaxBack = std::max(MaxBack, static_cast<int32_t>(at));
        }
        for (std::vector<Candidate>& rows : RowsAt)
            std::stable_sort(rows.begin(), rows.end(),
                             [](const Candidate& a, const Candidate& b) { return a.Back > b.Back; });
        for (int b = 0; b < 256; ++b) {
            Fold[b] = static_cast<unsigned char>(bytes[b]);
            Mark[b] = !RowsAt[Fold[b]].empty();
            if (Mark[b] && MarkCount < kFewBytes)
                Marks[MarkCount] = static_cast<uint8_t>(b);
            MarkCount += Mark[b] ? 1 : 0;
        }
        for (int j = MarkCount; j < kFewBytes && MarkCount > 0; ++j)
            Marks[j] = Marks[0];
    }

    // The mark bytes; unused places repeat the first.
    uint8_t Marks[kFewBytes] = {};
    int MarkCount = 0;
};

const FoldTable& TableFor(TamUpperCase kind, std::unique_ptr<FoldTable>& userTable) {
    static const FoldTable ascii(amuAscii);
    static const FoldTable ansi(amuAnsi);
    if (kind == amuAscii)
        return ascii;
    if (kind == amuAnsi)
        return ansi;
    // A user's rule may change between calls: folded afresh each time.
    userTable = std::make_unique<FoldTable>(kind);
    return *userTable;
}

// The recognition rules over text[0, length): prefixes are looked for at x in [from, scanEnd]
// with the prefix ending at or after scanStart and within windowEnd.
//
// Every address is a stretch of characters other than delimiters, less its trailing punctuation
// (cut to its first kMaxAddress characters): a prefix that must start a word starts its stretch,
// and the "@" reaches back to the stretch's start. So each stretch is walked over once, however
// many prefixes and "@" it holds, and a scan from the left costs the length of the text.
class TScanner {
public:
    TScanner(const char* text, int32_t length, int32_t scanStart, int32_t scanEnd, int32_t windowEnd,
             const FoldTable& table)
        : FText(text), FLength(length), FScanStart(scanStart), FWindowEnd(windowEnd),
          FLastX(std::min(scanEnd, windowEnd - 1)),
          FMarkEnd(std::max(0, std::min(windowEnd, FLastX + table.MaxBack + 1))), FTable(table),
          FMarks(table.Marks, reinterpret_cast<const unsigned char*>(text), FMarkEnd) {}

    // The leftmost address whose prefix stands at or after from. An "@" whose address would begin
    // before floor (the end of the address taken last) begins none: it stands in the rest of a
    // stretch too long for one address, which the address before already took.
    bool Next(int32_t from, int32_t floor, TURLMatch& match) {
        const int32_t lastX = FLastX;
        const int32_t markEnd = FMarkEnd;
        // A prefix found at a later mark begins after every earlier mark, so the first mark with a
        // matching prefix gives the leftmost address. Marks are rare in text, and with few mark
        // bytes (every built-in rule has three) they are looked for many bytes at a time.
        const auto* bytes = reinterpret_cast<const unsigned char*>(FText);
        const bool few = FTable.MarkCount > 0 && FTable.MarkCount <= kFewBytes;
        const int32_t first = std::max(from, 0);
        for (int32_t k = first;; ++k) {
            if (few)
                k = FMarks.Next(k);
            else
                while (k < markEnd && !FTable.Mark[bytes[k]])
                    ++k;
            if (k >= markEnd) {
                Examined += std::max(0, markEnd - first);
                break;
            }
            const auto c = bytes[k];
            for (const FoldTable::Candidate& at : FTable.RowsAt[FTable.Fold[c]]) {
                const int32_t x = k - at.Back;
                if (x >= from && x <= lastX && Matches(x, at.Row, floor)) {
                    Extend(x, at.Row, match);
                    Examined += k + 1 - first;
                    return true;
                }
            }
        }
        return false;
    }

    // The bytes read so far, walks over stretches and comparisons with prefixes included.
    int64_t Examined = 0;

private:
    bool Matches(int32_t x, int r, int32_t floor) {
        const TURLRecord& row = URLRecord[static_cast<size_t>(r)];
        const auto n = static_cast<int32_t>(row.Prefix.size());
        if (x + n > FWindowEnd || x + n < FScanStart)
            return false;
        for (int32_t k = 0; k < n; ++k)
            if (FTable.Fold[static_cast<unsigned char>(FText[x + k])] !=
                static_cast<unsigned char>(row.Prefix[static_cast<size_t>(k)])) {
                Examined += k + 1;
                return false;
            }
        Examined += n;
        if (row.WordStart) {
            if (x > 0 && !IsURLDelimiter(FText[x - 1]))
                return false;
        } else if (x < 1 || IsURLDelimiter(FText[x - 1])) {
            return false;
        }
        if (x + n >= FWindowEnd || IsURLDelimiter(FText[x + n]))
            return false;
        if (r == kEmailRow) {
            Stretch(x);
            return FFrom >= floor;
        }
        return true;
    }

    void Extend(int32_t x, int r, TURLMatch& match) {
        Stretch(x);
        // A prefix that must start a word stands at the start of its stretch (x == FFrom).
        const int32_t start = r == kEmailRow ? FFrom : x;
        match = {start, std::min(FEnd, start + kMaxAddress), r, x};
    }

    // The stretch of characters other than delimiters that holds x: [FFrom, FTo), and FEnd, its end
    // without trailing punctuation. Calls come from left to right: a walk back from a later stretch
    // stops at the delimiter that ended the one before, so each character is walked over once.
    void Stretch(int32_t x) {
        if (x >= FFrom && x < FTo)
            return;
        int32_t from = x;
        while (from > 0 && !IsURLDelimiter(FText[from - 1]))
            --from;
        int32_t to = x;
        while (to < FLength && !IsURLDelimiter(FText[to]))
            ++to;
        int32_t end = to;
        while (end - from > 1 && IsTrailing(FText[end - 1]))
            --end;
        Examined += (to - from) + (to - end);
        FFrom = from;
        FTo = to;
        FEnd = end;
    }

    const char* FText;
    int32_t FLength;
    int32_t FScanStart;
    int32_t FWindowEnd;
    int32_t FLastX;
    int32_t FMarkEnd;
    const FoldTable& FTable;
    TFewBytesCursor FMarks;
    int32_t FFrom = 0;
    int32_t FTo = 0;
    int32_t FEnd = 0;
};

// A run this highlighter made for a keyword list of keywordCount entries.
bool IsAddressRun(const TDynInfo& r, int32_t keywordCount) {
    if ((r.StyleFlags & kAddressFlags) != kAddressFlags || r.Depth < 0 || r.Depth > kMaxDepth)
        return false;
    const int top = r.Stack[r.Depth];
    return top >= keywordCount && top < keywordCount + kURLRows;
}

// What ApplyRunAt gives for an address that no run begins in nor at its end: its run after those
// up to its start, then the state in force before it back at its end.
void PlaceAddressRuns(TParagraphsList& list, int p, int next, const TURLMatch& match, TDynInfo state) {
    ParInfo& par = list.Par(p);
    TRunArray& runs = par.Extra->Runs;
    TDynInfo back = next > 0 ? runs[static_cast<size_t>(next - 1)] : *BaseStyleOf(par);
    const int32_t backFrom = next > 0 ? runs[static_cast<size_t>(next - 1)].Offset : 0;
    state.Level = (back.StyleFlags & sfContext) ? back.Level : 0;
    state.Offset = match.Start;
    const bool endOfText = p == list.Count() - 1 && match.End >= ParLength(par);
    const size_t at = static_cast<size_t>(next);
    runs.insert(runs.begin() + at, state);
    if (!endOfText) {
        back.StartLen = static_cast<int16_t>(std::max<int32_t>(0, back.StartLen - (match.End - backFrom)));
        back.Offset = match.End;
        runs.insert(runs.begin() + at + 1, back);
    }
    par.Flags &= ~pfLinesValid;
}

} // namespace

std::vector<TURLMatch> FindURLs(std::string_view text, int64_t* examined) {
    std::unique_ptr<FoldTable> unused;
    const auto length = static_cast<int32_t>(text.size());
    TScanner scanner(text.data(), length, 0, length, length, TableFor(amuAscii, unused));
    std::vector<TURLMatch> found;
    TURLMatch match{};
    for (int32_t x = 0; scanner.Next(x, x, match); x = match.End)
        found.push_back(match);
    if (examined)
        *examined = scanner.Examined;
    return found;
}

// ---- the component ----------------------------------------------------------------------------------

TURLHighlighter::TURLHighlighter() {
    struct Look {
        FontStyles Style;
        TColor Background;
        TColor Foreground;
    };
    const Look looks[] = {{fsUnderline, -1, clBlue},
                          {fsUnderline, -1, clGreen},
                          {fsUnderline, -1, clRed},
                          {fsUnderline, -1, clFuchsia},
                          {fsItalic, clInfoBk, clSilver}};
    for (size_t k = 0; k < FLooks.size(); ++k) {
        THighlightInfo& info = FLooks[k];
        info.SetStyle(looks[k].Style);
        info.SetBackground(looks[k].Background);
        info.SetForeground(looks[k].Foreground);
        info.OnChange = [this] { Rehighlight(); };
    }
    Opener = [](const std::string& url) { TURLLauncher::Default().Launch(url); };
}

TURLHighlighter::~TURLHighlighter() {
    for (TArtMemoCore* core : FJoined) {
        if (TArtMemo* memo = TArtMemo::FromCore(core)) {
            memo->EventSinks().Remove(this);
            memo->MessageHooks().Remove(this);
        }
    }
}

void TURLHighlighter::SetScope(int value) {
    if (value == FScope)
        return;
    FScope = value;
    Rehighlight();
}

void TURLHighlighter::SetPriority(bool value) {
    if (value == FPriority)
        return;
    FPriority = value;
    Rehighlight();
}

void TURLHighlighter::Rehighlight() {
    // A copy: highlighting again never attaches or detaches, but the list is not ours.
    const std::vector<THighlighting*> memos = Memos();
    for (THighlighting* highlighting : memos) {
        if (TArtMemo* memo = TArtMemo::FromCore(&highlighting->Memo()))
            memo->ReApplyKeywords();
        else
            highlighting->ReApplyKeywords();
    }
}

// ---- recognition --------------------------------------------------------------------------------------

void TURLHighlighter::ApplyHighlight(TArtNavigator& start, TArtNavigator& stop, int32_t keywordCount) {
    TArtMemoCore& memo = *start.Memo();
    const int p = start.GetParNb();
    const int32_t length = ParLength(memo.Paragraphs().Par(p));
    const int32_t s = std::min(start.ParOffset(), length);
    const int32_t e = stop.GetParNb() == p ? std::clamp(stop.ParOffset(), s, length) : length;
    FFoundIn = {};
    HighlightRange(memo, p, s, e, keywordCount, nullptr);
}

bool TURLHighlighter::ApplyHighlightToPar(TArtMemoCore& memo, int p, int32_t keywordCount) {
    const ParInfo& par = memo.Paragraphs().Par(p);
    const FoundIn here{&memo, p, par.Text, ParLength(par)};
    const bool found = FFoundIn == here;
    FFoundIn = {};
    HighlightRange(memo, p, 0, here.Length, keywordCount, found ? &FFound : nullptr);
    return true;
}

int32_t TURLHighlighter::RunsToAdd(TArtMemoCore& memo, int p) {
    const ParInfo& par = memo.Paragraphs().Par(p);
    const int32_t length = ParLength(par);
    FFound.clear();
    FFoundIn = {&memo, p, par.Text, length};
    if (length == 0)
        return 0;
    std::unique_ptr<FoldTable> userTable;
    TScanner scanner(par.Text, length, 0, length, length, TableFor(memo.UpperCaseType(), userTable));
    TURLMatch match{};
    for (int32_t x = 0; scanner.Next(x, x, match); x = match.End)
        FFound.push_back(match);
    FExamined += scanner.Examined;
    return 2 * static_cast<int32_t>(FFound.size());
}

void TURLHighlighter::HighlightRange(TArtMemoCore& memo, int p, int32_t s, int32_t e, int32_t keywordCount,
                                     const std::vector<TURLMatch>* found) {
    ParInfo& par = memo.Paragraphs().Par(p);
    const int32_t length = ParLength(par);
    if (length == 0)
        return;
    bool touched = ContinuesAddress(par, s, keywordCount);
    if (found && found->empty() && !touched)
        return; // a paragraph without addresses, as RunsToAdd just saw

    const int32_t lookback = std::min(MaxPrefix + 1, s);
    const int32_t lookahead = std::min(MaxPrefix + 1, length - e);
    std::unique_ptr<FoldTable> userTable;
    // Styling replaces runs but never the text, so the scanner keeps reading the same bytes. It is
    // made when the scan must go on by itself.
    std::optional<TScanner> scanner;
    const auto scan = [&](int32_t x, int32_t floor, TURLMatch& match) {
        if (!scanner)
            scanner.emplace(par.Text ? par.Text : "", length, s, e, e + lookahead,
                            TableFor(memo.UpperCaseType(), userTable));
        return scanner->Next(x, floor, match);
    };
    TURLMatch match{};
    // Addresses are styled from the left, each over the runs up to its end only: the runs after it
    // wait aside until the scan reaches them.
    TRunsAside aside(par, FAside);
    aside.After(s - lookback);
    // What the scan finds while every address is styled was found before (RunsToAdd); once one is
    // not, the scan goes on from its prefix by itself.
    size_t next = 0;
    for (int32_t x = s - lookback, floor = 0;;) {
        if (found && next < found->size())
            match = (*found)[next++];
        else if (found || !scan(x, floor, match))
            break;
        aside.UpTo(match.End);
        if (StyleAddress(memo, p, match, keywordCount)) {
            touched = true;
            x = floor = match.End;
        } else {
            x = match.PrefixAt + 1;
            found = nullptr;
        }
    }
    aside.PutBack();
    if (scanner)
        FExamined += scanner->Examined;
    if (!touched)
        return;
    // Once for the paragraph rather than once for each address.
    FixLineRunIndexes(par);
    if (FLaunchURLs && &memo != FLastMemo) {
        FLastMemo = &memo;
        if (TArtMemo* control = TArtMemo::FromCore(&memo))
            JoinSinks(*control, false);
    }
    memo.Navigators().InvalidateNavigators(memo.Paragraphs().Par(p).Start + s, p);
}

// An address followed by trailing punctuation that the user now continues is examined again as a
// whole: its run and the punctuation's run go, and the scan starts at the address.
bool TURLHighlighter::ContinuesAddress(ParInfo& par, int32_t& start, int32_t keywordCount) {
    if (start == 0 || !IsExtended(par))
        return false;
    TRunArray& runs = par.Extra->Runs;
    const int k = RunsUpTo(par, start - 1) - 1;
    if (k < 0)
        return false;
    const TDynInfo& before = k > 0 ? runs[static_cast<size_t>(k - 1)] : *BaseStyleOf(par);
    if (!IsAddressRun(before, keywordCount))
        return false;
    const int32_t punctuation = runs[static_cast<size_t>(k)].Offset;
    for (int32_t x = punctuation; x < start; ++x)
        if (!IsTrailing(par.Text[x]))
            return false;
    runs.erase(runs.begin() + k);
    start = punctuation;
    if (k > 0) {
        start = runs[static_cast<size_t>(k - 1)].Offset;
        runs.erase(runs.begin() + (k - 1));
    }
    FixLineRunIndexes(par);
    return true;
}

bool TURLHighlighter::StyleAddress(TArtMemoCore& memo, int p, const TURLMatch& match, int32_t keywordCount) {
    TParagraphsList& list = memo.Paragraphs();
    const ParInfo& par = list.Par(p);
    const int next = RunsUpTo(par, match.Start);
    // Whether no run begins inside the address, after its first character.
    const bool plain =
        next >= RunCount(par) || par.Extra->Runs[static_cast<size_t>(next)].Offset >= match.End;
    if (!FPriority && !plain)
        return false;
    const TDynInfo& atStart = StateAt(par, match.Start);
    if (EffectiveDepth(atStart) >= kMaxDepth)
        return false;
    const int32_t currentContext = (atStart.StyleFlags & sfContext) ? atStart.Context : 0;
    const TURLRecord& row = URLRecord[static_cast<size_t>(match.Row)];
    const bool accepted = OnURL ? OnURL(this, static_cast<int16_t>(currentContext), row.Type)
                                : FPriority || currentContext == FScope;
    if (!accepted)
        return false;

    const int32_t afterPrefix = match.PrefixAt + static_cast<int32_t>(row.Prefix.size());
    // In a plain address one state holds from its start to its end.
    const int depth =
        EffectiveDepth(plain ? atStart : StateAt(par, std::min(afterPrefix, match.End - 1))) + 1;
    if (depth > kMaxDepth)
        return false;
    const THighlightInfo& look = FLooks[row.Type];
    TDynInfo state = plain ? atStart : StateAt(par, match.End - 1);
    // An address drawn in the editor's alternate font says so with the style's font bit.
    const uint8_t font = look.AltFont() ? sfAltFont : 0;
    state.StyleFlags = static_cast<uint8_t>((look.Style() & 0x0F) | font | kAddressFlags);
    state.Depth = static_cast<int8_t>(depth);
    state.Stack = TContextStack::Pushed(state.Stack, depth, static_cast<int16_t>(keywordCount + match.Row));
    state.Level = 0;
    state.RunFlags = 0;
    state.Background = look.Background();
    state.Foreground = look.Foreground();
    state.Cursor = look.Cursor();
    state.Context = FBaseContext + match.Row;
    // The run records keep key lengths in 16 bits.
    state.StartLen = state.StopLen =
        static_cast<int16_t>(std::min<int32_t>(match.End - match.Start, INT16_MAX));
    // The address and what follows it: two runs, room made for both at once.
    ExtendPar(list.Par(p), 2);
    if (FPlaceDirectly && plain &&
        (next >= RunCount(par) || par.Extra->Runs[static_cast<size_t>(next)].Offset > match.End))
        PlaceAddressRuns(list, p, next, match, state);
    else
        ApplyRunAt(list, p, match.Start, p, match.End, 0, false, true, state, false);
    return true;
}

// ---- clicks ------------------------------------------------------------------------------------------

void TURLHighlighter::Notify(TArtMemoCore* sender, int32_t codes) {
    TArtMemo* memo = TArtMemo::FromCore(sender);
    // An editor this highlighter was detached from keeps no addresses of it.
    if (!memo || memo->Highlighter() != this) {
        if (memo && (codes & nc::BeforeMessage))
            memo->MessageHooks().Remove(this);
        return;
    }
    if (FLaunchURLs && (codes & (nc::ContextClick | nc::ContextRightClick))) {
        if (FDoubleClickSeen) {
            FDoubleClickSeen = false;
            return;
        }
        Clicked(*memo);
    } else if (codes & nc::Change) {
        CancelPending();
    } else if (codes & nc::BeforeMessage) {
        Message(*memo);
    }
}

void TURLHighlighter::Clicked(TArtMemo& memo) {
    TArtNavigator& mouse = memo.MouseNavigator();
    const ParInfo& par = *mouse.Par();
    const int32_t offset = mouse.ParOffset();
    const TDynInfo& run = StateAt(par, offset);
    const int32_t row = (run.StyleFlags != 0 ? run.Context : 0) - FBaseContext;
    if (row < 0 || row >= kURLRows)
        return;
    const int next = RunsUpTo(par, offset);
    const int32_t from = next > 0 ? par.Extra->Runs[static_cast<size_t>(next - 1)].Offset : 0;
    const int32_t to =
        next < RunCount(par) ? par.Extra->Runs[static_cast<size_t>(next)].Offset : ParLength(par);
    std::string url(par.Text + from, static_cast<size_t>(std::max(0, to - from)));
    if (row == kEmailRow)
        url.insert(0, "mailto:");
    else if (row == 7)
        url.insert(0, "ftp://");
    else if (row == 9)
        url.insert(0, "gopher://");
    FPendingURL = std::move(url);
    FPendingCore = &memo.Core();
    if (!FDblClickLaunch)
        OpenPendingURL();
    else
        JoinSinks(memo, true);
}

void TURLHighlighter::Message(TArtMemo& memo) {
    switch (memo.CurrentMessage().Msg) {
    case wm::LBUTTONDBLCLK:
        FDoubleClickSeen = true;
        break;
    case wm::LBUTTONDOWN:
        // The framework reports the second press of a double click as a press first: whether it
        // was one is known at its double-click message, or at the release when none came.
        break;
    case wm::LBUTTONUP:
        if (FDoubleClickSeen && !FPendingURL.empty()) {
            OpenPendingURL();
            memo.SetSelStart(memo.MouseNavigator().Pos());
        }
        CancelPending();
        break;
    case wm::KEYDOWN:
    case wm::RBUTTONDOWN:
    case wm::RBUTTONUP:
    case wm::RBUTTONDBLCLK:
    case wm::MBUTTONDOWN:
    case wm::MBUTTONUP:
    case wm::MBUTTONDBLCLK:
    case wm::MOUSEWHEEL:
    case wm::MOUSEHWHEEL:
        CancelPending();
        break;
    default:
        break;
    }
}

void TURLHighlighter::CancelPending() {
    if (TArtMemo* memo = TArtMemo::FromCore(FPendingCore))
        memo->MessageHooks().Remove(this);
    FPendingCore = nullptr;
    FPendingURL.clear();
}

void TURLHighlighter::OpenPendingURL() {
    std::string url = FPendingURL;
    if (OnURLLaunch && !OnURLLaunch(this, url))
        return;
    if (Opener)
        Opener(url);
}

void TURLHighlighter::JoinSinks(TArtMemo& memo, bool hooks) {
    TSinkList& list = hooks ? memo.MessageHooks() : memo.EventSinks();
    if (!list.Contains(this))
        list.Add(this);
    if (std::find(FJoined.begin(), FJoined.end(), &memo.Core()) == FJoined.end())
        FJoined.push_back(&memo.Core());
}

} // namespace zandor
