#pragma once
// A map from code points to values, flat: the entries lie in one array in the order they were
// added, and a direct index over the Basic Multilingual Plane finds them (code points above it
// are searched in a short list). Loading a table of twenty thousand characters then costs a few
// allocations instead of one hash node each, and freeing it costs as few. Lookups are one load.
// The interface is the part of std::unordered_map the tables use.
//
// A map of plain values brought back from a prebuilt table (core/prebuilt.h) borrows both its
// entries and its index from the compiled-in form: nothing is copied, and only the pages that
// lookups touch are read. The first change to such a map makes it its own.

#include "core/block.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace hmf::core {

template <typename T> class CodepointMap
{
  public:
    struct value_type
    {
        char32_t first;
        T second;

        template <class Ar, class Self> static void archive(Ar& ar, Self& self)
        {
            ar(self.first, self.second);
        }
    };
    using iterator = value_type*;
    using const_iterator = const value_type*;

    CodepointMap() = default;
    CodepointMap(const CodepointMap& other) : m_entries(other.m_entries) { reindex(); }
    CodepointMap(CodepointMap&& other) noexcept
        : m_entries(std::move(other.m_entries)), m_index(std::move(other.m_index)),
          m_lent(std::exchange(other.m_lent, {})), m_high(std::move(other.m_high))
    {
    }
    CodepointMap& operator=(const CodepointMap& other)
    {
        if (this != &other) {
            m_entries = other.m_entries;
            reindex();
        }
        return *this;
    }
    CodepointMap& operator=(CodepointMap&& other) noexcept
    {
        if (this != &other) {
            m_entries = std::move(other.m_entries);
            m_index = std::move(other.m_index);
            m_lent = std::exchange(other.m_lent, {});
            m_high = std::move(other.m_high);
        }
        return *this;
    }

    const_iterator begin() const { return m_entries.data(); }
    const_iterator end() const { return m_entries.data() + m_entries.size(); }
    iterator begin() { return mutableEntries(); }
    iterator end() { return mutableEntries() + m_entries.size(); }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    void reserve(std::size_t n) { m_entries.reserve(n); }

    void clear()
    {
        m_entries.clear();
        m_index.reset();
        m_lent = {};
        m_high.clear();
    }

    const_iterator find(char32_t cp) const
    {
        const std::size_t slot = slotOf(cp);
        return slot == 0 ? end() : begin() + (slot - 1);
    }
    iterator find(char32_t cp)
    {
        const std::size_t slot = slotOf(cp);
        return slot == 0 ? end() : begin() + (slot - 1);
    }
    std::size_t count(char32_t cp) const { return slotOf(cp) != 0; }

    // Adds the entry unless the code point has one already (which is kept, as emplace does).
    std::pair<iterator, bool> emplace(char32_t cp, T value)
    {
        if (const std::size_t slot = slotOf(cp))
            return {begin() + (slot - 1), false};
        if (m_lent.table)
            reindex(); // the index becomes the map's own before it changes
        m_entries.push_back(value_type{cp, std::move(value)});
        link(cp, m_entries.size());
        return {end() - 1, true};
    }

    T& operator[](char32_t cp) { return emplace(cp, T{}).first->second; }

    // The entries in their order and, for plain values, the index over the code points they
    // cover (see core/archive.h); a reader that lends its bytes lends them to the map.
    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        if constexpr (kPlain) {
            Block<std::uint32_t> index;
            char32_t low = 0;
            if constexpr (!Ar::kReading) {
                index = self.basicPlaneIndex(low);
                ar(self.zeroPadded(), low, index, self.m_high);
            } else {
                ar(self.m_entries, low, index, self.m_high);
                // A lent index comes from a form the program was built with; a copied one is not
                // trusted and the index is built again from the entries.
                if (ar.ok() && index.borrowed() && self.m_entries.borrowed()) {
                    self.m_index.reset();
                    self.m_lent = {index.data(), low, index.size()};
                } else {
                    self.reindex();
                }
            }
        } else {
            ar(self.m_entries);
            if constexpr (Ar::kReading)
                self.reindex();
        }
    }

  private:
    static constexpr std::size_t kPlane = 0x10000;
    static constexpr bool kPlain = std::is_trivially_copyable_v<value_type>;
    using Entries = std::conditional_t<kPlain, Block<value_type>, std::vector<value_type>>;

    struct Free
    {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };
    // An index borrowed from a prebuilt form: the slots of the code points low .. low + size - 1.
    struct LentIndex
    {
        const std::uint32_t* table = nullptr;
        char32_t low = 0;
        std::size_t size = 0;
    };

    value_type* mutableEntries()
    {
        if constexpr (kPlain)
            return m_entries.mutableData();
        else
            return m_entries.data();
    }

    // Entry number + 1 of a code point, 0 when it has none.
    std::size_t slotOf(char32_t cp) const
    {
        if (cp < kPlane) {
            if (m_index)
                return m_index[cp];
            const std::size_t at = cp - m_lent.low; // wraps below low
            return at < m_lent.size ? m_lent.table[at] : 0;
        }
        for (const auto& [high, slot] : m_high)
            if (high == cp)
                return slot;
        return 0;
    }

    void link(char32_t cp, std::size_t slot)
    {
        if (cp >= kPlane) {
            m_high.emplace_back(cp, static_cast<std::uint32_t>(slot));
            return;
        }
        if (!m_index) {
            // Zeroed pages come from the system untouched: only the pages a table uses are paid.
            auto* index = static_cast<std::uint32_t*>(std::calloc(kPlane, sizeof(std::uint32_t)));
            if (!index)
                throw std::bad_alloc();
            m_index.reset(index);
        }
        m_index[cp] = static_cast<std::uint32_t>(slot);
    }

    void reindex()
    {
        m_index.reset();
        m_lent = {};
        m_high.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            link(m_entries.data()[i].first, i + 1);
    }

    // The entries with the bytes between their members zero, so that equal maps write equal
    // forms (a code point and a byte leave three bytes that nothing sets, and a vector fills
    // new entries member by member).
    Block<value_type> zeroPadded() const
    {
        Block<value_type> entries;
        entries.resize(m_entries.size());
        if (m_entries.empty())
            return entries;
        value_type* out = entries.mutableData();
        std::memset(static_cast<void*>(out), 0, sizeof(value_type) * m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            out[i].first = m_entries.data()[i].first;
            out[i].second = m_entries.data()[i].second;
        }
        return entries;
    }

    // The slots of the Basic Multilingual Plane code points from the lowest to the highest.
    Block<std::uint32_t> basicPlaneIndex(char32_t& low) const
    {
        char32_t lo = kPlane, hi = 0;
        for (const auto& e : *this)
            if (e.first < kPlane) {
                lo = std::min(lo, e.first);
                hi = std::max(hi, e.first);
            }
        Block<std::uint32_t> index;
        low = lo < kPlane ? lo : 0;
        if (lo < kPlane) {
            index.resize(hi - lo + 1);
            for (std::size_t i = 0; i < m_entries.size(); ++i)
                if (const char32_t cp = m_entries.data()[i].first; cp < kPlane)
                    index.mutableData()[cp - lo] = static_cast<std::uint32_t>(i + 1);
        }
        return index;
    }

    Entries m_entries;
    std::unique_ptr<std::uint32_t[], Free> m_index;
    LentIndex m_lent;
    std::vector<std::pair<char32_t, std::uint32_t>> m_high;
};

} // namespace hmf::core
