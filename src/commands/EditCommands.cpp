#include "commands/EditCommands.h"

#include "commands/ASCIIForm.h"
#include "commands/TextTransforms.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "host/ZandorHost.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"

#include <vector>

namespace zandor {

namespace {

// A rewrite that cannot fail.
template <typename Fn> auto Always(Fn fn) {
    return [fn](std::string_view text, std::string& out) {
        out = fn(text);
        return true;
    };
}

} // namespace

std::string DateTimeText(const QDateTime& when, const QLocale& locale) {
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() != QTime(0, 0)) {
        // The locale's long time names the time zone as well; the text keeps the clock's reading.
        QString format = locale.timeFormat(QLocale::LongFormat);
        format.remove(QLatin1Char('t'));
        text += QLatin1Char(' ') + when.time().toString(format.trimmed());
    }
    return platform::UnicodeToText(text.toStdU16String(), platform::AnsiCodePage);
}

TEditCommands::TEditCommands(TZandorHost& host, int32_t& selectedChar)
    : host_(host), selectedChar_(selectedChar) {}

TEditCommands::~TEditCommands() {
    // The window is a child of the host's dialog parent, which may have taken it along already.
    delete form_.data();
}

void TEditCommands::Deleteline1Click() {
    TArtMemo& m = host_.Editor();
    // The caret's paragraph as a whole, also where word wrap shows it on several lines.
    m.Paragraphs().Delete(m.SelPar());
}

void TEditCommands::ReplaceSelection(const TRewrite& rewrite, bool firstRowOnly) {
    TArtMemo& m = host_.Editor();
    TMemoSelection& selection = m.Selection();
    std::string out;
    if (!selection.BlockMode()) {
        if (!rewrite(m.SelText(), out))
            return;
        const int32_t start = selection.Lower();
        // One replacement outside any bracket: a step of its own, never joined to the bracketed
        // edit before it.
        m.SetSelText(out);
        // The rewritten text stays selected, so that another command can follow on it.
        if (!out.empty())
            m.Editor().Select(start, start + static_cast<int32_t>(out.size()));
        return;
    }
    // A column block: every row on its own, so the text around the block keeps its place. All rows
    // are rewritten before the first one changes, so a refusal leaves the text as it was.
    const int32_t firstPar = selection.StartNav().ParNb();
    const int32_t lastPar = firstRowOnly ? firstPar : selection.EndNav().ParNb();
    struct TRow {
        int32_t From, To;
        std::string Text;
    };
    std::vector<TRow> rows;
    bool sameLengths = true;
    for (int32_t par = firstPar; par <= lastPar; ++par) {
        const auto [from, to] = selection.BlockRow(par);
        TRow row{from, to, {}};
        if (!rewrite(m.GetTextPart(from, to), row.Text))
            return;
        sameLengths = sameLengths && static_cast<int32_t>(row.Text.size()) == to - from;
        rows.push_back(std::move(row));
    }
    // The block as it was, to select it again when its rows keep their lengths.
    const int caretColumn = selection.BlockColumn();
    const int anchorColumn =
        caretColumn == selection.BlockLeft() ? selection.BlockRight() : selection.BlockLeft();
    const int32_t caretPar = m.Caret().ParNb();
    const int32_t anchorPar = caretPar == firstPar ? selection.EndNav().ParNb() : firstPar;
    TUpdateBracket bracket(m.Editor());
    // From the last row up, so the positions of the rows above stay true. The rows are selected
    // through the selection itself: selecting through the editor would start a new undo step.
    selection.SetBlockMode(false);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        selection.SetEnds(row->From, row->To - row->From);
        m.SetSelText(row->Text);
    }
    if (sameLengths)
        m.SelectBlock(anchorColumn, anchorPar, caretPar, caretColumn);
}

void TEditCommands::edit_format_joinClick() {
    ReplaceSelection(Always(JoinedLines));
}

void TEditCommands::edit_format_lowerClick() {
    ReplaceSelection(Always(LowercasedText));
}

void TEditCommands::edit_format_upperClick() {
    ReplaceSelection(Always(UppercasedText));
}

void TEditCommands::edit_format_capitalizeClick() {
    if (host_.Editor().SelLength() == 0)
        return;
    ReplaceSelection(Always(CapitalizedText), true);
}

void TEditCommands::edit_format_toutf8Click() {
    const int charset = platform::ShownCharset(host_.Editor().Font());
    ReplaceSelection(Always([charset](std::string_view text) { return CharsetToUtf8(text, charset); }));
}

void TEditCommands::edit_format_fromutf8Click() {
    std::string problem;
    const int charset = platform::ShownCharset(host_.Editor().Font());
    ReplaceSelection([&problem, charset](std::string_view text, std::string& out) {
        TUtf8Decoding decoding = Utf8ToCharset(text, charset);
        if (decoding.Ok()) {
            out = std::move(decoding.Text);
            return true;
        }
        if (decoding.Status == TUtf8Decoding::TStatus::CutOff)
            problem = "Unexpected end of sequence";
        else
            problem = "The selection is not UTF-8: the bytes from character " +
                      std::to_string(decoding.ErrorOffset + 1) + " on form no character.";
        return false;
    });
    if (!problem.empty())
        host_.ShowPlainMessage(problem + "\nThe text was left as it was.");
}

void TEditCommands::TimeDate1Click() {
    host_.Editor().SetSelText(DateTimeText(Now(), QLocale::system()));
}

TFormatEnabling TEditCommands::FormatEnabling() const {
    TArtMemo& m = host_.Editor();
    return {m.SelLength() != 0, m.CharCount() > 0};
}

void TEditCommands::ShowTable(bool showFontMode) {
    if (!form_)
        form_ = new TASCIIForm(host_.DialogParent());
    TArtMemo& m = host_.Editor();
    form_->ShowFontMode = showFontMode;
    form_->Prepare(host_.Texts(), m.Font(), m.Color(), selectedChar_);
    form_->exec();
    selectedChar_ = form_->SelectedRow();
}

void TEditCommands::edit_insertClick() {
    ShowTable(false);
    const int code = form_ ? form_->ChosenCode : 0;
    if (code > 0)
        host_.Editor().InsertBlock(std::string(1, static_cast<char>(code)));
}

void TEditCommands::options_showfontClick() {
    ShowTable(true);
}

} // namespace zandor
