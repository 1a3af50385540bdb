// Every table loader on arbitrary text. The first byte picks the loader and whether the rest is
// first decoded from GBK (as the files on disk are) or handed over as it is (any bytes).
// A table that loads is then asked about every character of its own text.

#include "core/elements.h"
#include "core/gbk.h"
#include "core/luck.h"
#include "core/pinyin.h"
#include "core/reference.h"
#include "core/strokes.h"
#include "core/text.h"
#include "core/traditional.h"
#include "fuzzsupport.h"

#include <cstdint>

namespace {

using namespace hmf;

void askAbout(std::string_view text, const core::StrokeDictionary* strokes,
              const core::TraditionalTable* traditional, const core::ElementTable* elements,
              const core::PinyinTable* pinyin)
{
    for (const auto& c : core::splitCharacters(text)) {
        if (strokes) {
            const int grid = strokes->gridStrokeCount(c);
            HMF_FUZZ_CHECK(grid == -1 || grid >= 1);
            HMF_FUZZ_CHECK(strokes->displayStrokeCount(c, traditional) >= 0);
        }
        if (elements) {
            const std::string e = elements->elementOf(c);
            HMF_FUZZ_CHECK(e.empty() || e == "金" || e == "木" || e == "水" || e == "火" ||
                           e == "土");
        }
        if (const auto cp = core::singleCodepoint(c)) {
            if (pinyin)
                (void)pinyin->readingOf(*cp);
            if (traditional)
                (void)traditional->toTraditional(*cp);
        }
    }
    if (strokes)
        (void)strokes->strokeString(text, traditional);
    if (elements)
        (void)elements->elementString(text);
    if (pinyin)
        (void)pinyin->pinyinOf(text, true);
    if (traditional)
        (void)traditional->toTraditional(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string decoded;
    if (selector & 0x80) {
        auto result = core::gbkToUtf8(text);
        if (!result.text)
            return 0;
        decoded = std::move(*result.text);
        text = decoded;
    }

    core::Status status;
    switch (selector & 0x0F) {
    case 0:
    case 1:
    case 2: {
        core::StrokeDictionary strokes;
        status = (selector & 0x0F) == 0   ? strokes.parseGridTable(text, "t")
                 : (selector & 0x0F) == 1 ? strokes.parseGroupTable(text, "t")
                                          : strokes.parseGeneralTable(text, "t");
        if (status)
            askAbout(text, &strokes, nullptr, nullptr, nullptr);
        break;
    }
    case 3: {
        core::TraditionalTable traditional;
        status = traditional.parse(text, "t");
        if (status)
            askAbout(text, nullptr, &traditional, nullptr, nullptr);
        break;
    }
    case 4: {
        core::ElementTable elements;
        status = elements.parse(text, "t");
        if (status)
            askAbout(text, nullptr, nullptr, &elements, nullptr);
        break;
    }
    case 5:
    case 6: {
        core::PinyinTable pinyin;
        status = (selector & 0x0F) == 5 ? pinyin.parse(text, "t") : pinyin.parseFallback(text, "t");
        if (status)
            askAbout(text, nullptr, nullptr, nullptr, &pinyin);
        break;
    }
    case 7: {
        core::LuckTable luck;
        status = luck.parse(text, "t");
        if (status) {
            HMF_FUZZ_CHECK(luck.entries().size() == 81);
            for (int n = -1; n <= 83; ++n)
                (void)luck.verdict(n);
        }
        break;
    }
    case 8: {
        core::SexagenaryTable sexagenary;
        status = sexagenary.parse(text, "t");
        for (int n = -1; n <= 62; ++n)
            (void)sexagenary.row(n);
        break;
    }
    default:
        return 0;
    }
    // A refused table always says why, with a line inside the text.
    if (!status) {
        const core::Error& error = status.error();
        HMF_FUZZ_CHECK(!error.what.empty() && error.file == "t");
        HMF_FUZZ_CHECK(error.line >= 0 && static_cast<std::size_t>(error.line) <= text.size() + 1);
        (void)error.message();
    }
    return 0;
}
