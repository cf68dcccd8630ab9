// Find and replace as the window's commands run them: the dialog's Find Next, Replace and Replace
// All in both directions, F3 and Ctrl+F3 in find and in replace mode, with whole word and match
// case in either letter-case rule, between moves of the caret and the selection. After every step
// the text, the selection, the "not found" messages, the repeat items and the mode equal those of
// a plain model that acts every search out on a string.
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "commands/FindReplace.h"
#include "editor/control/ArtMemo.h"
#include "support/FakeHost.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <string>

namespace zandor::fuzz {

namespace {

const char* const kTextPieces[] = {"a",    "b", "A", "ab", "aa",   "Ab",   "\xE4",
                                   "\xC4", " ", ".", "-",  "\r\n", "ab ab"};
const char* const kNeedlePieces[] = {"a", "b", "A", "B", "ab", "\xE4", "\xC4", " ", ".", "-"};

std::string Pieces(FuzzInput& in, const char* const* pieces, size_t count, int most) {
    std::string s;
    for (int n = in.Range(0, most); n > 0; --n)
        s += pieces[in.Below(uint32_t(count))];
    return s;
}

// The window's commands over a plain string: the text with CR LF between paragraphs, the selection
// as the control keeps it (caret and signed length), and what the user was told.
struct Model {
    std::string Text;
    int32_t SelStart = 0;
    int32_t SelLength = 0;
    std::string Search, Replacement;
    std::string Separators;
    bool MatchCase = false, WholeWord = false, Down = true, Ansi = false;
    bool ReplaceMode = false, ReplaceAll = false;
    bool Items[4] = {false, false, false, false}; // FindNext1, FindNext2, FindPrev1, FindPrev2
    size_t Messages = 0;

    char Fold(char c) const {
        if (MatchCase)
            return c;
        if (Ansi)
            return char(ModelAnsiCase(uint8_t(c), true));
        return c >= 'a' && c <= 'z' ? char(c - 32) : c;
    }
    bool Edge(int64_t i) const {
        if (i < 0 || i >= int64_t(Text.size()))
            return true;
        const char c = Text[size_t(i)];
        // The control's word separators, and the paragraph's ends.
        return c == '\r' || c == '\n' || Separators.find(c) != std::string::npos;
    }
    bool HitAt(size_t at) const {
        const size_t n = Search.size();
        if (n == 0 || at + n > Text.size())
            return false;
        for (size_t k = 0; k < n; ++k) {
            const char c = Text[at + k];
            if (c == '\r' || c == '\n' || Fold(c) != Fold(Search[k]))
                return false;
        }
        return !WholeWord || (Edge(int64_t(at) - 1) && Edge(int64_t(at + n)));
    }
    // The first hit at or after from, or -1.
    int64_t Forward(size_t from) const {
        for (size_t at = from; at < Text.size(); ++at)
            if (HitAt(at))
                return int64_t(at);
        return -1;
    }
    // The last hit that starts before `before` (and, for Replace All upward, ends by `end`), or -1.
    int64_t Backward(int64_t before, int64_t end = INT64_MAX) const {
        for (int64_t at = std::min<int64_t>(before, int64_t(Text.size())) - 1; at >= 0; --at)
            if (at + int64_t(Search.size()) <= end && HitAt(size_t(at)))
                return at;
        return -1;
    }
    // FindTxt: a forward hit is selected with the caret at its end, a backward one at its start.
    bool FindTxt(bool forward, bool fromBoundary) {
        const int64_t at = forward ? Forward(fromBoundary ? 0 : size_t(SelStart))
                                   : Backward(fromBoundary ? int64_t(Text.size()) + 1 : SelStart);
        if (at < 0)
            return false;
        const auto n = int32_t(Search.size());
        SelStart = forward ? int32_t(at) + n : int32_t(at);
        SelLength = forward ? -n : n;
        return true;
    }
    void ReplaceSelection() {
        const int32_t lower = std::min(SelStart, SelStart + SelLength);
        Text.replace(size_t(lower), size_t(std::abs(SelLength)), Replacement);
        SelStart = lower + int32_t(Replacement.size());
        SelLength = 0;
    }
    void SetMode(bool replace) {
        ReplaceMode = replace;
        if (replace)
            Items[0] = Items[1] = true;
    }

