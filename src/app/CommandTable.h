// Every command of the main window in one table: the main-menu item, its twin in the editor's
// context menu, the bottom button that runs it as well, and the handler that all of them call; the
// menus' preparations beside it. The keys belong to the items (MainMenu.cpp).
#pragma once

namespace zandor {

class TZandorF;

// Connects every item, twin and button of the table to its handler, the menus to their
// preparations and the Options menu to its toggles; then leaves the commands still to come disabled.
void WireCommands(TZandorF& window);

// Enables the items that follow the document (Save, Properties..., the font for the extension) and
// the Save button by the document's name and modified state. An item's key acts only while the
// item is enabled, so this runs whenever that state changes, not only when a menu opens; opening
// the File or Options menu runs it too, since the file on disk may have gone meanwhile.
void UpdateDocumentCommands(TZandorF& window);

} // namespace zandor
