// The UTF-8 helpers every name and table goes through: splitting into characters, trimming and
// reading whole numbers.

#include "core/text.h"
#include "fuzzsupport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool valid = core::isValidUtf8(input);

    // The pieces put together give the text back; each is one character or one stray byte.
    std::string joined;
    for (const auto& piece : core::splitCharacters(input)) {
        HMF_FUZZ_CHECK(!piece.empty() && piece.size() <= 4);
        HMF_FUZZ_CHECK(!valid || core::singleCodepoint(piece).has_value());
        HMF_FUZZ_CHECK(piece.size() == 1 || core::singleCodepoint(piece).has_value());
        joined += piece;
    }
    HMF_FUZZ_CHECK(joined == input);

    const auto cps = core::toCodepoints(input);
    HMF_FUZZ_CHECK(cps.has_value() == valid);
    if (cps) {
        HMF_FUZZ_CHECK(core::toUtf8(*cps) == input);
        for (char32_t cp : *cps)
            (void)core::isHan(cp);
    }

    // Trimming only removes, never changes, and a second trim has nothing left to do.
    const std::string trimmed = core::trimBlanks(input);
    HMF_FUZZ_CHECK(input.find(trimmed) != std::string_view::npos);
    HMF_FUZZ_CHECK(core::trimBlanks(trimmed) == trimmed);
    HMF_FUZZ_CHECK(!valid || core::isValidUtf8(trimmed));

    // A number read back from its own decimal text is the same number.
    if (const auto value = core::parseInt(input)) {
        HMF_FUZZ_CHECK(core::parseInt(std::to_string(*value)) == value);
        HMF_FUZZ_CHECK(core::parseInt(trimmed) == value);
    }
    return 0;
}