    void DialogFind() {
        SetMode(false);
        const bool hit = FindTxt(true, true);
        Items[0] = Items[1] = hit;
        Items[2] = Items[3] = false;
        Messages += !hit;
    }
    void FindNext(bool previous) {
        if (ReplaceMode) {
            Replace(ReplaceAll);
            return;
        }
        SetMode(false);
        if (previous) {
            const auto upper = [](std::string s) {
                for (char& c : s)
                    c = c >= 'a' && c <= 'z' ? char(c - 32) : c;
                return s;
            };
            const int32_t lower = std::min(SelStart, SelStart + SelLength);
            if (upper(Text.substr(size_t(lower), size_t(std::abs(SelLength)))) == upper(Search)) {
                SelStart = lower;
                SelLength = 0;
            }
        } else {
            Items[2] = Items[3] = true;
        }
        Messages += !FindTxt(!previous, false);
    }
    void Replace(bool all) {
        SetMode(true);
        bool hit = false;
        if (all) {
            // Each search sees the text the replacements before it left: downward it goes on
            // behind the last replacement, upward it takes an occurrence that ends before it.
            int64_t caret = -1;
            int64_t from = 0, limit = int64_t(Text.size());
            for (;;) {
                const int64_t at = Down ? Forward(size_t(from)) : Backward(limit, limit);
                if (at < 0)
                    break;
                Text.replace(size_t(at), Search.size(), Replacement);
                hit = true;
                caret = at + int64_t(Replacement.size());
                from = caret;
                limit = at;
            }
            if (hit) {
                SelStart = int32_t(caret);
                SelLength = 0;
            }
        } else {
            hit = FindTxt(Down, true);
            if (hit)
                ReplaceSelection();
        }
        if (!hit) {
            Items[0] = Items[1] = false;
            ++Messages;
        }
    }
    // A position that is not inside a CR LF.
    int32_t ValidPosition(uint32_t pick) const {
        auto p = int32_t(pick % (Text.size() + 1));
        if (p > 0 && size_t(p) < Text.size() && Text[size_t(p) - 1] == '\r')
            --p;
        return p;
    }
};

struct Window {
    test::FakeHost Host;
    QWidget Parent;
    std::unique_ptr<TArtMemo> Memo = std::make_unique<TArtMemo>();
    QAction* Items[4];
    std::string Text, Replacement;
    int32_t Left = 0, Top = 0;
    std::unique_ptr<TFindReplace> Find;

