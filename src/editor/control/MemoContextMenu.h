// The editor control's context menu: the one the application assigns, or else a small menu of the
// control's own with Undo, Redo, Cut, Copy, Paste and Select all, enabled by what can be done now.
#pragma once

#include <QPointer>

class QAction;
class QMenu;
class QPoint;

namespace zandor {

class TArtMemo;

// Refers to the control it serves (which owns it) and to the assigned menu (the application's; it
// is forgotten when destroyed). The built-in menu is created on first use as a child of the
// control, which owns it.
class TMemoContextMenu {
public:
    // The item tags; separators carry 0.
    enum TTag {
        tagUndo = 100,
        tagRedo = 101,
        tagCut = 102,
        tagCopy = 103,
        tagPaste = 104,
        tagSelectAll = 105
    };

    explicit TMemoContextMenu(TArtMemo& memo);
    TMemoContextMenu(const TMemoContextMenu&) = delete;
    TMemoContextMenu& operator=(const TMemoContextMenu&) = delete;

    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu);
    // Null until it was first needed.
    QMenu* BuiltInMenu() const { return FMenu; }

    // Opens the assigned menu at a screen position; else asks for the application's menu when the
    // control's context menu policy is custom; else, unless amoNoDefaultPopup, opens the built-in
    // one. Returns the menu opened (null: none or the application's).
    QMenu* Show(const QPoint& globalPos);
    // Enables the built-in items as things stand, then OnInternalPopup (done as the menu opens).
    void Prepare();
    // The action of the item with this tag.
    void Run(int tag);
    // The tag of one of the built-in menu's items (0 for anything else).
    static int ItemTag(const QAction* item);

private:
    void Create();

    TArtMemo& FMemo;
    QPointer<QObject> FPopupMenu; // a QMenu
    QMenu* FMenu = nullptr;
};

} // namespace zandor
