#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A map from 16-bit keys to owned records that enumerates in a fixed order:
// 17 buckets, a key lives in bucket (key / 16) mod 17, buckets are visited in
// ascending order and, inside a bucket, the entry inserted last comes first.
// The project file and Build All depend on this order.
template <typename T>
class CBucketMap {
public:
    static constexpr int kBucketCount = 17;

    CBucketMap() = default;
    CBucketMap(CBucketMap&&) noexcept = default;
    CBucketMap& operator=(CBucketMap&&) noexcept = default;
    // Deep copy: the copy owns copies of every record.
    CBucketMap(const CBucketMap& other) { CopyFrom(other); }
    CBucketMap& operator=(const CBucketMap& other)
    {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }

    static int BucketOf(uint16_t key) { return (key / 16) % kBucketCount; }

    // Stores the record under the key; a record already there is deleted.
    T* SetAt(uint16_t key, std::unique_ptr<T> record)
    {
        RemoveKey(key);
        auto& bucket = m_buckets[BucketOf(key)];
        T* raw = record.get();
        bucket.insert(bucket.begin(), Entry{key, std::move(record)});
        return raw;
    }

    // The borrowed record under the key, or nullptr.
    T* Lookup(uint16_t key) const
    {
        for (const auto& e : m_buckets[BucketOf(key)])
            if (e.key == key)
                return e.record.get();
        return nullptr;
    }

    // Deletes the record under the key; returns false when there was none.
    bool RemoveKey(uint16_t key)
    {
        auto& bucket = m_buckets[BucketOf(key)];
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->key == key) {
                bucket.erase(it);
                return true;
            }
        }
        return false;
    }

    void RemoveAll()
    {
        for (auto& b : m_buckets)
            b.clear();
    }

    size_t GetCount() const
    {
        size_t n = 0;
        for (const auto& b : m_buckets)
            n += b.size();
        return n;
    }
    bool IsEmpty() const { return GetCount() == 0; }

    // Calls f(key, record&) for every entry in enumeration order.
    template <typename F>
    void ForEach(F&& f) const
    {
        for (const auto& b : m_buckets)
            for (const auto& e : b)
                f(e.key, *e.record);
    }

    // Keys in enumeration order.
    std::vector<uint16_t> Keys() const
    {
        std::vector<uint16_t> keys;
        ForEach([&](uint16_t k, const T&) { keys.push_back(k); });
        return keys;
    }

private:
    struct Entry {
        uint16_t key;
        std::unique_ptr<T> record;
    };

    void CopyFrom(const CBucketMap& other)
    {
        for (int i = 0; i < kBucketCount; ++i)
            for (const auto& e : other.m_buckets[i])
                m_buckets[i].push_back(Entry{e.key, std::make_unique<T>(*e.record)});
    }

    std::array<std::vector<Entry>, kBucketCount> m_buckets;
};
