// The analysis report of arbitrary names and birth times: either a reason for the user or the
// whole report, all of it well-formed UTF-8.

#include "core/text.h"
#include "fuzzsupport.h"
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
    request.givenName = in.ConsumeRemainingBytesAsString();

    const naming::Report report = naming::buildReport(tables, request);
    if (!report.ok()) {
        HMF_FUZZ_CHECK(report.runs.empty() && core::isValidUtf8(report.error));
        return 0;
    }
    HMF_FUZZ_CHECK(report.score && *report.score <= 100);
    HMF_FUZZ_CHECK(!report.runs.empty());
    const std::string text = naming::plainText(report.runs);
    HMF_FUZZ_CHECK(!request.shownScore ? core::isValidUtf8(text)
                                       : text.find("\r\n") != std::string::npos);
    return 0;
}
