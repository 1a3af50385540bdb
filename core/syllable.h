#pragma once
// Pinyin syllables as the sound checks need them: the syllable without its tone, the tone, and
// the initial and final, from a reading with tone marks ("lǜ") or with a tone digit ("lv4").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::core {

struct Syllable
{
    std::string plain;      // lower-case ASCII without tone, ü written v ("lv", "zhang")
    int tone = 5;           // 1-4, 5 for the neutral tone
    std::string initial;    // "zh", "b", … ; empty for y, w and no initial
    std::string final;      // the rhyme with y/w spelled out ("yan" -> "ian", "ju" -> "jv")
    std::uint32_t code = 0; // `plain` packed into a number, for fast comparison (0: none)

    // 平 (level: tones 1 and 2) or 仄 (oblique: tones 3 and 4); the neutral tone counts as 平.
    bool level() const { return tone == 1 || tone == 2 || tone == 5; }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.plain, self.tone, self.initial, self.final, self.code);
    }
};

// A reading with tone marks as the pinyin tables hold it; nullopt when it is not one syllable
// of Latin letters.
std::optional<Syllable> syllableFromMarked(std::string_view reading);

// A reading with a tone digit 1-5 at its end ("chu1", "lv4", "lü4"); nullopt otherwise.
std::optional<Syllable> syllableFromNumbered(std::string_view reading);

} // namespace hmf::core
