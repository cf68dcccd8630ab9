// The Edit menu's text commands on the main editor: Delete line, the Format submenu (Join Lines,
// Lowercase, Uppercase, Capitalize and the two UTF-8 conversions), Date/Time and the character
// table, with the enabling rule of the Format items. Each command that rewrites text replaces the
// selection once, so it is one undo step and fires the editor's change handling as typing does.
#pragma once

#include "commands/ASCIIForm.h"

#include <QDateTime>
#include <QLocale>

#include <QPointer>
#include <cstdint>
#include <functional>

#include <memory>
#include <string>
#include <string_view>

namespace zandor {

class TZandorHost;

// Which Format items can act: those on the selection, and the two conversions, which ask for any
// text at all.
struct TFormatEnabling {
    bool Selection = false;
    bool Text = false;
};

// The current date and time as the locale writes them: its short date, a blank and its time with
// seconds; at exactly midnight only the date.
std::string DateTimeText(const QDateTime& when, const QLocale& locale);

// Refers to the host (the main window, which owns it) and to the stored row of the character table
// ("Options"/"SelectedChar", kept by the window's settings). Owns the character table window once
// it was first shown.
class TEditCommands {
public:
    TEditCommands(TZandorHost& host, int32_t& selectedChar);
    ~TEditCommands();
    TEditCommands(const TEditCommands&) = delete;
    TEditCommands& operator=(const TEditCommands&) = delete;

    void Deleteline1Click();
    void edit_format_joinClick();
    void edit_format_lowerClick();
    void edit_format_upperClick();
    void edit_format_capitalizeClick();
    void edit_format_toutf8Click();
    void edit_format_fromutf8Click();
    void TimeDate1Click();
    // The character table: pick a character and insert it at the caret's column.
    void edit_insertClick();
    // The character table in the editor's font, captioned with its face, only to look at.
    void options_showfontClick();

    TFormatEnabling FormatEnabling() const;

    // The table window; null until first shown.
    TASCIIForm* ASCIIForm() const { return form_.data(); }
    // Where the current time comes from; replaced by tests.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

private:
    // The selection replaced by rewrite(selection). A column block is rewritten row by row and
    // stays selected when its rows keep their lengths; rewrite may refuse by returning false.
    using TRewrite = std::function<bool(std::string_view, std::string&)>;
    void ReplaceSelection(const TRewrite& rewrite, bool firstRowOnly = false);
    void ShowTable(bool showFontMode);

    TZandorHost& host_;
    int32_t& selectedChar_;
    QPointer<TASCIIForm> form_;
};

} // namespace zandor
