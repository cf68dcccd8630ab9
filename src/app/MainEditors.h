// How the main window's parts are made: the document editor, its gutter, the hidden print editor
// and the row of buttons below. Only their looks and options live here; what they do when used is
// wired by the window.
#pragma once

#include <QFont>

class QMenu;
class QPushButton;
class QWidget;

namespace zandor {

class TArtGutter;
class TArtMemo;

inline constexpr int kGutterWidth = 30;
inline constexpr int kPanelBottomHeight = 26;

// The window's own font: Tahoma at 8 points.
QFont WindowFont(bool bold = false);

// The document editor: no border, both scroll bars, white bold "ZandorLarge" on dark blue, keyword
// colours lime on black, half a megabyte of undo, and the context menu given.
void ConfigureMainEditor(TArtMemo& m, QMenu* popupMenu);

// The line-number gutter beside the editor, hidden until line numbers are switched on.
void ConfigureGutter(TArtGutter& g, TArtMemo& m);

// The hidden editor that holds a copy of the text for printing.
void ConfigurePrintMemo(TArtMemo& printMemo, const TArtMemo& m);

struct TBottomButtons {
    QWidget* Panel = nullptr;
    QPushButton* Copy = nullptr;
    QPushButton* Cut = nullptr;
    QPushButton* Paste = nullptr;
    QPushButton* Save = nullptr;
    QPushButton* Exit = nullptr;
};

// The sunken panel with Copy, Cut, Paste, Save (disabled until there are changes) and Exit.
TBottomButtons CreateBottomButtons(QWidget* parent);

} // namespace zandor
