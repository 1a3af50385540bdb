#pragma once
// An array of plain values that owns its elements, or borrows them from memory that lives as
// long as the program: a prebuilt table compiled in (core/prebuilt.h). A borrowed array costs
// nothing to bring back, and only the pages that lookups touch are ever read. Reading is the same
// either way; the first change to a borrowed array copies it into memory of its own.

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace hmf::core {

template <typename T> class Block
{
    static_assert(std::is_trivially_copyable_v<T>, "a block holds plain values");

  public:
    Block() = default;
    Block(const Block& other) { *this = other; }
    Block(Block&& other) noexcept { *this = std::move(other); }
    Block& operator=(const Block& other)
    {
        if (this != &other) {
            m_owned = other.m_owned;
            m_borrowed = other.m_borrowed;
            m_data = m_borrowed ? other.m_data : m_owned.data();
            m_size = other.m_size;
        }
        return *this;
    }
    Block& operator=(Block&& other) noexcept
    {
        if (this != &other) {
            m_owned = std::move(other.m_owned);
            m_borrowed = other.m_borrowed;
            m_data = m_borrowed ? other.m_data : m_owned.data();
            m_size = other.m_size;
            other.clear();
        }
        return *this;
    }

    // Lends the block `size` elements at `data`, which must outlive it.
    void borrow(const T* data, std::size_t size)
    {
        m_owned = {};
        m_borrowed = true;
        m_data = data;
        m_size = size;
    }
    void assign(const T* data, std::size_t size)
    {
        m_owned.assign(data, data + size);
        sync();
    }
    bool borrowed() const { return m_borrowed; }

    const T* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T& operator[](std::size_t i) const { return m_data[i]; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

    // Changes: a borrowed block becomes its own first.
    T* mutableData()
    {
        own();
        return m_owned.data();
    }
    void push_back(const T& value)
    {
        own();
        m_owned.push_back(value);
        sync();
    }
    void append(const T* data, std::size_t n)
    {
        own();
        m_owned.insert(m_owned.end(), data, data + n);
        sync();
    }
    void reserve(std::size_t n)
    {
        own();
        m_owned.reserve(n);
        sync();
    }
    void resize(std::size_t n)
    {
        own();
        m_owned.resize(n);
        sync();
    }
    void clear()
    {
        m_owned.clear();
        m_borrowed = false;
        sync();
    }

  private:
    void own()
    {
        if (m_borrowed) {
            m_owned.assign(m_data, m_data + m_size);
            m_borrowed = false;
            sync();
        }
    }
    void sync()
    {
        m_data = m_owned.data();
        m_size = m_owned.size();
    }

    std::vector<T> m_owned;
    const T* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_borrowed = false;
};

} // namespace hmf::core
