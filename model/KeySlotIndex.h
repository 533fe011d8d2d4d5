#pragma once

#include <array>
#include <cstdint>
#include <memory>

// Finds the slot of a 16-bit key in constant time. The key space is split into
// 256 pages of 256 keys; a page exists only once one of its keys is stored, so
// a map of a few keys costs a few KiB while a full one costs 258 KiB.
class KeySlotIndex {
public:
    static constexpr uint32_t kAbsent = 0xFFFFFFFF;

    KeySlotIndex() = default;
    KeySlotIndex(KeySlotIndex&&) noexcept = default;
    KeySlotIndex& operator=(KeySlotIndex&&) noexcept = default;
    KeySlotIndex(const KeySlotIndex& other) { CopyFrom(other); }
    KeySlotIndex& operator=(const KeySlotIndex& other) {
        if (this != &other) {
            Clear();
            CopyFrom(other);
        }
        return *this;
    }

    // The slot stored for key, or kAbsent.
    uint32_t Find(uint16_t key) const {
        const auto& page = m_pages[key >> 8];
        return page ? (*page)[key & 0xFF] : kAbsent;
    }

    void Set(uint16_t key, uint32_t slot) {
        auto& page = m_pages[key >> 8];
        if (!page) {
            page = std::make_unique<Page>();
            page->fill(kAbsent);
        }
        (*page)[key & 0xFF] = slot;
    }

    void Erase(uint16_t key) {
        if (auto& page = m_pages[key >> 8])
            (*page)[key & 0xFF] = kAbsent;
    }

    void Clear() {
        for (auto& page : m_pages)
            page.reset();
    }

private:
    using Page = std::array<uint32_t, 256>;

    void CopyFrom(const KeySlotIndex& other) {
        for (size_t i = 0; i < m_pages.size(); ++i)
            if (other.m_pages[i])
                m_pages[i] = std::make_unique<Page>(*other.m_pages[i]);
    }

    std::array<std::unique_ptr<Page>, 256> m_pages;
};
