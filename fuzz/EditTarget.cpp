// The edit path as the control drives it: a replacement between the two selection navigators
// (which may have measured the character under the caret first), the other registered navigators
// moved, highlighting re-parsed, the edited lines laid out and the rest queued. After every
// operation the text equals a plain string model, the store's invariants hold, every navigator
// stands where the model says with its cached indexes right, and the layout and highlighting
// equal those of the same text loaded and laid out from scratch.
#include "FormatTestText.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "HighlightTestText.h"
#include "ReplaceTestText.h"
#include "StoreInvariants.h"

#include "editor/engine/ArtHighlighter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ReplaceRange.h"
#include "editor/engine/RunState.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

struct EditConfig {
    bool StaticFormat = false;
    bool DiscardTrailing = false;
    bool Keys = false;
    bool Highlighter = false;
    bool WordWrap = true;
    bool Justified = false;
    int ColumnWrap = 0;
    bool WrapAfterHyphens = false;
    TUpdateMode Mode = umImmediate;
};

// Marks "http" and what follows up to the next blank as an address on top of whatever context is
// open there, keeping a stack entry as the address highlighter does.
class AddressMarks : public TArtHighlighter {
public:
    void ApplyHighlight(TArtNavigator& start, TArtNavigator&, int32_t keywordCount) override {
        TArtMemoCore* memo = start.Memo();
        const int p = start.GetParNb();
        const ParInfo& par = memo->Paragraphs().Par(p);
        const std::string text = test::ParText(par);
        for (size_t at = text.find("http"); at != std::string::npos; at = text.find("http", at + 1)) {
            const size_t end = std::min(text.find(' ', at), text.size());
            const TDynInfo& r = StateAt(memo->Paragraphs().Par(p), static_cast<int32_t>(at));
            if (EffectiveDepth(r) >= kMaxDepth)
                continue;
            TDynInfo s = r;
            s.Depth = static_cast<int8_t>(EffectiveDepth(r) + 1);
            s.Stack[s.Depth] = static_cast<int16_t>(keywordCount);
            s.StyleFlags = sfUnderline | sfKeyed | sfContext;
            s.Context = 1024;
            s.StartLen = s.StopLen = static_cast<int16_t>(end - at);
            ApplyRunAt(memo->Paragraphs(), p, static_cast<int32_t>(at), p, static_cast<int32_t>(end), 0,
                       false, true, s);
            at = end;
        }
    }
};

void Configure(TArtMemoCore& core, const EditConfig& config, AddressMarks* highlighter) {
    core.SetClientSize(200, 48); // 23 characters a line, 3 lines in the window
    core.SetWordWrap(config.WordWrap);
    core.SetJustified(config.Justified);
    core.SetColumnWrap(config.ColumnWrap);
    core.SetWordWrapChars(config.WrapAfterHyphens ? "-" : "");
    core.SetStaticFormat(config.StaticFormat);
    core.SetTabStops(4);
    core.SetUpdateMode(config.Mode);
    if (config.Keys) {
        TStartStopKeyList& keys = core.Highlighting().StartStopKeys();
        keys.AddKey("/*", "*/", 0, 0, 3, 0, -1, -1, false);
        keys.AddKey("\"", "\"", 0, sfItalic, 2, 0, -1, -1, true);
        keys.AddKey("rem", "", koWholeWord, 0, 4, 0, -1, -1, true);
        keys.AddKey("/*", "!/", 0, 0, 5, 0, -1, -1, false);
        TKeywordList& words = core.Highlighting().Keywords();
        words.AddKeyWord("if", koWholeWord, sfBold, 6, 0, -1, -1);
        words.AddKeyWord("fi", 0, sfAltFont, 7, 0, -1, -1);
        words.AddKeyWord("A", 0, 0, 9, 0, -1, -1);
        words.AddKeyWord("aa", koCaseSensitive, 0, 1, 0, -1, -1);
    }
    if (highlighter)
        core.Highlighting().SetHighlighter(highlighter);
}

