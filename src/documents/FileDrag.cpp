#include "documents/FileDrag.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace zandor {

namespace {

// The local files among what is dragged; addresses of other kinds (web pages) are no files.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return files;
}

} // namespace

TFileDrag::TFileDrag(QWidget* owner) : QObject(owner), FOwner(owner) {
    if (!owner)
        return;
    owner->installEventFilter(this);
    SetEnableDrop(true);
}

TFileDrag::~TFileDrag() {
    if (FOwner) {
        FOwner->removeEventFilter(this);
        FOwner->setAcceptDrops(false);
    }
}

void TFileDrag::SetEnableDrop(bool value) {
    FEnableDrop = value && FOwner;
    if (FOwner)
        FOwner->setAcceptDrops(FEnableDrop);
}

bool TFileDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FOwner || !FEnableDrop)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (LocalFiles(drag->mimeData()).empty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> files = LocalFiles(drop->mimeData());
        if (files.empty())
            return false;
        drop->acceptProposedAction();
        FFiles = std::move(files);
        FDropPoint = drop->position().toPoint();
        if (OnDrop)
            OnDrop(this);
        return true;
    }
    default:
        return false;
    }
}

} // namespace zandor