    Window() {
        Host.Memo = Memo.get();
        Host.Parent = &Parent;
        for (QAction*& item : Items) {
            item = new QAction(QStringLiteral("Find/Replace Next"), &Parent);
            item->setEnabled(false);
        }
        Find = std::make_unique<TFindReplace>(host(), TFindItems{Items[0], Items[1], Items[2], Items[3], {}},
                                              TFindSettings{&Text, &Replacement, &Left, &Top});
    }
    ~Window() {
        Find.reset();
        Memo.reset();
    }
    test::FakeHost& host() { return Host; }
    TReplaceDialog& Dialog() { return *Find->ReplaceDialog1; }
};

void CheckAgainst(Window& w, const Model& m, const char* step) {
    TArtMemo& memo = *w.Memo;
    const std::string text = memo.Text();
    if (text != m.Text)
        FuzzFail(std::string(step) + ": the text is " + Printable(text) + ", the model's " +
                 Printable(m.Text));
    if (memo.SelStart() != m.SelStart || memo.SelLength() != m.SelLength)
        FuzzFail(std::string(step) + ": the selection is " + std::to_string(memo.SelStart()) + "/" +
                 std::to_string(memo.SelLength()) + ", the model's " + std::to_string(m.SelStart) + "/" +
                 std::to_string(m.SelLength));
    FuzzCheck(w.Host.Messages.size() == m.Messages, "\"not found\" was said another number of times");
    for (int i = 0; i < 4; ++i)
        FuzzCheck(w.Items[i]->isEnabled() == m.Items[i], "a repeat item is enabled otherwise");
    FuzzCheck(w.Find->ReplaceMode() == m.ReplaceMode, "the mode is another");
}

} // namespace

int FuzzFindReplace(const uint8_t* data, size_t size) {
    EnsureGuiApplication();
    FuzzInput in(data, size);
    Window w;
    Model m;
    m.Ansi = in.Flag();
    m.Separators = w.Memo->Separators();
    w.Memo->SetUpperCaseType(m.Ansi ? amuAnsi : amuAscii);
    m.Text = Pieces(in, kTextPieces, std::size(kTextPieces), 24);
    w.Memo->SetTextBuf(m.Text.c_str());
    // A replacement that holds its search text makes every Replace All grow the text; past some
    // 64 KB the steps teach nothing new and the model's plain string work would take minutes.
    for (int steps = 0; steps < 24 && !in.Empty() && m.Text.size() < (size_t(1) << 16); ++steps) {
        const char* step = "";
        switch (in.Below(10)) {
        case 0:
            step = "new search text";
            m.Search = Pieces(in, kNeedlePieces, std::size(kNeedlePieces), 3);
            w.Dialog().FindText->setText(QString::fromLatin1(m.Search.data(), qsizetype(m.Search.size())));
            break;
        case 1: {
            step = "new replacement";
            // Often the search text itself inside, which Replace All must not search again.
            m.Replacement = Pieces(in, kNeedlePieces, std::size(kNeedlePieces), 2);
            if (in.Flag())
                m.Replacement += m.Search + Pieces(in, kNeedlePieces, std::size(kNeedlePieces), 1);
            w.Dialog().ReplaceText->setText(
                QString::fromLatin1(m.Replacement.data(), qsizetype(m.Replacement.size())));
            break;
        }
        case 2: {
            step = "options";
            const uint8_t o = in.Byte();
            m.MatchCase = o & 1;
            m.WholeWord = o & 2;
            m.Down = !(o & 4);
            w.Dialog().MatchCase->setChecked(m.MatchCase);
            w.Dialog().WholeWord->setChecked(m.WholeWord);
            (m.Down ? w.Dialog().Down : w.Dialog().Up)->setChecked(true);
            break;
        }
        case 3:
            step = "dialog Find Next";
            w.Find->ReplaceDialog1Find();
            m.DialogFind();
            break;
        case 4:
            step = "F3";
            w.Find->FindNext1Click(false);
            m.FindNext(false);
            break;
        case 5:
            step = "Ctrl+F3";
            w.Find->FindNext1Click(true);
            m.FindNext(true);
            break;
        case 6:
            step = "dialog Replace";
            m.ReplaceAll = false;
            w.Find->ReplaceDialog1Replace(false);
            m.Replace(false);
            break;
        case 7:
            step = "dialog Replace All";
            m.ReplaceAll = true;
            w.Find->ReplaceDialog1Replace(true);
            m.Replace(true);
            break;
        default: {
            step = "selection";
            const int32_t caret = m.ValidPosition(in.Byte());
            const int32_t anchor = in.Flag() ? m.ValidPosition(in.Byte()) : caret;
            w.Memo->SetSelStart(caret);
            w.Memo->SetSelLength(anchor - caret);
            m.SelStart = caret;
            m.SelLength = anchor - caret;
            break;
        }
        }
        CheckAgainst(w, m, step);
    }
    return 0;
}

} // namespace zandor::fuzz
