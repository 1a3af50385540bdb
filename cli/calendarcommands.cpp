// Commands over the calendar: the birth chart of a date and hour, the star sign of a month and day.

#include "calendar/birthchart.h"
#include "calendar/starsign.h"
#include "cli/birthoptions.h"
#include "cli/command.h"
#include "cli/jsonparts.h"
#include "core/text.h"

#include <iostream>

namespace hmf::cli {
namespace {

// The chart and star-sign texts end their lines with "\r\n" as the window shows them; a terminal
// wants "\n".
std::string unixLines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

int runChart(const Args& args)
{
    int exitCode = 0;
    const auto birth = birthOptions(args, exitCode, true);
    if (!birth)
        return exitCode;
    const core::Tables* t = tables(core::kSexagenaryTable);
    if (!t)
        return kExitData;
    auto chart = calendar::birthChart(birth->time, birth->details, t->sexagenary);
    if (!chart)
        return fail("请填写正确的出生日期");
    if (args.has("--json")) {
        JsonWriter json;
        writeChart(json, *chart, birth->details);
        std::cout << json.text();
        return 0;
    }
    // With a birthplace the whole chart below follows true solar time; this line says so first.
    if (const std::string line = calendar::chartTimeLine(birth->details); !line.empty())
        std::cout << line << "\n";
    std::cout << unixLines(calendar::chartText(*chart));
    std::cout << unixLines(calendar::strengthSection(birth->time, birth->details));
    return 0;
}

int runStar(const Args& args)
{
    if (args.positional.size() != 2)
        return fail("用法: hmf star <月> <日>  (month and day)");
    auto month = core::parseInt(args.positional[0]);
    auto day = core::parseInt(args.positional[1]);
    if (!month || !day)
        return fail("月和日应为整数 (month and day must be whole numbers)");
    if (!calendar::isMonthDay(*month, *day))
        return fail("请选择正确的日期 (no such month and day)");
    if (args.has("--json")) {
        JsonWriter json;
        writeStarSign(json, *month, *day);
        std::cout << json.text();
        return 0;
    }
    std::string text = unixLines(calendar::starSignText(*month, *day));
    std::cout << text << (text.back() == '\n' ? "" : "\n");
    return 0;
}

const bool registered = [] {
    registerCommand(
        {"chart",
         "hmf chart <YYYY-MM-DD> <时> | --lunar \"YYYY-[闰]M-D HH\"  生辰八字 (birth chart)",
         "  例: hmf chart 2019-05-05 05    hmf chart --lunar \"2023-闰2-01 05\" --place 乌鲁木齐\n"
         "  北京时间 1900-01-31 至 2100-12-31, 时 0-23 (可带分钟，如 05:53)。输出属相、\n"
         "  四柱、八字、五行、纳音、五行个数、五行缺与喜用神九行，然后是\"八字旺衰\"\n"
         "  一节：藏干、十神、月令、通根、帮扶、旺衰与喜用神。给出出生地时，整个八字按\n"
         "  真太阳时排，首行注明。\n" +
             std::string(kBirthplaceHelp),
         {"--lunar", "--place", "--longitude"},
         {"--json"},
         runChart});
    registerCommand(
        {"star",
         "hmf star <月> <日>          星座 (star sign)",
         "  例: hmf star 4 20\n  输出日期、星座名称与说明; 不存在的日期 (如 2月30日) 被拒绝。\n",
         {},
         {"--json"},
         runStar});
    return true;
}();

} // namespace
} // namespace hmf::cli
