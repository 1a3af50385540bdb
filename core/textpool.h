#pragma once
// The strings of a table kept end to end in one block of text, each entry holding where its
// string lies (a TextPiece). Entries are then plain values, and a prebuilt table lends both its
// entries and its text (core/block.h) instead of building a string for every entry.

#include "core/block.h"

#include <cstdint>
#include <string_view>

namespace hmf::core {

struct TextPiece
{
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

class TextPool
{
  public:
    TextPiece add(std::string_view text)
    {
        const TextPiece piece{static_cast<std::uint32_t>(m_text.size()),
                              static_cast<std::uint32_t>(text.size())};
        m_text.append(text.data(), text.size());
        return piece;
    }
    // Empty for a piece that does not lie within the text.
    std::string_view view(TextPiece piece) const
    {
        if (piece.start > m_text.size() || piece.length > m_text.size() - piece.start)
            return {};
        return {m_text.data() + piece.start, piece.length};
    }
    void clear() { m_text.clear(); }
    void reserve(std::size_t bytes) { m_text.reserve(bytes); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_text); }

  private:
    Block<char> m_text;
};

} // namespace hmf::core