// Pieces that make keys, keywords, addresses, breaks, blanks and format codes likely.
const char* const kTokens[] = {"a",
                               "b",
                               "i",
                               "f",
                               "x",
                               " ",
                               "  ",
                               "\t",
                               "/*",
                               "*/",
                               "!/",
                               "\"",
                               "A",
                               "/",
                               "*",
                               "if",
                               "fi",
                               "aa",
                               "-",
                               "\r\n",
                               "\n",
                               "\r",
                               "\n\r",
                               "rem ",
                               "http:",
                               "\x02",
                               "\x01",
                               "\x15",
                               "\x03",
                               "\x04",
                               "wwwwwwwwwwwwwwwwwwwwwwwwww"};

std::string NewText(FuzzInput& in) {
    if (in.Flag())
        return in.Bytes(24); // raw bytes, cut at a NUL like any C string the control is given
    std::string s;
    for (int n = in.Range(0, 6); n > 0; --n)
        s += kTokens[in.Below(static_cast<uint32_t>(std::size(kTokens)))];
    return s;
}

// ---- the model -------------------------------------------------------------------------------

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

uint8_t CodeBit(char c) {
    switch (c) {
    case 2:
        return 0x01;
    case 1:
        return 0x02;
    case 21:
        return 0x04;
    case 3:
        return 0x10;
    case 4:
        return 0x20;
    default:
        return 0;
    }
}

// The text with CR LF between paragraphs; a paragraph never holds CR or LF, so a position right
// after a CR is on the LF of a break.
struct TextModel {
    std::string Text;
    bool OnLf(int32_t p) const { return p > 0 && Text[static_cast<size_t>(p - 1)] == '\r'; }
    bool AtParagraphEnd(int32_t p) const {
        return static_cast<size_t>(p) == Text.size() || Text[static_cast<size_t>(p)] == '\r';
    }
};

struct ModelEdit {
    int32_t A = 0, E = 0; // the range actually replaced
    int32_t Inserted = 0; // positions of the new text
};

ModelEdit Replace(TextModel& m, int32_t a, int32_t e, const std::string& text, bool staticFormat,
                  bool discardTrailing) {
    // No half break is replaced: an end on the LF moves off it.
    if (m.OnLf(a)) {
        if (a == e)
            e = a = a - 1;
        else
            a = a + 1;
    }
    if (m.OnLf(e))
        e = e - 1;
    const std::string cut = text.substr(0, text.find('\0'));
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < cut.size(); ++i) {
        const char c = cut[i];
        if (c != '\r' && c != '\n') {
            pieces.back() += c;
            continue;
        }
        if (i + 1 < cut.size() && cut[i + 1] == (c == '\r' ? '\n' : '\r'))
            ++i;
        pieces.emplace_back();
    }
    const size_t breaks = pieces.size() - 1;
    if (discardTrailing && breaks > 0) {
        if (std::all_of(pieces.front().begin(), pieces.front().end(), IsBlank))
            while (a > 0 && IsBlank(m.Text[static_cast<size_t>(a - 1)]))
                --a;
        for (size_t k = 0; k <= breaks; ++k)
            if (k < breaks || m.AtParagraphEnd(e))
                while (!pieces[k].empty() && IsBlank(pieces[k].back()))
                    pieces[k].pop_back();
    }
    std::string inserted;
    uint8_t toggled = 0;
    for (char c : m.Text.substr(static_cast<size_t>(a), static_cast<size_t>(e - a)))
        toggled ^= CodeBit(c);
    for (size_t k = 0; k <= breaks; ++k) {
        if (k > 0)
            inserted += "\r\n";
        inserted += pieces[k];
        for (char c : pieces[k])
            toggled ^= CodeBit(c);
    }
    if (staticFormat)
        for (char code : {'\x15', '\x01', '\x02', '\x03', '\x04'})
            if (toggled & CodeBit(code))
                inserted += code;
    m.Text = m.Text.substr(0, static_cast<size_t>(a)) + inserted + m.Text.substr(static_cast<size_t>(e));
    return {a, e, static_cast<int32_t>(inserted.size())};
}

