#pragma once
// A binary form of parsed tables, so that a table the program ships can be compiled in as it
// stands after parsing and brought back without parsing its text again (see core/prebuilt.h).
//
// A type takes part by listing its members in a static member function
//     template <class Ar, class Self> static void archive(Ar& ar, Self& self)
//     {
//         ar(self.a, self.b);
//     }
// which serves both directions (Self is const when writing). Trivially copyable values are
// copied as bytes; strings, vectors, arrays, pairs, unordered maps and blocks (core/block.h,
// which a reader may lend its bytes to) are handled here. The form is the memory layout of this
// build: it is read by the program that was built with the table, never kept in a file.

#include "core/block.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hmf::core {

class ArchiveWriter;

namespace archive_detail {
// Whether T lists its members in a static archive(ar, self).
template <class T, class = void> struct HasArchive : std::false_type
{
};
template <class T>
struct HasArchive<
    T, std::void_t<decltype(T::archive(std::declval<ArchiveWriter&>(), std::declval<const T&>()))>>
    : std::true_type
{
};
} // namespace archive_detail

class ArchiveWriter
{
  public:
    static constexpr bool kReading = false;

    template <class... T> void operator()(const T&... values) { (put(values), ...); }
    const std::string& bytes() const { return m_out; }
    // Writers never fail; the member keeps archive functions alike for both directions.
    static void fail() {}

  private:
    void putSize(std::size_t n)
    {
        const auto n32 = static_cast<std::uint32_t>(n);
        m_out.append(reinterpret_cast<const char*>(&n32), sizeof n32);
    }
    void put(const std::string& s)
    {
        putSize(s.size());
        m_out.append(s);
    }
    template <class A, class B> void put(const std::pair<A, B>& p)
    {
        put(p.first);
        put(p.second);
    }
    template <class T, std::size_t N> void put(const std::array<T, N>& a)
    {
        for (const auto& v : a)
            put(v);
    }
    // A block's elements start at a multiple of their alignment from the start of the form, so
    // that a form placed at an aligned address can lend them (see ArchiveReader).
    template <class T> void put(const Block<T>& b)
    {
        putSize(b.size());
        m_out.append((alignof(T) - m_out.size() % alignof(T)) % alignof(T), '\0');
        m_out.append(reinterpret_cast<const char*>(b.data()), b.size() * sizeof(T));
    }
    template <class T> void put(const std::vector<T>& v)
    {
        putSize(v.size());
        if constexpr (std::is_trivially_copyable_v<T> && !archive_detail::HasArchive<T>::value) {
            m_out.append(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T));
        } else {
            for (const auto& e : v)
                put(e);
        }
    }
    template <class K, class V, class H, class E, class A>
    void put(const std::unordered_map<K, V, H, E, A>& m)
    {
        // In the order of the keys: a map's form does not depend on how it was filled.
        std::vector<const typename std::unordered_map<K, V, H, E, A>::value_type*> entries;
        entries.reserve(m.size());
        for (const auto& entry : m)
            entries.push_back(&entry);
        std::sort(entries.begin(), entries.end(),
                  [](const auto* a, const auto* b) { return a->first < b->first; });
        putSize(entries.size());
        for (const auto* entry : entries) {
            put(entry->first);
            put(entry->second);
        }
    }
    template <class T> void put(const T& v)
    {
        if constexpr (archive_detail::HasArchive<T>::value) {
            T::archive(*this, v);
        } else {
            static_assert(std::is_trivially_copyable_v<T>, "list the members in T::archive");
            m_out.append(reinterpret_cast<const char*>(&v), sizeof v);
        }
    }

    std::string m_out;
};

// Reads what ArchiveWriter wrote. Every read is bounds-checked: a form that ends early or holds
// a size beyond its end makes ok() false, and the caller parses the table's text instead.
class ArchiveReader
{
  public:
    static constexpr bool kReading = true;

