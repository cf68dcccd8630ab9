// Every command of the main window in one table: the main-menu item, its twin in the editor's
// context menu, the bottom button that runs it as well, and the handler that all of them call; the
// menus' preparations beside it. The keys belong to the items (MainMenu.cpp).
#pragma once

namespace zandor {

class TZandorF;

// Connects every item, twin and button of the table to its handler, the menus to their
// preparations and the Options menu to its toggles; then leaves the commands still to come disabled.
void WireCommands(TZandorF& window);

} // namespace zandor
