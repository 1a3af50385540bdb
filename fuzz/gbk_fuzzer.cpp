// GBK decoding of arbitrary bytes, and the way back: whatever decodes must encode again and
// decode to the same text; whatever encodes must have been well-formed UTF-8.

#include "core/gbk.h"
#include "core/text.h"
#include "fuzzsupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const core::DecodeResult decoded = core::gbkToUtf8(input);
    if (decoded.text) {
        HMF_FUZZ_CHECK(core::isValidUtf8(*decoded.text));
        const auto encoded = core::utf8ToGbk(*decoded.text);
        HMF_FUZZ_CHECK(encoded.has_value());
        const core::DecodeResult again = core::gbkToUtf8(*encoded);
        HMF_FUZZ_CHECK(again.text && *again.text == *decoded.text);
    } else {
        HMF_FUZZ_CHECK(decoded.errorOffset < size);
    }

    if (const auto encoded = core::utf8ToGbk(input)) {
        HMF_FUZZ_CHECK(core::isValidUtf8(input));
        const core::DecodeResult back = core::gbkToUtf8(*encoded);
        HMF_FUZZ_CHECK(back.text && *back.text == input);
    }
    return 0;
}
