// Keyboard access to the menus: every caption gets an Alt+letter mnemonic. A caption that has one
// (a language file's "&Save") keeps it; the others take, in turn, the first letter of one of their
// words that no sibling took, else any free letter or digit of theirs, so the letters follow the
// language of the captions; a caption whose every letter is taken shares its first one (the menu
// then goes from one item with it to the next). The texts stay the language's; only the marker is
// added.
#pragma once

#include <QStringList>

class QMenu;

namespace zandor {

// The captions of one menu level with their mnemonics chosen (an empty caption stays empty).
QStringList WithMnemonics(const QStringList& captions);

// Gives the items of `menu` and of its submenus mnemonics each time the menu opens, so that items
// whose captions change (a language change, the file type in a caption) and items added later get
// them too. The lists of recent files and of languages keep their own captions.
void KeepMnemonics(QMenu& menu);

} // namespace zandor
