// The character-library loader on random bytes: invalid and truncated GBK, blank and huge lines,
// empty files. The first byte picks the road: the file on disk (GBK decoding and all), the text
// decoded from GBK, or the bytes handed over as UTF-8 text.

#include "core/gbk.h"
#include "core/text.h"
#include "fuzzsupport.h"
#include "naming/library.h"

#include <cstdint>
#include <fstream>
#include <unistd.h>

namespace {

const std::filesystem::path& scratchFile()
{
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("hmf-fuzz-library-" + std::to_string(getpid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    if (size == 0)
        return 0;
    const core::StrokeDictionary& strokes = fuzz::shippedTables().strokes;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::optional<core::Result<std::vector<std::string>>> library;
    switch (data[0] % 3) {
    case 0: {
        std::ofstream(scratchFile(), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        library = naming::loadLibrary(scratchFile(), strokes);
        break;
    }
    case 1: {
        auto decoded = core::gbkToUtf8(bytes);
        if (!decoded.text)
            return 0;
        library = naming::parseLibrary(*decoded.text, "zmz.fne", strokes);
        break;
    }
    default:
        library = naming::parseLibrary(bytes, "zmz.fne", strokes);
        break;
    }
    // Either characters the generator can use, or a reason.
    if (*library) {
        HMF_FUZZ_CHECK(!(*library)->empty());
        for (const auto& c : **library)
            HMF_FUZZ_CHECK(strokes.gridStrokeCount(c) >= 1);
    } else {
        HMF_FUZZ_CHECK(!library->error().message().empty());
    }
    return 0;
}
