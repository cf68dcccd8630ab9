#include "app/ArtLook.h"

#include "app/ConfigSaver.h"
#include "documents/SauceRecord.h"

#include <QAction>
#include <QMenu>

#include <exception>

namespace zandor {

TArtLook::TArtLook(QMenu& options, TConfigSaver* store, std::function<void()> apply)
    : FStore(store), FApply(std::move(apply)) {
    ArtMenu = options.addMenu(QStringLiteral("Art"));
    ArtMenu->setObjectName(QStringLiteral("Art1"));
    NineDots = ArtMenu->addAction(QStringLiteral("9-dot cells"));
    NineDots->setObjectName(QStringLiteral("NineDotCells1"));
    DosAspect = ArtMenu->addAction(QStringLiteral("DOS aspect ratio"));
    DosAspect->setObjectName(QStringLiteral("DosAspect1"));
    for (QAction* item : {NineDots, DosAspect})
        item->setCheckable(true);
    QObject::connect(NineDots, &QAction::triggered, ArtMenu, [this](bool on) {
        platform::TScreenCells cells = FChosen;
        cells.NineDots = on;
        Choose(cells);
    });
    QObject::connect(DosAspect, &QAction::triggered, ArtMenu, [this](bool on) {
        platform::TScreenCells cells = FChosen;
        cells.DosAspect = on;
        Choose(cells);
    });
    Show();
}

platform::TScreenCells TArtLook::For(const TSauceRecord* sauce) const {
    return sauce ? SauceCells(*sauce, FChosen) : FChosen;
}

void TArtLook::Load() {
    FChosen.NineDots = Read("NineDotCells");
    FChosen.DosAspect = Read("DosAspect");
    Show();
    if (FApply)
        FApply();
}

void TArtLook::Choose(platform::TScreenCells cells) {
    FChosen = cells;
    Show();
    if (FStore) {
        try {
            TConfigSaver::WriteBatch batch(*FStore);
            FStore->WriteBool("Options", "NineDotCells", cells.NineDots);
            FStore->WriteBool("Options", "DosAspect", cells.DosAspect);
            batch.Commit();
        } catch (const std::exception&) {
            // The choice holds for this session; the settings report tells of unwritable settings.
        }
    }
    if (FApply)
        FApply();
}

bool TArtLook::Read(const char* key) const {
    if (!FStore)
        return false;
    try {
        return FStore->ReadBool("Options", key, false);
    } catch (const std::exception&) {
        return false;
    }
}

void TArtLook::Show() {
    NineDots->setChecked(FChosen.NineDots);
    DosAspect->setChecked(FChosen.DosAspect);
}

} // namespace zandor
