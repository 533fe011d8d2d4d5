#pragma once

#include "model/KeySlotIndex.h"

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A map from 16-bit keys to owned records that enumerates in a fixed order:
// 17 buckets, a key lives in bucket (key / 16) mod 17, buckets are visited in
// ascending order and, inside a bucket, the entry inserted last comes first.
// The project file and Build All depend on this order.
//
// Each bucket is a doubly linked list of slots and an index finds a key's slot,
// so lookup, insert, replacement and removal take constant time however many
// keys share a bucket. Records live in the slots, which are allocated in blocks
// and never move: a borrowed pointer stays valid until its key is removed (a
// replaced key keeps its slot, so the pointer then shows the new record).
template <typename T> class CBucketMap {
public:
    static constexpr int kBucketCount = 17;

    CBucketMap() { ClearLinks(); }
    CBucketMap(CBucketMap&& other) noexcept : CBucketMap() { Swap(other); }
    CBucketMap& operator=(CBucketMap&& other) noexcept {
        if (this != &other) {
            RemoveAll();
            Swap(other);
        }
        return *this;
    }
    // Deep copy: the copy owns copies of every record, in the same order.
    CBucketMap(const CBucketMap& other) : CBucketMap() { CopyFrom(other); }
    CBucketMap& operator=(const CBucketMap& other) {
        if (this != &other) {
            CBucketMap copy(other);
            Swap(copy);
        }
        return *this;
    }

    static int BucketOf(uint16_t key) { return (key / 16) % kBucketCount; }

    // Stores the record under the key, first in its bucket; a record already
    // there is deleted.
    T* SetAt(uint16_t key, T record) { return Store(key, std::move(record), Place::First); }
    T* SetAt(uint16_t key, std::unique_ptr<T> record) { return SetAt(key, std::move(*record)); }

    // Stores the record under the key, last in its bucket; a record already
    // there is deleted. Adding a file's entries in file order with this gives
    // the same order as adding them from the back with SetAt.
    T* SetLast(uint16_t key, T record) { return Store(key, std::move(record), Place::Last); }

    // The borrowed record under the key, or nullptr.
    T* Lookup(uint16_t key) const {
        const uint32_t slot = m_index.Find(key);
        return slot == KeySlotIndex::kAbsent ? nullptr : &NodeAt(slot).record;
    }

    // Deletes the record under the key; returns false when there was none.
    bool RemoveKey(uint16_t key) {
        const uint32_t slot = m_index.Find(key);
        if (slot == KeySlotIndex::kAbsent)
            return false;
        Unlink(slot);
        m_index.Erase(key);
        Node& node = NodeAt(slot);
        node.record = T{}; // gives back what the record owns now, not when the slot is reused
        node.next = m_free;
        m_free = slot;
        --m_count;
        return true;
    }

    // Deletes every record and gives back the memory of the slots.
    void RemoveAll() {
        std::vector<std::unique_ptr<Node[]>>().swap(m_blocks);
        m_index.Clear();
        ClearLinks();
    }

    // Makes room for count records in all, so that adding them does not grow
    // the block list again and again.
    void Reserve(size_t count) { m_blocks.reserve((count + kBlockSize - 1) / kBlockSize); }

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Calls f(key, record&) for every entry in enumeration order. f must not
    // add or remove keys.
    template <typename F> void ForEach(F&& f) const {
        for (uint32_t head : m_heads)
            for (uint32_t s = head; s != kNone; s = NodeAt(s).next)
                f(NodeAt(s).key, NodeAt(s).record);
    }

    // Keys in enumeration order.
    std::vector<uint16_t> Keys() const {
        std::vector<uint16_t> keys;
        keys.reserve(m_count);
        ForEach([&](uint16_t k, const T&) { keys.push_back(k); });
        return keys;
    }

private:
    static constexpr uint32_t kNone = KeySlotIndex::kAbsent;
    // Slots per block: small maps (a handful of registration records) stay
    // small, big ones need a thousand blocks for the whole key space.
    static constexpr uint32_t kBlockShift = 6;
    static constexpr uint32_t kBlockSize = 1u << kBlockShift;

    enum class Place { First, Last };

    // A slot: in use when the index names it; free slots are chained through
    // next.
    struct Node {
        T record{};
        uint32_t prev = kNone;
        uint32_t next = kNone;
        uint16_t key = 0;
    };

    Node& NodeAt(uint32_t slot) const {
        return m_blocks[slot >> kBlockShift][slot & (kBlockSize - 1)];
    }

    T* Store(uint16_t key, T&& record, Place place) {
        uint32_t slot = m_index.Find(key);
        if (slot == KeySlotIndex::kAbsent) {
            slot = TakeSlot();
            m_index.Set(key, slot);
            ++m_count;
        } else {
            Unlink(slot);
        }
        Node& node = NodeAt(slot);
        node.key = key;
        node.record = std::move(record);
        if (place == Place::First)
            LinkFirst(slot);
        else
            LinkLast(slot);
        return &node.record;
    }

    uint32_t TakeSlot() {
        if (m_free != kNone) {
            const uint32_t slot = m_free;
            m_free = NodeAt(slot).next;
            return slot;
        }
        if (m_used == m_blocks.size() * kBlockSize)
            m_blocks.push_back(std::make_unique<Node[]>(kBlockSize));
        return m_used++;
    }

    void LinkFirst(uint32_t slot) {
        Node& node = NodeAt(slot);
        const int bucket = BucketOf(node.key);
        node.prev = kNone;
        node.next = m_heads[bucket];
        if (node.next != kNone)
            NodeAt(node.next).prev = slot;
        else
            m_tails[bucket] = slot;
        m_heads[bucket] = slot;
    }

    void LinkLast(uint32_t slot) {
        Node& node = NodeAt(slot);
        const int bucket = BucketOf(node.key);
        node.next = kNone;
        node.prev = m_tails[bucket];
        if (node.prev != kNone)
            NodeAt(node.prev).next = slot;
        else
            m_heads[bucket] = slot;
        m_tails[bucket] = slot;
    }

    void Unlink(uint32_t slot) {
        Node& node = NodeAt(slot);
        const int bucket = BucketOf(node.key);
        if (node.prev != kNone)
            NodeAt(node.prev).next = node.next;
        else
            m_heads[bucket] = node.next;
        if (node.next != kNone)
            NodeAt(node.next).prev = node.prev;
        else
            m_tails[bucket] = node.prev;
        node.prev = node.next = kNone;
    }

    void ClearLinks() {
        m_heads.fill(kNone);
        m_tails.fill(kNone);
        m_free = kNone;
        m_used = 0;
        m_count = 0;
    }

    // Copies the slots as they are, so the copy enumerates in the same order.
    void CopyFrom(const CBucketMap& other) {
        m_blocks.reserve(other.m_blocks.size());
        for (const auto& block : other.m_blocks) {
            auto copy = std::make_unique<Node[]>(kBlockSize);
            for (uint32_t i = 0; i < kBlockSize; ++i)
                copy[i] = block[i];
            m_blocks.push_back(std::move(copy));
        }
        m_index = other.m_index;
        m_heads = other.m_heads;
        m_tails = other.m_tails;
        m_free = other.m_free;
        m_used = other.m_used;
        m_count = other.m_count;
    }

    void Swap(CBucketMap& other) noexcept {
        m_blocks.swap(other.m_blocks);
        std::swap(m_index, other.m_index);
        std::swap(m_heads, other.m_heads);
        std::swap(m_tails, other.m_tails);
        std::swap(m_free, other.m_free);
        std::swap(m_used, other.m_used);
        std::swap(m_count, other.m_count);
    }

    std::vector<std::unique_ptr<Node[]>> m_blocks;
    KeySlotIndex m_index;
    std::array<uint32_t, kBucketCount> m_heads;
    std::array<uint32_t, kBucketCount> m_tails;
    uint32_t m_free = kNone;
    uint32_t m_used = 0; // slots handed out so far, free or not
    size_t m_count = 0;
};
