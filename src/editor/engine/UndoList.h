// The undo list of an editor control: what each change removed, where it put its text, and the
// update level it was made at, which groups records into undo steps. The records and their limits
// live here; the editor replays them through its one replace operation.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zandor {

// One change. Undoing it puts Text back in place of Start .. Stop; a record that was undone holds
// the text that redoing it puts back.
struct TUndoRecord {
    int32_t Start = 0; // lower end of the change
    int32_t Stop = 0;  // just after the text the change put in place
    int32_t Level = 0; // update level of the change: records of one bracket undo together
    int32_t Kept = 0;  // non-zero: one of the records of a kept group (TUndoList::TKeptGroup)
    std::string Text;  // the text the change removed (empty when it only inserted)

    // What the record counts toward UndoMaxSpace: three integers, the text and its terminator.
    int64_t Size() const { return 13 + static_cast<int64_t>(Text.size()); }
};

// Owns its records. Records below Index() can be undone, records from Index() on redone.
class TUndoList {
public:
    static constexpr int kDefaultMaxLevel = 65536;
    static constexpr int kDefaultMaxSpace = 4194304;

    TUndoList() = default;
    TUndoList(const TUndoList&) = delete;
    TUndoList& operator=(const TUndoList&) = delete;

    int Count() const { return static_cast<int>(FRecords.size()); }
    int Index() const { return FIndex; }
    const TUndoRecord& operator[](int i) const { return FRecords[static_cast<size_t>(i)]; }
    // The sum of the records' sizes.
    int64_t TotalSize() const { return FTotal; }

    // Undoable records at most; 0 = nothing is recorded, negative = no limit. Setting it trims.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int value);
    // Bytes of records at most; 0 or negative = no limit. Setting it trims.
    int MaxSpace() const { return FMaxSpace; }
    void SetMaxSpace(int value);

    // Set by caret moves, selection changes, clicks and pastes: the next typed text starts a record
    // of its own instead of extending the last one.
    bool NewGroup() const { return FNewGroup; }
    void StartNewGroup() { FNewGroup = true; }

    // While an Undo or Redo replays records, changes are not recorded.
    bool Replaying() const { return FReplaying; }
    void SetReplaying(bool value) { FReplaying = value; }

    // While a replay runs, the record being replayed is counted out already.
    bool CanUndo() const { return FIndex >= (FReplaying ? 2 : 1); }
    bool CanRedo() const { return FReplaying ? FIndex <= Count() : FIndex < Count(); }

    // Frees every record.
    void Clear();

    // While it lives, the changes recorded form a group the limits do not trim: older records go as
    // usual to make room, but the group stays whole however large it is, even when it alone exceeds
    // the space limit, so that one Undo takes back an operation of any size. Once it has ended the
    // group is an ordinary newest step; the next change recorded trims it in the ordinary way,
    // except that it always goes as a whole, never in part.
    class TKeptGroup {
    public:
        explicit TKeptGroup(TUndoList& list) : FList(list), FOuter(list.FKeptGroup) {
            if (FOuter == 0)
                FList.FKeptGroup = ++FList.FLastKeptGroup;
        }
        ~TKeptGroup() { FList.FKeptGroup = FOuter; }
        TKeptGroup(const TKeptGroup&) = delete;
        TKeptGroup& operator=(const TKeptGroup&) = delete;

    private:
        TUndoList& FList;
        int32_t FOuter;
    };

    // Before a change of lower .. upper (upper > lower: a selection is replaced) with the caret at
    // caret, made at update level `level`: drops the redo records and returns the index of the
    // record whose Stop the change will set, a new one or the last one when typing goes on where it
    // stopped; -1 when the change is not recorded (no undo, or the record alone outgrows the space
    // limit, which also drops every older record). selectedText is asked for only when a new
    // record is made.
    int BeginChange(int32_t lower, int32_t upper, int32_t caret, int level,
                    const std::function<std::string()>& selectedText);
    // After the change: the record's Stop is the new upper end.
    void EndChange(int record, int32_t stop);

    // ---- replaying (the editor's Undo and Redo)
    // Takes the record an Undo replays next (below the index) out of the list, lowering the index;
    // its place stays for the inverse record.
    TUndoRecord TakeForUndo();
    // Takes the record a Redo replays next (at the index) out of the list, raising the index.
    TUndoRecord TakeForRedo();
    // Puts the inverse of a replayed record into the place it was taken from.
    void PutInverse(TUndoRecord record);
    // Puts a record whose replay failed back, with the index where it was.
    void CancelTake(TUndoRecord record);
    // Whether the replay goes on after a record of `level`: the next record in the replay's
    // direction belongs to the same bracket.
    bool NextUndoInGroup(int level) const;
    bool NextRedoInGroup(int level) const;

private:
    void RemoveAt(int i);
    // The oldest record, or the newest, with the rest of its kept group.
    void RemoveOldest();
    void RemoveNewest();
    // Whether record i belongs to the kept group being recorded.
    bool InRecordedGroup(int i) const {
        return FKeptGroup != 0 && FRecords[static_cast<size_t>(i)].Kept == FKeptGroup;
    }
    void TrimNewest(int64_t space);
    void TrimOldest(int64_t space);

    std::vector<TUndoRecord> FRecords;
    int FIndex = 0;
    int64_t FTotal = 0;
    int FMaxLevel = kDefaultMaxLevel;
    int FMaxSpace = kDefaultMaxSpace;
    bool FNewGroup = false;
    bool FReplaying = false;
    int32_t FKeptGroup = 0; // the kept group being recorded; 0: none
    int32_t FLastKeptGroup = 0;
    // The slot PutInverse fills, and whether an Undo took it.
    int FTaken = -1;
    bool FTakenForUndo = false;
};

} // namespace zandor
