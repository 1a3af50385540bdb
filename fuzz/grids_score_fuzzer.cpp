// Grids, three talents and the name score of arbitrary names and dates over the shipped tables:
// names with characters the tables lack, malformed UTF-8, and birth dates of any whole number
// (the window reads its date boxes again before every draw of a run).

#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const core::Tables& tables = fuzz::shippedTables();
    FuzzedDataProvider in(data, size);
    const std::string surname = in.ConsumeRandomLengthString(16);
    const std::string given = in.ConsumeRandomLengthString(16);

    const core::FiveGrids grids = core::gridNumbers(tables.strokes, surname, given);
    (void)core::threeTalentOf(grids, core::ThreeTalentTable{}).text();
    for (int n : {grids.tian, grids.ren, grids.di, grids.wai, grids.zong})
        (void)tables.luck.entry(n);
    (void)tables.gridStrokeString(given);
    (void)tables.elements.elementString(given);
    (void)tables.pinyin.pinyinOf(given, true);
    (void)tables.traditional.toTraditional(surname + given);
    (void)core::firstUnknownCharacter(tables, surname + given);

    core::ScoreInput score;
    score.grids = grids;
    score.year = in.ConsumeIntegral<int>();
    score.month = in.ConsumeIntegral<int>();
    score.day = in.ConsumeIntegral<int>();
    score.fixedCharacter = in.ConsumeBool();
    const std::string missing = in.ConsumeRandomLengthString(16);
    score.missing = missing;
    score.givenName = given;
    HMF_FUZZ_CHECK(core::nameScore(tables.luck, tables.elements, score) <= 100);
    (void)core::decadeBase(score.year);
    return 0;
}