    // A reader that may `lend` gives blocks (core/block.h) its bytes instead of copies: only for
    // a form that outlives what is read from it, such as one compiled into the program.
    explicit ArchiveReader(std::string_view bytes, bool lend = false)
        : m_begin(bytes.data()), m_at(bytes.data()), m_end(bytes.data() + bytes.size()),
          m_lend(lend)
    {
    }

    template <class... T> void operator()(T&... values) { (get(values), ...); }
    bool ok() const { return !m_failed; }
    void fail() { m_failed = true; }
    // True when every byte was read and nothing failed.
    bool finished() const { return !m_failed && m_at == m_end; }

  private:
    bool take(void* into, std::size_t n)
    {
        if (m_failed || static_cast<std::size_t>(m_end - m_at) < n) {
            m_failed = true;
            return false;
        }
        if (n)
            std::memcpy(into, m_at, n);
        m_at += n;
        return true;
    }
    // A count of elements of `unit` bytes at least each, which the rest of the form can hold.
    bool getSize(std::size_t& n, std::size_t unit)
    {
        std::uint32_t n32 = 0;
        if (!take(&n32, sizeof n32))
            return false;
        if (unit && n32 > static_cast<std::size_t>(m_end - m_at) / unit) {
            m_failed = true;
            return false;
        }
        n = n32;
        return true;
    }
    void get(std::string& s)
    {
        std::size_t n = 0;
        if (!getSize(n, 1))
            return;
        s.resize(n);
        take(s.data(), n);
    }
    template <class A, class B> void get(std::pair<A, B>& p)
    {
        get(p.first);
        get(p.second);
    }
    template <class T, std::size_t N> void get(std::array<T, N>& a)
    {
        for (auto& v : a)
            get(v);
    }
    template <class T> void get(Block<T>& b)
    {
        std::size_t n = 0;
        if (!getSize(n, 0))
            return;
        const auto pad =
            (alignof(T) - static_cast<std::size_t>(m_at - m_begin) % alignof(T)) % alignof(T);
        if (static_cast<std::size_t>(m_end - m_at) < pad ||
            n > (static_cast<std::size_t>(m_end - m_at) - pad) / sizeof(T)) {
            m_failed = true;
            return;
        }
        m_at += pad;
        if (m_lend && reinterpret_cast<std::uintptr_t>(m_at) % alignof(T) == 0) {
            b.borrow(reinterpret_cast<const T*>(m_at), n);
            m_at += n * sizeof(T);
        } else {
            b.clear();
            b.resize(n);
            take(b.mutableData(), n * sizeof(T));
        }
    }
    template <class T> void get(std::vector<T>& v)
    {
        std::size_t n = 0;
        if (!getSize(n, 1))
            return;
        if constexpr (std::is_trivially_copyable_v<T> && !archive_detail::HasArchive<T>::value) {
            if (n > static_cast<std::size_t>(m_end - m_at) / sizeof(T)) {
                m_failed = true;
                return;
            }
            v.resize(n);
            take(v.data(), n * sizeof(T));
        } else {
            v.clear();
            v.resize(n);
            for (auto& e : v)
                get(e);
        }
    }
    template <class K, class V, class H, class E, class A>
    void get(std::unordered_map<K, V, H, E, A>& m)
    {
        std::size_t n = 0;
        if (!getSize(n, 1))
            return;
        m.clear();
        m.reserve(n);
        for (std::size_t i = 0; i < n && ok(); ++i) {
            K k{};
            V v{};
            get(k);
            get(v);
            m.emplace(std::move(k), std::move(v));
        }
    }
    template <class T> void get(T& v)
    {
        if constexpr (archive_detail::HasArchive<T>::value) {
            T::archive(*this, v);
        } else {
            static_assert(std::is_trivially_copyable_v<T>, "list the members in T::archive");
            take(&v, sizeof v);
        }
    }

    const char* m_begin;
    const char* m_at;
    const char* m_end;
    bool m_lend = false;
    bool m_failed = false;
};

} // namespace hmf::core