// A registered navigator of someone else (a bookmark), and where the model says it stands.
struct Bookmark {
    std::unique_ptr<TArtNavigator> Nav;
    int32_t Expected = 0;
    bool Freed = false;
    int OnFreeCalls = 0;
};

// ---- checks ----------------------------------------------------------------------------------

void Check(const ::testing::AssertionResult& result, const char* what) {
    if (!result)
        FuzzFail(std::string(what) + ": " + result.message());
}

void CheckLikeAFreshNavigator(TArtMemoCore& core, TArtNavigator& nav, const char* what) {
    TArtNavigator fresh(&core);
    fresh.SetPos(nav.Pos());
    FuzzCheck(fresh.Pos() == nav.Pos(), what);
    FuzzCheck(nav.GetParNb() == fresh.GetParNb() && nav.ParOffset() == fresh.ParOffset() &&
                  nav.Par() == fresh.Par() && nav.RunIndex() == fresh.RunIndex() &&
                  nav.LineIndex() == fresh.LineIndex(),
              what);
}

void WorkOffQueue(TArtMemoCore& core) {
    switch (core.UpdateMode()) {
    case umImmediate:
        break;
    case umBackground:
        for (int guard = 0; core.BgNext() < core.ParagraphCount() && guard < 100000; ++guard)
            core.FormatStep();
        break;
    case umOnNeed:
        core.FormatUpTo(core.ParagraphCount() - 1);
        break;
    }
}

void CheckAgainstScratch(TArtMemoCore& core, const TextModel& model, const EditConfig& config,
                         AddressMarks* highlighter) {
    TArtMemoCore fresh;
    Configure(fresh, config, highlighter);
    test::LoadThroughStream(fresh, model.Text);
    test::FormatAll(fresh);
    Check(test::SameLayout(core, fresh), "layout differs from laying the text out from scratch");
    core.Highlighting().HighlightUpTo(core.ParagraphCount() - 1);
    fresh.Highlighting().HighlightUpTo(fresh.ParagraphCount() - 1);
    const std::string diff =
        test::SnapshotDiff(test::Snapshot(fresh.Paragraphs()), test::Snapshot(core.Paragraphs()));
    if (!diff.empty())
        FuzzFail("highlighting differs from a fresh parse: " + diff);
}

} // namespace

