// A generator run from arbitrary settings: a surname, sex, fixed character, birth time and a
// library of arbitrary lines, then draws whose settings change between draws as the window's
// controls may (length, position, the date boxes, threshold).

#include "core/text.h"
#include "fuzzsupport.h"
#include "naming/generator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const core::Tables& tables = fuzz::shippedTables();
    FuzzedDataProvider in(data, size);
    naming::SessionState session;
    session.birthChartRequested = in.ConsumeBool();
    naming::NameGenerator generator(tables, session);

    naming::RunSettings run;
    run.surname = in.ConsumeRandomLengthString(12);
    run.sex = in.ConsumeBool() ? "男" : in.ConsumeRandomLengthString(6);
    run.fixedOn = in.ConsumeBool();
    run.fixedChar = in.ConsumeRandomLengthString(8);
    run.birth = {in.ConsumeIntegralInRange(1890, 2110), in.ConsumeIntegralInRange(0, 13),
                 in.ConsumeIntegralInRange(0, 32), in.ConsumeIntegralInRange(-1, 24)};
    run.seed = in.ConsumeIntegral<std::uint64_t>();
    run.dataDir = fuzz::dataDirectory();
    std::vector<std::string> characters;
    const int lines = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < lines; ++i)
        characters.push_back(in.ConsumeRandomLengthString(8));
    // Mostly a library from the input; sometimes the shipped file of the sex.
    if (in.ConsumeIntegralInRange(0, 7) != 0)
        run.characters = characters;

    const naming::StartResult started = generator.start(run);
    HMF_FUZZ_CHECK(started.started() == generator.running());
    if (!started.started()) {
        HMF_FUZZ_CHECK(!started.status.error().message().empty());
        return 0;
    }
    const int draws = in.ConsumeIntegralInRange(1, 40);
    for (int i = 0; i < draws && generator.running(); ++i) {
        naming::DrawSettings settings;
        settings.length = in.ConsumeIntegralInRange(-1, 5);
        settings.fixedOn = in.ConsumeBool();
        settings.fixedPosition = in.ConsumeIntegralInRange(-1, 5);
        settings.year = in.ConsumeIntegral<int>();
        settings.month = in.ConsumeIntegral<int>();
        settings.day = in.ConsumeIntegral<int>();
        settings.collect = in.ConsumeBool();
        settings.threshold = in.ConsumeIntegral<int>();
        const naming::DrawResult result = generator.draw(settings);
        HMF_FUZZ_CHECK(result.drawn);
        HMF_FUZZ_CHECK(!result.score || *result.score <= 100);
        const auto given = core::splitCharacters(result.givenName);
        HMF_FUZZ_CHECK(given.size() >= 1 && given.size() <= 3);
        HMF_FUZZ_CHECK(core::isValidUtf8(result.fullName));
        if (in.ConsumeIntegralInRange(0, 15) == 0)
            generator.stop();
    }
    return 0;
}
