#include "editor/control/MemoContextMenu.h"

#include "editor/control/ArtMemo.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

namespace zandor {

namespace {

struct TItem {
    const char* Caption;
    int Tag;
};

// In menu order; a null caption is a separator.
constexpr TItem kItems[] = {
    {"&Undo", TMemoContextMenu::tagUndo},
    {"&Redo", TMemoContextMenu::tagRedo},
    {nullptr, 0},
    {"Cu&t", TMemoContextMenu::tagCut},
    {"&Copy", TMemoContextMenu::tagCopy},
    {"&Paste", TMemoContextMenu::tagPaste},
    {nullptr, 0},
    {"&Select all", TMemoContextMenu::tagSelectAll},
};

// The tag is kept as the item's data, not as a text number: the window's translation must leave
// these captions as they are.
constexpr const char* kTagKey = "MemoMenuTag";

} // namespace

TMemoContextMenu::TMemoContextMenu(TArtMemo& memo) : FMemo(memo) {}

QMenu* TMemoContextMenu::PopupMenu() const {
    return static_cast<QMenu*>(FPopupMenu.data());
}

void TMemoContextMenu::SetPopupMenu(QMenu* menu) {
    FPopupMenu = menu;
}

int TMemoContextMenu::ItemTag(const QAction* item) {
    return item ? item->property(kTagKey).toInt() : 0;
}

void TMemoContextMenu::Create() {
    if (FMenu)
        return;
    FMenu = new QMenu(&FMemo);
    FMenu->setObjectName(QStringLiteral("MemoContextMenu"));
    for (const TItem& item : kItems) {
        if (!item.Caption) {
            FMenu->addSeparator();
            continue;
        }
        QAction* action = FMenu->addAction(QString::fromLatin1(item.Caption));
        action->setProperty(kTagKey, item.Tag);
        const int tag = item.Tag;
        QObject::connect(action, &QAction::triggered, FMenu, [this, tag] { Run(tag); });
    }
    QObject::connect(FMenu, &QMenu::aboutToShow, FMenu, [this] { Prepare(); });
}

QMenu* TMemoContextMenu::Show(const QPoint& globalPos) {
    QMenu* menu = PopupMenu();
    if (!menu) {
        // An application that builds its menu when asked, the Qt way, is giving the control a menu
        // of its own as well.
        if (FMemo.contextMenuPolicy() == Qt::CustomContextMenu) {
            emit FMemo.customContextMenuRequested(FMemo.mapFromGlobal(globalPos));
            return nullptr;
        }
        if (FMemo.Options().Has(amoNoDefaultPopup))
            return nullptr;
        Create();
        menu = FMenu;
    }
    menu->popup(globalPos);
    return menu;
}

void TMemoContextMenu::Prepare() {
    if (!FMenu)
        return;
    const bool editable = !FMemo.ReadOnly() && !FMemo.DisplayOnly();
    const bool selection = FMemo.SelLength() != 0;
    for (QAction* action : FMenu->actions()) {
        switch (ItemTag(action)) {
        case tagUndo:
            action->setEnabled(FMemo.CanUndo());
            break;
        case tagRedo:
            action->setEnabled(FMemo.CanRedo());
            break;
        case tagCut:
            action->setEnabled(selection && editable);
            break;
        case tagCopy:
            action->setEnabled(selection);
            break;
        case tagPaste:
            action->setEnabled(editable && FMemo.ClipboardHasText());
            break;
        default:
            break;
        }
    }
    if (FMemo.OnInternalPopup)
        FMemo.OnInternalPopup(FMenu);
}

void TMemoContextMenu::Run(int tag) {
    switch (tag) {
    case tagUndo:
        FMemo.Undo();
        FMemo.ScrollInView();
        break;
    case tagRedo:
        FMemo.Redo();
        FMemo.ScrollInView();
        break;
    case tagCut:
        FMemo.CutToClipboard();
        FMemo.ScrollInView();
        break;
    case tagCopy:
        FMemo.CopyToClipboard();
        break;
    case tagPaste:
        FMemo.PasteFromClipboard();
        FMemo.ScrollInView();
        break;
    case tagSelectAll:
        FMemo.SelectAll();
        break;
    default:
        break;
    }
}

} // namespace zandor
