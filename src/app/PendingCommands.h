// Commands whose features are not part of the program yet, in one table: their menu items (with
// their context-menu twins) and buttons stay disabled whatever a menu's preparation says, so that
// nothing offers to do what it cannot do yet. When a feature lands, its rows leave the table. Items
// that would open a web address the project keeps no page for are hidden (see WebAddresses.h).
#pragma once

#include <QKeyCombination>

class QAction;
class QPushButton;

namespace zandor {

class TZandorF;

// Disables the pending items through one disabled action group (an item of a disabled group stays
// disabled when its menu's preparation enables it) and the pending buttons, and hides the items
// whose web address is empty.
void ApplyPendingCommands(TZandorF& window);

// False for an item or button whose command is still to come; the window asks before it enables a
// button.
bool CommandBuilt(const TZandorF& window, const QAction* item);
bool CommandBuilt(const TZandorF& window, const QPushButton* button);

// True for the key of a command still to come: the editor would take it for a key of its own (Ctrl+P
// would type a page break where the user asked to print), so the window swallows it. The keys of
// the clipboard commands and of Select All stay with the editor, which does the same with them.
bool PendingCommandKey(const TZandorF& window, QKeyCombination key);

} // namespace zandor
