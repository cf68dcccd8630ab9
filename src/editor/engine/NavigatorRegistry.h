// The list of navigators that walk one control's text, and the one place where they are moved when
// the text changes under them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zandor {

class TArtNavigator;

// What a replacement did, in the terms the navigators need. Positions and paragraph indexes are
// those from before the replacement.
struct TReplacedRange {
    int32_t OldStart = 0;    // first replaced position (a)
    int32_t OldEnd = 0;      // position after the replaced text (e)
    int32_t LengthDelta = 0; // change of the text length (d)
    int32_t FirstPar = 0;    // paragraph of OldStart (its index does not change)
    int32_t OldLastPar = 0;  // paragraph of OldEnd
    int32_t ParDelta = 0;    // change of the paragraph count
};

// Refers to every navigator registered with the control (they register themselves when created
// for it) and owns those handed to it with Adopt. When it ends, every registered navigator is
// detached from the control and the adopted ones are freed.
class TNavigatorRegistry {
public:
    TNavigatorRegistry();
    ~TNavigatorRegistry();
    TNavigatorRegistry(const TNavigatorRegistry&) = delete;
    TNavigatorRegistry& operator=(const TNavigatorRegistry&) = delete;

    int Count() const { return static_cast<int>(FList.size()); }
    TArtNavigator* operator[](int i) const { return FList[static_cast<size_t>(i)]; }

    // Takes ownership of a navigator registered here; returns it for the caller to keep referring
    // to. Adopted navigators are the ones a deletion may destroy (FreeWithText).
    TArtNavigator* Adopt(std::unique_ptr<TArtNavigator> navigator);

    // After a text replacement: moves every registered navigator except the two selection ends,
    // which already stand at the start and at the end of the new text and lend their state to the
    // navigators that stood inside the replaced text. Navigators with FreeWithText inside a
    // deleted range are destroyed when adopted, otherwise detached; their OnFree runs either way.
    void AdjustAfterReplace(const TReplacedRange& range, const TArtNavigator& selStart,
                            const TArtNavigator& selEnd);
    // Forget cached run and line indexes of navigators at or after fromPos up to paragraph toPar
    // (after highlighting changed runs there).
    void InvalidateNavigators(int32_t fromPos, int32_t toPar);
    // Forget cached line indexes in paragraphs fromPar .. toPar (after they were laid out again).
    void InvalidateLines(int32_t fromPar, int32_t toPar);
    // Forget cached run and line indexes everywhere.
    void InvalidateAll();
    // Every navigator to position 0 (the whole text was replaced by a load).
    void ResetAll();

private:
    friend class TArtNavigator;
    void Add(TArtNavigator* navigator);
    void Remove(TArtNavigator* navigator);
    void Dispose(TArtNavigator* navigator);

    std::vector<TArtNavigator*> FList;
    std::vector<std::unique_ptr<TArtNavigator>> FOwned;
    // Navigators waiting to be disposed of while OnFree handlers run; entries of navigators that a
    // handler destroyed meanwhile are cleared.
    std::vector<TArtNavigator*> FDoomed;
};

} // namespace zandor
