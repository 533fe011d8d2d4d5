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
// keys share a bucket. Records never move: borrowed pointers stay valid until
// their key is removed or replaced.
template <typename T> class CBucketMap {
public:
    static constexpr int kBucketCount = 17;

    CBucketMap() { m_heads.fill(kNone); }
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
    T* SetAt(uint16_t key, std::unique_ptr<T> record) {
        uint32_t slot = m_index.Find(key);
        if (slot == KeySlotIndex::kAbsent) {
            slot = TakeSlot();
            m_index.Set(key, slot);
            ++m_count;
        } else {
            Unlink(slot);
        }
        Node& node = m_nodes[slot];
        node.key = key;
        node.record = std::move(record);
        LinkFirst(slot);
        return node.record.get();
    }

    // The borrowed record under the key, or nullptr.
    T* Lookup(uint16_t key) const {
        const uint32_t slot = m_index.Find(key);
        return slot == KeySlotIndex::kAbsent ? nullptr : m_nodes[slot].record.get();
    }

    // Deletes the record under the key; returns false when there was none.
    bool RemoveKey(uint16_t key) {
        const uint32_t slot = m_index.Find(key);
        if (slot == KeySlotIndex::kAbsent)
            return false;
        Unlink(slot);
        m_index.Erase(key);
        m_nodes[slot].record.reset();
        m_nodes[slot].next = m_free;
        m_free = slot;
        --m_count;
        return true;
    }

    // Deletes every record and gives back the memory of the slots.
    void RemoveAll() {
        std::vector<Node>().swap(m_nodes);
        m_index.Clear();
        m_heads.fill(kNone);
        m_free = kNone;
        m_count = 0;
    }

    // Makes room for count records in all, so that adding them does not move
    // the slots again and again.
    void Reserve(size_t count) { m_nodes.reserve(count); }

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Calls f(key, record&) for every entry in enumeration order. f must not
    // add or remove keys.
    template <typename F> void ForEach(F&& f) const {
        for (uint32_t head : m_heads)
            for (uint32_t s = head; s != kNone; s = m_nodes[s].next)
                f(m_nodes[s].key, *m_nodes[s].record);
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

    // A slot: in use when it holds a record; free slots are chained through
    // next.
    struct Node {
        std::unique_ptr<T> record;
        uint32_t prev = kNone;
        uint32_t next = kNone;
        uint16_t key = 0;
    };

    uint32_t TakeSlot() {
        if (m_free != kNone) {
            const uint32_t slot = m_free;
            m_free = m_nodes[slot].next;
            return slot;
        }
        m_nodes.emplace_back();
        return static_cast<uint32_t>(m_nodes.size() - 1);
    }

    void LinkFirst(uint32_t slot) {
        uint32_t& head = m_heads[BucketOf(m_nodes[slot].key)];
        m_nodes[slot].prev = kNone;
        m_nodes[slot].next = head;
        if (head != kNone)
            m_nodes[head].prev = slot;
        head = slot;
    }

    void Unlink(uint32_t slot) {
        Node& node = m_nodes[slot];
        if (node.prev != kNone)
            m_nodes[node.prev].next = node.next;
        else
            m_heads[BucketOf(node.key)] = node.next;
        if (node.next != kNone)
            m_nodes[node.next].prev = node.prev;
        node.prev = node.next = kNone;
    }

    // Copies the slots as they are, so the copy enumerates in the same order.
    void CopyFrom(const CBucketMap& other) {
        m_nodes.reserve(other.m_nodes.size());
        for (const Node& n : other.m_nodes) {
            m_nodes.push_back(
                Node{n.record ? std::make_unique<T>(*n.record) : nullptr, n.prev, n.next, n.key});
        }
        m_index = other.m_index;
        m_heads = other.m_heads;
        m_free = other.m_free;
        m_count = other.m_count;
    }

    void Swap(CBucketMap& other) noexcept {
        m_nodes.swap(other.m_nodes);
        std::swap(m_index, other.m_index);
        std::swap(m_heads, other.m_heads);
        std::swap(m_free, other.m_free);
        std::swap(m_count, other.m_count);
    }

    std::vector<Node> m_nodes;
    KeySlotIndex m_index;
    std::array<uint32_t, kBucketCount> m_heads;
    uint32_t m_free = kNone;
    size_t m_count = 0;
};
