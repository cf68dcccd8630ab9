// The context stack of a run state: sixteen 16-bit entries, stored as a four-byte number of one
// shared table. Run records are the bulk of a highlighted text's memory, and the stacks in a text
// are few and repeat endlessly (a keyword's stack is its own index on top of the context it stands
// in), so each distinct stack is kept once and a record refers to it.
//
// A stack reads like the array it stands for: entry d is what was last put there, 0 when nothing
// was. Equal arrays have equal numbers, so records can still be compared byte for byte. The table
// only grows; it lives as long as the program.
#pragma once

#include <cstdint>
#include <cstring>

namespace zandor {

inline constexpr int kStackEntries = 16;

#pragma pack(push, 1)

class TContextStack {
public:
    constexpr TContextStack() = default;

    int16_t Get(int d) const;
    // Entry d becomes entry; the others stay.
    void Set(int d, int16_t entry);
    // Entries 0 .. d-1 of below, entry at d, nothing above: a context opened on top of below's
    // first d entries.
    static TContextStack Pushed(const TContextStack& below, int d, int16_t entry);

    // The number naming this stack in the table: 0 for the empty stack.
    uint32_t Id() const {
        uint32_t id;
        std::memcpy(&id, FId, sizeof id);
        return id;
    }
    bool operator==(const TContextStack& other) const { return Id() == other.Id(); }

    // Array-like access: stack[d] reads entry d; on a stack that can change, stack[d] = value sets it.
    class TEntry {
    public:
        TEntry(TContextStack& stack, int d) : FStack(stack), FD(d) {}
        operator int16_t() const { return FStack.Get(FD); }
        TEntry& operator=(int16_t value) {
            FStack.Set(FD, value);
            return *this;
        }
        TEntry& operator=(const TEntry& other) { return *this = static_cast<int16_t>(other); }

    private:
        TContextStack& FStack;
        int FD;
    };
    int16_t operator[](int d) const { return Get(d); }
    TEntry operator[](int d) { return TEntry(*this, d); }

private:
    void SetId(uint32_t id) { std::memcpy(FId, &id, sizeof id); }

    // Packed into the run record: bytes, so that the record stays free of alignment.
    uint8_t FId[4] = {};
};

#pragma pack(pop)

static_assert(sizeof(TContextStack) == 4);

} // namespace zandor
