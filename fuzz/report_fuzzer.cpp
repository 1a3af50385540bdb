// The analysis report of arbitrary names and birth times, typed or taken from a listed row title:
// either a reason for the user or the whole report, all of it well-formed UTF-8.

#include "core/text.h"
#include "fuzzsupport.h"
#include "naming/candidates.h"
#include "naming/report.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const core::Tables& tables = fuzz::shippedTables();
    FuzzedDataProvider in(data, size);
    naming::ReportRequest request;
    if (in.ConsumeBool()) {
        request.birth = {in.ConsumeIntegralInRange(1890, 2110), in.ConsumeIntegralInRange(-1, 14),
                         in.ConsumeIntegralInRange(-1, 33), in.ConsumeIntegralInRange(-1, 25)};
    } else {
        request.birth = {in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                         in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
    }
    if (in.ConsumeBool())
        request.shownScore = in.ConsumeRandomLengthString(12);
    request.surname = in.ConsumeRandomLengthString(16);
    if (in.ConsumeBool()) {
        // A double-click on a listed row: the given name and score text come from the row title.
        const int fallbackLength = in.ConsumeIntegralInRange(-1, 4);
        const auto row = naming::splitRowTitle(in.ConsumeRemainingBytesAsString());
        if (!row)
            return 0;
        request.givenName = naming::givenNameOfRow(row->fullName, request.surname, fallbackLength);
        request.shownScore = row->scoreText;
        const auto again = naming::splitRowTitle(naming::rowTitle(row->fullName, 88));
        HMF_FUZZ_CHECK(again && again->fullName == row->fullName && again->scoreText == "88分");
    } else {
        request.givenName = in.ConsumeRemainingBytesAsString();
    }

    const auto built = naming::buildReport(tables, request);
    if (!built) {
        HMF_FUZZ_CHECK(core::isValidUtf8(built.error().message()));
        return 0;
    }
    const naming::Report& report = *built;
    HMF_FUZZ_CHECK(report.score && *report.score <= 100);
    HMF_FUZZ_CHECK(!report.runs.empty());
    const std::string text = naming::plainText(report.runs);
    HMF_FUZZ_CHECK(!request.shownScore ? core::isValidUtf8(text)
                                       : text.find("\r\n") != std::string::npos);
    return 0;
}
