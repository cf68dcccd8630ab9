#include "editor/engine/UndoList.h"

#include <algorithm>
#include <utility>

namespace zandor {

void TUndoList::Clear() {
    FRecords.clear();
    FRecords.shrink_to_fit();
    FIndex = 0;
    FTotal = 0;
    FTaken = -1;
}

void TUndoList::RemoveAt(int i) {
    FTotal -= FRecords[static_cast<size_t>(i)].Size();
    FRecords.erase(FRecords.begin() + i);
    if (i < FIndex)
        --FIndex;
}

// A kept group's records stand next to each other and undo together: they go together, so that no
// step is ever left undone in part.
void TUndoList::RemoveOldest() {
    const int32_t group = FRecords.front().Kept;
    do
        RemoveAt(0);
    while (group != 0 && Count() > 0 && FRecords.front().Kept == group);
}

void TUndoList::RemoveNewest() {
    const int32_t group = FRecords.back().Kept;
    do
        RemoveAt(Count() - 1);
    while (group != 0 && Count() > 0 && FRecords.back().Kept == group);
}

// Redo records go first: they are the ones the user is least likely to want back.
void TUndoList::TrimNewest(int64_t space) {
    while (FTotal > space && Count() > FIndex)
        RemoveNewest();
}

void TUndoList::TrimOldest(int64_t space) {
    while (FTotal > space && FIndex > 0 && !InRecordedGroup(0))
        RemoveOldest();
}

void TUndoList::SetMaxLevel(int value) {
    if (value >= 0) {
        const int keep = std::max(FIndex, value);
        while (Count() > keep)
            RemoveNewest();
        while (value < FIndex)
            RemoveOldest();
    }
    FMaxLevel = value;
}

void TUndoList::SetMaxSpace(int value) {
    if (value > 0) {
        TrimNewest(value);
        while (FTotal > value && Count() > 0)
            RemoveOldest();
    }
    FMaxSpace = value;
}

int TUndoList::BeginChange(int32_t lower, int32_t upper, int32_t caret, int level,
                           const std::function<std::string()>& selectedText) {
    if (FReplaying || FMaxLevel == 0)
        return -1;
    while (Count() > FIndex)
        RemoveAt(Count() - 1);

    bool fresh = upper > lower || FIndex == 0 || FNewGroup;
    if (!fresh) {
        // Typing goes on where the last record stopped: that record grows.
        const TUndoRecord& last = FRecords.back();
        fresh = caret != last.Stop || caret == last.Start || level != last.Level;
    }
    FNewGroup = false;
    if (!fresh)
        return FIndex - 1;

    TUndoRecord record;
    record.Start = lower;
    record.Stop = upper;
    record.Level = level;
    record.Kept = FKeptGroup;
    if (upper > lower)
        record.Text = selectedText();
    while (FMaxLevel > 0 && FIndex >= FMaxLevel && !InRecordedGroup(0))
        RemoveOldest();
    FTotal += record.Size();
    FRecords.push_back(std::move(record));
    ++FIndex;
    if (FMaxSpace > 0) {
        TrimNewest(FMaxSpace);
        TrimOldest(FMaxSpace);
        // The change alone outgrew the space: it is made without a record (a kept group's never is).
        if (FIndex == 0)
            return -1;
    }
    return FIndex - 1;
}

void TUndoList::EndChange(int record, int32_t stop) {
    if (record >= 0 && record < Count())
        FRecords[static_cast<size_t>(record)].Stop = stop;
}

TUndoRecord TUndoList::TakeForUndo() {
    --FIndex;
    FTaken = FIndex;
    FTakenForUndo = true;
    TUndoRecord& slot = FRecords[static_cast<size_t>(FTaken)];
    FTotal -= slot.Size();
    TUndoRecord taken = std::move(slot);
    slot = TUndoRecord();
    return taken;
}

TUndoRecord TUndoList::TakeForRedo() {
    FTaken = FIndex;
    FTakenForUndo = false;
    ++FIndex;
    TUndoRecord& slot = FRecords[static_cast<size_t>(FTaken)];
    FTotal -= slot.Size();
    TUndoRecord taken = std::move(slot);
    slot = TUndoRecord();
    return taken;
}

void TUndoList::PutInverse(TUndoRecord record) {
    FTotal += record.Size();
    FRecords[static_cast<size_t>(FTaken)] = std::move(record);
    FTaken = -1;
}

void TUndoList::CancelTake(TUndoRecord record) {
    PutInverse(std::move(record));
    FIndex += FTakenForUndo ? 1 : -1;
}

bool TUndoList::NextUndoInGroup(int level) const {
    return FIndex > 0 && level != 0 && FRecords[static_cast<size_t>(FIndex - 1)].Level == level;
}

bool TUndoList::NextRedoInGroup(int level) const {
    return FIndex < Count() && level != 0 && FRecords[static_cast<size_t>(FIndex)].Level == level;
}

} // namespace zandor
