#pragma once
// A map from code points to values, flat: the entries lie in one array in the order they were
// added, and a direct index over the Basic Multilingual Plane finds them (code points above it
// are searched in a short list). Loading a table of twenty thousand characters then costs a few
// allocations instead of one hash node each, and freeing it costs as few. Lookups are one load.
// The interface is the part of std::unordered_map the tables use.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace hmf::core {

template <typename T> class CodepointMap
{
  public:
    using value_type = std::pair<char32_t, T>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    CodepointMap() = default;
    CodepointMap(const CodepointMap& other) : m_entries(other.m_entries) { reindex(); }
    CodepointMap(CodepointMap&&) noexcept = default;
    CodepointMap& operator=(const CodepointMap& other)
    {
        if (this != &other) {
            m_entries = other.m_entries;
            reindex();
        }
        return *this;
    }
    CodepointMap& operator=(CodepointMap&&) noexcept = default;

    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    void reserve(std::size_t n) { m_entries.reserve(n); }

    void clear()
    {
        m_entries.clear();
        m_index.reset();
        m_high.clear();
    }

    const_iterator find(char32_t cp) const
    {
        const std::size_t slot = slotOf(cp);
        return slot == 0 ? m_entries.end()
                         : m_entries.begin() + static_cast<std::ptrdiff_t>(slot - 1);
    }
    iterator find(char32_t cp)
    {
        const std::size_t slot = slotOf(cp);
        return slot == 0 ? m_entries.end()
                         : m_entries.begin() + static_cast<std::ptrdiff_t>(slot - 1);
    }
    std::size_t count(char32_t cp) const { return slotOf(cp) != 0; }

    // Adds the entry unless the code point has one already (which is kept, as emplace does).
    std::pair<iterator, bool> emplace(char32_t cp, T value)
    {
        if (const std::size_t slot = slotOf(cp))
            return {m_entries.begin() + static_cast<std::ptrdiff_t>(slot - 1), false};
        m_entries.emplace_back(cp, std::move(value));
        link(cp, m_entries.size());
        return {m_entries.end() - 1, true};
    }

    T& operator[](char32_t cp) { return emplace(cp, T{}).first->second; }

    // The entries in their order (see core/archive.h); plain values go as two blocks of bytes.
    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        if constexpr (std::is_trivially_copyable_v<T>) {
            std::vector<char32_t> keys;
            std::vector<T> values;
            if constexpr (!Ar::kReading) {
                keys.reserve(self.size());
                values.reserve(self.size());
                for (const auto& [cp, value] : self.m_entries) {
                    keys.push_back(cp);
                    values.push_back(value);
                }
            }
            ar(keys, values);
            if constexpr (Ar::kReading) {
                if (keys.size() != values.size())
                    return ar.fail();
                self.m_entries.clear();
                self.m_entries.reserve(keys.size());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    self.m_entries.emplace_back(keys[i], values[i]);
            }
        } else {
            ar(self.m_entries);
        }
        if constexpr (Ar::kReading)
            self.reindex();
    }

  private:
    static constexpr std::size_t kPlane = 0x10000;

    struct Free
    {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };

    // Entry number + 1 of a code point, 0 when it has none.
    std::size_t slotOf(char32_t cp) const
    {
        if (cp < kPlane)
            return m_index ? m_index[cp] : 0;
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
        m_high.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            link(m_entries[i].first, i + 1);
    }

    std::vector<value_type> m_entries;
    std::unique_ptr<std::uint32_t[], Free> m_index;
    std::vector<std::pair<char32_t, std::uint32_t>> m_high;
};

} // namespace hmf::core
