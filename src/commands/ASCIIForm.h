// The character table: a small window listing the codes 1 to 255 with their decimal and hexadecimal
// numbers and their character in the editor's font. Opened to pick a character to insert, or by
// "Show current Font..." only to look at the font.
#pragma once

#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <QDialog>

class QTreeWidget;

namespace zandor {

class TLocalisation;

// Owns its list through Qt parenthood; created once and reused for the life of the program.
class TASCIIForm : public QDialog {
public:
    explicit TASCIIForm(QWidget* parent);

    // Caption, column captions, font and colours for this showing; the rows are filled anew and
    // the row `selectedRow` (-1: the first) is selected, focused and scrolled into view.
    // ChosenCode goes back to 0.
    void Prepare(const TLocalisation& texts, const platform::FontValue& font, platform::TColor background,
                 int32_t selectedRow);
    // The selected row's index, -1 when none.
    int32_t SelectedRow() const;

    // false: opened to insert a character; true: opened by "Show current Font...".
    bool ShowFontMode = false;
    // The code picked with Enter or a double click in this showing; 0 when nothing was picked.
    int ChosenCode = 0;

    QTreeWidget* m = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose();
};

} // namespace zandor
