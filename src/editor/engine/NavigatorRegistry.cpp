#include "editor/engine/NavigatorRegistry.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"

#include <algorithm>

namespace zandor {

TNavigatorRegistry::TNavigatorRegistry() = default;

TNavigatorRegistry::~TNavigatorRegistry() {
    // Detach everyone first: navigators owned elsewhere may outlive the control, and the adopted
    // ones freed below must not come back to a half-torn list.
    for (TArtNavigator* navigator : FList) {
        navigator->FRegistered = false;
        navigator->FRegistryIndex = -1;
        navigator->FMemo = nullptr;
        navigator->Invalidate();
    }
    FList.clear();
    FOwned.clear();
}

void TNavigatorRegistry::Add(TArtNavigator* navigator) {
    navigator->FRegistryIndex = static_cast<int>(FList.size());
    navigator->FRegistered = true;
    FList.push_back(navigator);
}

void TNavigatorRegistry::Remove(TArtNavigator* navigator) {
    const auto i = static_cast<size_t>(navigator->FRegistryIndex);
    if (!navigator->FRegistered || i >= FList.size() || FList[i] != navigator)
        return;
    FList[i] = FList.back();
    FList[i]->FRegistryIndex = static_cast<int>(i);
    FList.pop_back();
    navigator->FRegistered = false;
    navigator->FRegistryIndex = -1;
    std::replace(FDoomed.begin(), FDoomed.end(), navigator, static_cast<TArtNavigator*>(nullptr));
}

TArtNavigator* TNavigatorRegistry::Adopt(std::unique_ptr<TArtNavigator> navigator) {
    const auto i = static_cast<size_t>(navigator->FRegistryIndex);
    if (!navigator->FRegistered || i >= FList.size() || FList[i] != navigator.get())
        throw EInternalError();
    navigator->FAdopted = true;
    FOwned.push_back(std::move(navigator));
    return FOwned.back().get();
}

void TNavigatorRegistry::AdjustAfterReplace(const TReplacedRange& range, const TArtNavigator& selStart,
                                            const TArtNavigator& selEnd) {
    std::vector<TArtNavigator*> doomed;
    for (TArtNavigator* nav : FList) {
        if (nav == &selStart || nav == &selEnd)
            continue;
        const int32_t pos = nav->FPos;
        if (pos > range.OldEnd) {
            nav->FPos = pos + range.LengthDelta;
            nav->FEndsLine = false;
            if (!nav->FPar)
                continue;
            const int32_t oldPar = nav->FParNb;
            if (oldPar < range.OldLastPar) {
                nav->Invalidate(); // its cache contradicted its position; resolve afresh
                continue;
            }
            nav->PointAt(oldPar + range.ParDelta);
            if (oldPar == range.OldLastPar) {
                nav->FRunIndex = nav->FLineIndex = -1;
                nav->FParOffset = nav->FPos - nav->FPar->Start;
                if (nav->FParOffset < 0 || nav->FParOffset > ParLength(*nav->FPar) + 1)
                    nav->Invalidate();
            }
        } else if (pos >= range.OldStart) {
            const bool inside = nav->StickToEnd ? pos < range.OldEnd : range.OldStart < pos;
            if (nav->FreeWithText && inside)
                doomed.push_back(nav);
            else
                nav->Assign(nav->StickToEnd ? selEnd : selStart);
        } else if (nav->FPar) {
            // Before the change its paragraph index holds, but the record of the first changed
            // paragraph may carry a new line table.
            nav->PointAt(nav->FParNb);
            if (nav->FParNb == range.FirstPar) {
                nav->FLineIndex = -1;
                nav->FEndsLine = false; // its line may end elsewhere now
            }
        }
    }
    // OnFree handlers run from here on and may destroy navigators still waiting; Remove clears
    // their entries.
    FDoomed = std::move(doomed);
    for (size_t i = 0; i < FDoomed.size(); ++i) {
        TArtNavigator* nav = FDoomed[i];
        if (!nav)
            continue;
        FDoomed[i] = nullptr;
        Dispose(nav);
    }
    FDoomed.clear();
}

void TNavigatorRegistry::Dispose(TArtNavigator* navigator) {
    if (navigator->FAdopted) {
        auto it = std::find_if(FOwned.begin(), FOwned.end(),
                               [navigator](const auto& owned) { return owned.get() == navigator; });
        if (it != FOwned.end()) {
            std::unique_ptr<TArtNavigator> gone = std::move(*it);
            FOwned.erase(it);
            return; // its destructor leaves the list and runs OnFree
        }
    }
    // Owned elsewhere: it leaves the text, and its owner hears of it through OnFree (once).
    Remove(navigator);
    navigator->FMemo = nullptr;
    navigator->Invalidate();
    auto onFree = std::move(navigator->OnFree);
    navigator->OnFree = nullptr;
    if (onFree)
        onFree(navigator);
}

void TNavigatorRegistry::InvalidateNavigators(int32_t fromPos, int32_t toPar) {
    for (TArtNavigator* nav : FList)
        if (nav->FPar && nav->FPos >= fromPos && nav->FParNb <= toPar)
            nav->FRunIndex = nav->FLineIndex = -1;
}

void TNavigatorRegistry::InvalidateLines(int32_t fromPar, int32_t toPar) {
    for (TArtNavigator* nav : FList)
        if (nav->FPar && nav->FParNb >= fromPar && nav->FParNb <= toPar)
            nav->FLineIndex = -1;
}

void TNavigatorRegistry::InvalidateAll() {
    for (TArtNavigator* nav : FList)
        nav->FRunIndex = nav->FLineIndex = -1;
}

void TNavigatorRegistry::ResetAll() {
    for (TArtNavigator* nav : FList) {
        nav->Invalidate();
        nav->FPos = 0;
    }
}

} // namespace zandor
