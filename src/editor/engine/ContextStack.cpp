#include "editor/engine/ContextStack.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace zandor {

namespace {

// A stack is a chain of nodes from the empty stack (number 0): node n stands for its parent's
// entries followed by one more. Entries past the last non-zero one are left out, so every array
// has exactly one chain. Nodes sit in fixed blocks that never move, so a number once handed out
// can be read without the lock; only making a node takes it.
class TStackTable {
public:
    struct Node {
        uint32_t Parent;
        int16_t Entry;
        uint8_t Length; // entries of the stack this node ends
    };

    const Node& At(uint32_t id) const {
        return FBlocks[id >> kBlockBits].load(std::memory_order_acquire)[id & (kBlockSize - 1)];
    }

    uint32_t Child(uint32_t parent, int16_t entry) {
        // The stacks of keywords standing in no context: one quick slot each.
        if (parent == 0) {
            const uint32_t quick = FRootChild[static_cast<uint16_t>(entry)].load(std::memory_order_acquire);
            if (quick)
                return quick;
        }
        const std::lock_guard<std::mutex> lock(FLock);
        const uint64_t key = static_cast<uint64_t>(parent) << 16 | static_cast<uint16_t>(entry);
        if (const auto found = FChildren.find(key); found != FChildren.end())
            return found->second;
        const uint32_t id = FCount;
        if ((id >> kBlockBits) >= kMaxBlocks)
            throw std::bad_alloc();
        EnsureBlock(id >> kBlockBits);
        Node& node = FBlocks[id >> kBlockBits].load(std::memory_order_relaxed)[id & (kBlockSize - 1)];
        node = Node{parent, entry, static_cast<uint8_t>(At(parent).Length + 1)};
        ++FCount;
        FChildren.emplace(key, id);
        if (parent == 0)
            FRootChild[static_cast<uint16_t>(entry)].store(id, std::memory_order_release);
        return id;
    }

    static TStackTable& Instance() {
        static TStackTable table;
        return table;
    }

private:
    static constexpr uint32_t kBlockBits = 12;
    static constexpr uint32_t kBlockSize = 1u << kBlockBits;
    static constexpr uint32_t kMaxBlocks = 1u << 12;

    TStackTable() {
        EnsureBlock(0);
        FBlocks[0].load()[0] = Node{0, 0, 0};
    }
    void EnsureBlock(uint32_t b) {
        if (FBlocks[b].load(std::memory_order_relaxed))
            return;
        FOwned[b] = std::make_unique<Node[]>(kBlockSize);
        FBlocks[b].store(FOwned[b].get(), std::memory_order_release);
    }

    std::mutex FLock;
    uint32_t FCount = 1;
    std::unordered_map<uint64_t, uint32_t> FChildren;
    std::unique_ptr<std::atomic<uint32_t>[]> FRootChildStore = std::make_unique<std::atomic<uint32_t>[]>(65536);
    std::atomic<uint32_t>* FRootChild = FRootChildStore.get();
    std::unique_ptr<std::atomic<Node*>[]> FBlockStore = std::make_unique<std::atomic<Node*>[]>(kMaxBlocks);
    std::atomic<Node*>* FBlocks = FBlockStore.get();
    std::unique_ptr<std::unique_ptr<Node[]>[]> FOwned = std::make_unique<std::unique_ptr<Node[]>[]>(kMaxBlocks);
};

// Entries of a stack into out[0 .. kStackEntries); returns how many it holds.
int Unpack(uint32_t id, int16_t* out) {
    const TStackTable& table = TStackTable::Instance();
    const int length = table.At(id).Length;
    for (int k = length; k < kStackEntries; ++k)
        out[k] = 0;
    for (int k = length - 1; k >= 0; --k) {
        const TStackTable::Node& node = table.At(id);
        out[k] = node.Entry;
        id = node.Parent;
    }
    return length;
}

uint32_t Pack(const int16_t* entries, int count) {
    while (count > 0 && entries[count - 1] == 0)
        --count;
    TStackTable& table = TStackTable::Instance();
    uint32_t id = 0;
    for (int k = 0; k < count; ++k)
        id = table.Child(id, entries[k]);
    return id;
}

} // namespace

int16_t TContextStack::Get(int d) const {
    uint32_t id = Id();
    if (id == 0 || d < 0 || d >= kStackEntries)
        return 0;
    const TStackTable& table = TStackTable::Instance();
    for (int k = table.At(id).Length - 1; k > d; --k)
        id = table.At(id).Parent;
    const TStackTable::Node& node = table.At(id);
    return node.Length > d ? node.Entry : 0;
}

void TContextStack::Set(int d, int16_t entry) {
    if (d < 0 || d >= kStackEntries)
        return;
    int16_t entries[kStackEntries];
    Unpack(Id(), entries);
    if (entries[d] == entry)
        return;
    entries[d] = entry;
    SetId(Pack(entries, kStackEntries));
}

TContextStack TContextStack::Pushed(const TContextStack& below, int d, int16_t entry) {
    TContextStack result;
    if (d < 0 || d >= kStackEntries)
        return result;
    // The common case, a keyword in no context: one look into the quick slots.
    if (d == 0) {
        result.SetId(entry ? TStackTable::Instance().Child(0, entry) : 0);
        return result;
    }
    int16_t entries[kStackEntries];
    Unpack(below.Id(), entries);
    entries[d] = entry;
    result.SetId(Pack(entries, d + 1));
    return result;
}

} // namespace zandor
