// The document's file as another program changes it: read again, asked about, or said to be gone,
// and never written over unasked.
#include "documents/Documents.h"

#include "editor/control/ArtMemo.h"
#include "host/ZandorHost.h"
#include "platform/FileSystem.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QString>

#include <algorithm>
#include <utility>

namespace zandor {

namespace {

QString QuotedName(const std::string& path) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(platform::FileNameOf(path)));
}

} // namespace

bool TDocuments::DiskChanged(const platform::TFileStamp& now) {
    const std::string path = disk_.Path();
    if (path.empty() || path != host_.DocumentFile())
        return true;
    // Only from the event loop itself: never inside a load, a box, a menu or an edit that lets the
    // loop run between its slices (a long Replace All), whose text must not change under it.
    if (loading_ || QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        host_.Editor().UpdateLevel() > 0)
        return false;
    if (!now.Exists) {
        host_.ShowPlainMessage(QuotedName(path).toStdString() +
                               " is no longer there: another program deleted or moved it. Its text stays "
                               "in the window, and Save writes the file again.");
    } else if (!host_.IsDocumentModified()) {
        ReloadFromDisk();
    } else {
        const QString question =
            QuotedName(path) + QStringLiteral(" was changed by another program, and the text here has "
                                              "changes that are not saved.\n\nReload the file as it is "
                                              "now and lose those changes? (No keeps the text here.)");
        if (host_.Ask(question, false) == TAnswer::Yes)
            ReloadFromDisk();
    }
    return true;
}

void TDocuments::ReloadFromDisk() {
    TArtMemo& editor = host_.Editor();
    const int32_t line = editor.SelLine();
    const int32_t top = editor.TopLine();
    reloading_ = true;
    const bool read = LoadFile(host_.DocumentFile());
    reloading_ = false;
    if (!read)
        return;
    // Scripts that drive the window see the new text arrive.
    platform::Trace("reloaded: " + host_.DocumentFile());
    editor.SetSelLine(std::min(line, std::max(0, editor.LineCount() - 1)));
    editor.SetTopLine(top);
}

bool TDocuments::ConfirmOverwriteChange(const std::string& path) {
    if (path != disk_.Path() || !disk_.Known().Exists)
        return true;
    const platform::TFileStamp now = platform::StampOf(path);
    // Gone: written again, as the notice said.
    if (!now.Exists || platform::SameFileState(now, disk_.Known()))
        return true;
    const QString question = QuotedName(path) + QStringLiteral(" was changed by another program since "
                                                               "Zandor read or saved it.\n\nSave the text "
                                                               "here over that change?");
    // Answered, the change counts as shown: the watch does not report it on its own.
    disk_.MarkSeen(now);
    return host_.Ask(question, false) == TAnswer::Yes;
}

} // namespace zandor