int FuzzEdit(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t options = in.Byte();
    EditConfig config;
    config.StaticFormat = options & 0x01;
    config.DiscardTrailing = options & 0x02;
    config.Keys = options & 0x04;
    config.Highlighter = options & 0x08;
    config.WordWrap = !(options & 0x10);
    config.Justified = options & 0x20;
    config.WrapAfterHyphens = options & 0x40;
    config.ColumnWrap = (options & 0x80) ? in.Range(4, 30) : 0;
    config.Mode = static_cast<TUpdateMode>(in.Below(3));

    AddressMarks highlighter;
    AddressMarks* marks = config.Highlighter ? &highlighter : nullptr;
    TArtMemoCore core;
    Configure(core, config, marks);
    std::string initial;
    for (int n = in.Range(0, 40); n > 0; --n)
        initial += kTokens[in.Below(static_cast<uint32_t>(std::size(kTokens)))];
    test::LoadThroughStream(core, initial);
    core.ScheduleFormatting();
    WorkOffQueue(core);
    core.Paragraphs().ResetDirty();
    TextModel model{test::StoreText(core.Paragraphs())};

    TArtNavigator S(&core), E(&core);
    std::vector<std::unique_ptr<Bookmark>> bookmarks;
    for (int step = 0; step < 48 && !in.Empty(); ++step) {
        const int32_t length = core.CharCount();
        switch (in.Below(4)) {
        case 0: { // someone else's navigator
            Bookmark& b = *bookmarks.emplace_back(std::make_unique<Bookmark>());
            b.Nav = std::make_unique<TArtNavigator>(&core);
            b.Nav->StickToEnd = in.Flag();
            b.Nav->FreeWithText = in.Flag();
            b.Nav->OnFree = [&b](TArtNavigator*) { ++b.OnFreeCalls; };
            b.Expected = static_cast<int32_t>(in.Below(static_cast<uint32_t>(length) + 1));
            b.Nav->SetPos(b.Expected);
            if (in.Flag())
                b.Nav->LineIndex();
            continue;
        }
        case 1: // the window moves, so edits happen above, inside and below it
            core.SetTopOrigin(core.LinePixels() * static_cast<int>(in.Below(static_cast<uint32_t>(
                                                      std::max(1, core.VisibleLineCount())))));
            continue;
        default:
            break;
        }
        int32_t a = static_cast<int32_t>(in.Below(static_cast<uint32_t>(length) + 1));
        int32_t e = std::min<int32_t>(length, a + static_cast<int32_t>(in.Below(in.Flag() ? 64 : 4)));
        const std::string text = NewText(in);
        const bool inUpdate = in.Below(8) == 0;
        // The caret and anchor keep their cached state from the last edit; the caret may have measured
        // the character it stands on for an overwrite caret.
        S.SetPos(a);
        E.SetPos(e);
        switch (in.Below(4)) {
        case 0:
            S.CharWidth();
            break;
        case 1:
            S.SkipRunsHere();
            break;
        case 2:
            S.LineIndex();
            E.LineIndex();
            break;
        default:
            break;
        }
        const ModelEdit edit = Replace(model, a, e, text, config.StaticFormat, config.DiscardTrailing);
        const TReplaceResult result = ReplaceText(core, S, E, text.c_str(), true, config.DiscardTrailing);

        FuzzCheck(test::StoreText(core.Paragraphs()) == model.Text, "the text differs from the model");
        Check(test::StoreInvariantsHold(core.Paragraphs()), "store invariants after the replacement");
        FuzzCheck(S.Pos() == edit.A && E.Pos() == edit.A + edit.Inserted,
                  "the selection does not enclose the new text");
        FuzzCheck(result.LengthDelta == edit.Inserted - (edit.E - edit.A), "the length change is wrong");
        CheckLikeAFreshNavigator(core, S, "the start navigator's cached state is stale");
        CheckLikeAFreshNavigator(core, E, "the end navigator's cached state is stale");
        for (auto& kept : bookmarks) {
            Bookmark& b = *kept;
            if (b.Freed)
                continue;
            const int32_t p = b.Expected;
            bool freed = false;
            if (p > edit.E)
                b.Expected = p + result.LengthDelta;
            else if (p >= edit.A) {
                freed = b.Nav->FreeWithText && (b.Nav->StickToEnd ? p < edit.E : edit.A < p);
                b.Expected = b.Nav->StickToEnd ? edit.A + edit.Inserted : edit.A;
            }
            if (freed) {
                FuzzCheck(b.Nav->Memo() == nullptr && b.OnFreeCalls == 1,
                          "a navigator whose text was deleted was not let go once");
                b.Freed = true;
                continue;
            }
            FuzzCheck(b.Nav->Memo() == &core && b.OnFreeCalls == 0, "a navigator was let go wrongly");
            FuzzCheck(b.Nav->Pos() == b.Expected, "a registered navigator did not follow the edit");
            CheckLikeAFreshNavigator(core, *b.Nav, "a registered navigator's cached state is stale");
        }

        core.Highlighting().AfterReplace(S, E, result.RunsRemoved, inUpdate);
        core.UpdateAfterEdit();
        WorkOffQueue(core);
        Check(test::StoreInvariantsHold(core.Paragraphs()), "store invariants after layout");
        CheckAgainstScratch(core, model, config, marks);
        for (auto& b : bookmarks)
            if (!b->Freed)
                CheckLikeAFreshNavigator(core, *b->Nav, "a navigator's cached state is stale after layout");
    }
    for (auto& b : bookmarks)
        b->Nav->OnFree = nullptr;
    return 0;
}

} // namespace zandor::fuzz
