#include "app/ClipboardCommands.h"

#include "app/ZandorF.h"
#include "editor/control/ArtMemo.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include <cstdlib>

namespace zandor {

TClipboardCommands::TClipboardCommands(TZandorF& window) : w_(window) {}

void TClipboardCommands::Wire() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        QObject::connect(clipboard, &QClipboard::dataChanged, &w_, [this] { UpdatePasteItems(); });
    UpdateSelectionItems();
    UpdatePasteItems();
}

void TClipboardCommands::Cut1Click() {
    // A cut is never trimmed: what leaves the text is what goes on the clipboard.
    w_.m->CutToClipboard();
    w_.m->ScrollInView();
}

void TClipboardCommands::Paste1Click() {
    w_.m->PasteFromClipboard();
    w_.m->ScrollInView();
}

void TClipboardCommands::SelectAll1Click() {
    w_.m->SelectAll();
}

void TClipboardCommands::CopySelection() {
    TArtMemo& m = *w_.m;
    if (m.SelLength() == 0)
        return;
    // A column block keeps its shape and its marker; trimming would shift its first and last rows.
    if (!w_.Settings.Trim || m.BlockMode()) {
        m.CopyToClipboard();
        return;
    }
    std::string buffer(static_cast<size_t>(std::abs(m.SelLength())) + 1, '\0');
    buffer.resize(static_cast<size_t>(m.GetSelTextBuf(buffer.data(), static_cast<int32_t>(buffer.size()))));
    PutClipboardText(TrimmedText(buffer));
}

bool TClipboardCommands::PutClipboardText(std::string_view text) {
    return w_.m->PutClipboardText(text);
}

bool TClipboardCommands::ClipboardHasText() {
    return w_.m->ClipboardHasText();
}

void TClipboardCommands::UpdateSelectionItems() {
    const bool selection = w_.m->SelLength() != 0;
    w_.Menu.Cut1->setEnabled(selection);
    w_.Menu.Copy1->setEnabled(selection);
}

void TClipboardCommands::UpdatePasteItems() {
    const bool text = ClipboardHasText();
    w_.Menu.Paste1->setEnabled(text);
    w_.Menu.Paste2->setEnabled(text);
}

} // namespace zandor
