// The run array of one paragraph: a growable array of run records, much like a vector, except
// that its first buffer may be lent to it. A paragraph extension is allocated together with room
// for the runs it is about to get (ExtendPar with a room), so highlighting a fresh paragraph costs
// one allocation instead of two. A lent buffer is never freed by the array; once the runs outgrow
// it they move to a buffer of their own. Iterators are plain pointers.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>

namespace zandor {

template <class T> class TLentArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memmove");

public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    TLentArray() = default;
    // Starts empty on `capacity` elements of lent memory that outlives the array.
    TLentArray(T* lent, uint32_t capacity)
        : FData(capacity ? lent : nullptr), FCapacity(capacity), FLent(1) {}
    ~TLentArray() { FreeOwn(); }
    TLentArray(const TLentArray& other) { assign(other.begin(), other.end()); }
    TLentArray& operator=(const TLentArray& other) {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    TLentArray& operator=(std::initializer_list<T> list) {
        assign(list.begin(), list.end());
        return *this;
    }

    size_t size() const { return FSize; }
    size_t capacity() const { return FCapacity; }
    bool empty() const { return FSize == 0; }
    T* data() { return FData; }
    const T* data() const { return FData; }
    T* begin() { return FData; }
    T* end() { return FData + FSize; }
    const T* begin() const { return FData; }
    const T* end() const { return FData + FSize; }
    T& operator[](size_t i) { return FData[i]; }
    const T& operator[](size_t i) const { return FData[i]; }
    T& front() { return FData[0]; }
    T& back() { return FData[FSize - 1]; }
    const T& front() const { return FData[0]; }
    const T& back() const { return FData[FSize - 1]; }

    void reserve(size_t n) {
        if (n > FCapacity)
            Reallocate(n);
    }
    void clear() { FSize = 0; }
    // New elements are zeroed.
    void resize(size_t n) {
        reserve(n);
        if (n > FSize)
            std::memset(static_cast<void*>(FData + FSize), 0, (n - FSize) * sizeof(T));
        FSize = static_cast<uint32_t>(n);
    }
    void push_back(const T& value) { insert(end(), value); }
    T* insert(const T* pos, const T& value) {
        const size_t at = static_cast<size_t>(pos - FData);
        const T copy = value; // value may live in this array
        Grow(1);
        CountMoved(FSize - at);
        std::memmove(static_cast<void*>(FData + at + 1), FData + at, (FSize - at) * sizeof(T));
        FData[at] = copy;
        ++FSize;
        return FData + at;
    }
    T* erase(const T* pos) { return erase(pos, pos + 1); }
    T* erase(const T* first, const T* last) {
        const size_t from = static_cast<size_t>(first - FData), to = static_cast<size_t>(last - FData);
        if (to < FSize) {
            CountMoved(FSize - to);
            std::memmove(static_cast<void*>(FData + from), FData + to, (FSize - to) * sizeof(T));
        }
        FSize -= static_cast<uint32_t>(to - from);
        return FData + from;
    }
    // [first, last) may be a part of this array's own elements.
    void assign(const T* first, const T* last) {
        const size_t n = static_cast<size_t>(last - first);
        FSize = 0;
        reserve(n);
        CountMoved(n);
        if (n)
            std::memmove(static_cast<void*>(FData), first, n * sizeof(T));
        FSize = static_cast<uint32_t>(n);
    }
    template <class Pred> void erase_if(Pred pred) {
        T* kept = std::remove_if(begin(), end(), pred);
        FSize = static_cast<uint32_t>(kept - FData);
    }

    // The elements that arrays of this type moved aside to make or close room, or copied into a
    // new buffer or from another array, since the program started. Appending moves none, so a
    // piece of work that only appends counts nothing; tests read it to tell work that grows with
    // the elements touched from work that grows with all the elements there are.
    static uint64_t Moved() { return FMoved.load(std::memory_order_relaxed); }

private:
    static void CountMoved(size_t n) {
        if (n)
            FMoved.fetch_add(n, std::memory_order_relaxed);
    }
    inline static std::atomic<uint64_t> FMoved{0};

    void Grow(size_t more) {
        if (FSize + more > FCapacity)
            Reallocate(std::max<size_t>({FSize + more, 2 * static_cast<size_t>(FCapacity), 4}));
    }
    void Reallocate(size_t n) {
        if (n > UINT32_MAX >> 1)
            throw std::bad_alloc();
        T* fresh = static_cast<T*>(std::malloc(n * sizeof(T)));
        if (!fresh)
            throw std::bad_alloc();
        CountMoved(FSize);
        if (FSize)
            std::memcpy(static_cast<void*>(fresh), FData, FSize * sizeof(T));
        FreeOwn();
        FData = fresh;
        FCapacity = static_cast<uint32_t>(n);
        FLent = 0;
    }
    void FreeOwn() {
        if (!FLent)
            std::free(FData);
    }

    T* FData = nullptr;
    uint32_t FSize = 0;
    uint32_t FCapacity : 31 = 0;
    uint32_t FLent : 1 = 0; // FData is lent memory (or null)
};

} // namespace zandor
