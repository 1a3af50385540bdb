// The cities table loader on raw bytes and on GBK-decoded text: a refusal names a line of the
// text; a loaded table has names and longitudes and latitudes in range, and finds every city by
// its own name.

#include "core/cities.h"
#include "core/gbk.h"
#include "core/text.h"
#include "fuzzsupport.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

void check(std::string_view text)
{
    using namespace hmf;
    core::CityTable table;
    const core::Status status = table.parse(text, "cities.txt");
    if (!status) {
        const core::Error& error = status.error();
        HMF_FUZZ_CHECK(!error.what.empty());
        const long lines = std::count(text.begin(), text.end(), '\n') + 1;
        HMF_FUZZ_CHECK(error.line >= 0 && error.line <= lines);
        return;
    }
    HMF_FUZZ_CHECK(!table.cities().empty());
    for (const core::City& city : table.cities()) {
        HMF_FUZZ_CHECK(!city.name.empty() && !city.province.empty());
        HMF_FUZZ_CHECK(city.longitude >= 0 && city.longitude <= 180);
        HMF_FUZZ_CHECK(city.latitude >= 0 && city.latitude <= 90);
        // A well-formed name typed as the table gives it finds that city.
        if (core::trimBlanks(city.name) == city.name && core::isValidUtf8(city.name)) {
            const core::CityMatch found = table.match(city.name);
            HMF_FUZZ_CHECK(found.city && found.city->name == city.name);
        }
        const core::CityMatch province = table.match(city.province);
        HMF_FUZZ_CHECK((province.city != nullptr) ==
                       (province.kind == core::CityMatch::Kind::Found));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    check(raw);
    if (auto decoded = hmf::core::gbkToUtf8(raw).text)
        check(*decoded);
    return 0;
}
