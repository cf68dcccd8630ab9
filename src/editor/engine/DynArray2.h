// A growable array of fixed-size records kept in 32 KB blocks: records never move when the array
// grows, any record is found by one division, and millions of records cost no reallocation storms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace zandor {

// Owns its blocks (allocated uninitialised, freed with the array). Records are raw bytes: the array
// never constructs or destroys them, so a record type must be trivially copyable. Whatever a record
// points to belongs to the derived class that gives the records their meaning.
class TDynArray2 {
public:
    static constexpr int kBlockSize = 32768;

    // Records per block for a given stride; derived from the record size, never typed in.
    static constexpr int PerBlockFor(int stride) { return kBlockSize / stride; }

    // stride >= recSize; both in bytes. stride may round a record up for alignment inside a block.
    TDynArray2(int recSize, int stride);
    ~TDynArray2();
    TDynArray2(const TDynArray2&) = delete;
    TDynArray2& operator=(const TDynArray2&) = delete;

    int16_t RecSize() const { return FRecSize; }
    int16_t Stride() const { return FStride; }
    int16_t PerBlock() const { return FPerBlock; }
    int32_t Count() const { return FCount; }
    int32_t Capacity() const { return FCapacity; }
    int BlockCount() const { return static_cast<int>(FBlocks.size()); }

    // Address of record i; ERangeError "List index out of bounds" when i is not in 0 .. Count-1.
    // Inline: every paragraph access passes here.
    void* Items(int i) {
        if (i < 0 || i >= FCount)
            ThrowRange();
        return At(i);
    }
    const void* Items(int i) const {
        if (i < 0 || i >= FCount)
            ThrowRange();
        return At(i);
    }

    // Keeps enough blocks for n records and at least one block. Never drops a block that still
    // holds a record in use: n below Count counts as Count.
    void SetCapacity(int n);
    // n < 0 counts as 0. Grows the capacity by whole blocks when needed, never shrinks it; new
    // records are left uninitialised. Count changes only once the capacity is in place.
    void SetCount(int n);
    // Appends a copy of RecSize bytes from rec; returns its index. Inline while the capacity lasts:
    // a load appends millions of records one by one.
    int Add(const void* rec) {
        if (FCount >= FCapacity)
            return AddGrowing(rec);
        std::memcpy(At(FCount), rec, static_cast<size_t>(FRecSize));
        return FCount++;
    }
    void PutRec(int i, const void* rec);
    void GetRec(int i, void* out) const;
    // Moves n records from index `from` to index `to` (the ranges may overlap), block by block.
    // Both ranges must lie inside 0 .. Count-1, else ERangeError and nothing moves.
    void MoveRecords(int from, int to, int n);

protected:
    // Unchecked address of record i (0 <= i < Capacity), for loops that already know the bounds.
    std::byte* At(int i) const {
        return FBlocks[static_cast<size_t>(i / FPerBlock)].get() +
               static_cast<size_t>(i % FPerBlock) * FStride;
    }
    // Start of block b, for loops that walk records block by block.
    std::byte* Block(int b) const { return FBlocks[static_cast<size_t>(b)].get(); }
    [[noreturn]] static void ThrowRange();

private:
    int AddGrowing(const void* rec);

    int16_t FRecSize;
    int16_t FStride;
    std::vector<std::unique_ptr<std::byte[]>> FBlocks;
    int32_t FCount = 0;
    int32_t FCapacity = 0;
    int16_t FPerBlock;
};

} // namespace zandor
