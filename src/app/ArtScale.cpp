#include "app/ArtScale.h"

#include "app/ConfigSaver.h"

#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <exception>

namespace zandor {

QSize ScaledWindowSize(QSize stored, int scale, QSize workArea) {
    scale = std::clamp(scale, 1, kMaxArtScale);
    QSize size(stored.width() * scale, stored.height() * scale);
    if (workArea.isValid())
        size = size.boundedTo(workArea.expandedTo(stored));
    return size;
}

QSize UnscaledWindowSize(QSize shown, int scale) {
    scale = std::clamp(scale, 1, kMaxArtScale);
    return QSize((shown.width() + scale / 2) / scale, (shown.height() + scale / 2) / scale);
}

TArtScale::TArtScale(QMenu& options, TConfigSaver* store, std::function<void(int)> apply)
    : FStore(store), FApply(std::move(apply)) {
    ScaleMenu = options.addMenu(QStringLiteral("Art Scale"));
    ScaleMenu->setObjectName(QStringLiteral("ArtScale1"));
    auto* group = new QActionGroup(ScaleMenu);
    for (int scale = 1; scale <= kMaxArtScale; ++scale) {
        QAction* item = ScaleMenu->addAction(QStringLiteral("\u00D7%1").arg(scale));
        item->setObjectName(QStringLiteral("ArtScale%1x").arg(scale));
        item->setCheckable(true);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, ScaleMenu, [this, scale] { Choose(scale); });
        Items[size_t(scale - 1)] = item;
    }
    Show();
}

void TArtScale::Load() {
    int scale = 1;
    if (FStore) {
        try {
            scale = FStore->ReadInteger("Options", "ArtScale", 1);
        } catch (const std::exception&) {
            scale = 1;
        }
    }
    FScale = scale >= 1 && scale <= kMaxArtScale ? scale : 1;
    Show();
    if (FApply)
        FApply(FScale);
}

void TArtScale::Choose(int scale) {
    FScale = std::clamp(scale, 1, kMaxArtScale);
    Show();
    if (FStore) {
        try {
            FStore->WriteInteger("Options", "ArtScale", FScale);
        } catch (const std::exception&) {
            // The choice holds for this session; the settings report tells of unwritable settings.
        }
    }
    if (FApply)
        FApply(FScale);
}

void TArtScale::Show() {
    for (int scale = 1; scale <= kMaxArtScale; ++scale)
        Items[size_t(scale - 1)]->setChecked(scale == FScale);
}

} // namespace zandor
