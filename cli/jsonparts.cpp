#include "cli/jsonparts.h"

#include "calendar/starsign.h"
#include "core/text.h"

namespace hmf::cli {
namespace {

// The pieces of a text separated by `separator`, without empty ones ("金  木  " → 金, 木).
std::vector<std::string> pieces(std::string_view text, std::string_view separator)
{
    std::vector<std::string> out;
    while (!text.empty()) {
        const auto at = text.find(separator);
        const std::string piece = core::trimBlanks(text.substr(0, at));
        if (!piece.empty())
            out.push_back(piece);
        if (at == std::string_view::npos)
            break;
        text.remove_prefix(at + separator.size());
    }
    return out;
}

void writeList(JsonWriter& json, const std::vector<std::string>& items)
{
    json.beginArray();
    for (const auto& item : items)
        json.value(item);
    json.endArray();
}

constexpr const char* kElements[] = {"金", "木", "水", "火", "土"};
constexpr const char* kPillarKeys[] = {"year", "month", "day", "hour"};

void writeLocalTime(JsonWriter& json, const calendar::LocalTime& time)
{
    json.beginObject()
        .field("year", time.year)
        .field("month", time.month)
        .field("day", time.day)
        .field("hour", time.hour)
        .field("minute", time.minute)
        .endObject();
}

void writeSolarTime(JsonWriter& json, const calendar::BirthDetails& details)
{
    if (!details.solar) {
        json.null();
        return;
    }
    const calendar::SolarTime& solar = *details.solar;
    json.beginObject().key("place").textOrNull(details.place);
    json.key("longitude").number(solar.longitude, 4);
    json.key("clock");
    writeLocalTime(json, {solar.clock.year, solar.clock.month, solar.clock.day, solar.clock.hour,
                          solar.clock.minute});
    json.key("solar");
    writeLocalTime(json, solar.local);
    json.key("longitudeSeconds").number(solar.longitudeSeconds, 1);
    json.key("equationSeconds").number(solar.equationSeconds, 1);
    json.endObject();
}

// A stem with its element and its ten god seen from the day master ("日主" for the day's own).
void writeStem(JsonWriter& json, int stem, int god)
{
    json.beginObject()
        .field("stem", calendar::stemName(stem))
        .field("element", calendar::elementName(calendar::stemElement(stem)))
        .field("god", calendar::tenGodName(god))
        .endObject();
}

// The lines of a text, without their line ends.
std::vector<std::string> lines(std::string_view text)
{
    std::vector<std::string> out;
    while (!text.empty())
        out.emplace_back(core::takeLine(text));
    return out;
}

} // namespace

void writeBirth(JsonWriter& json, const calendar::BirthTime& time)
{
    json.beginObject()
        .field("year", time.year)
        .field("month", time.month)
        .field("day", time.day)
        .field("hour", time.hour)
        .field("minute", time.minute)
        .endObject();
}

void writeChart(JsonWriter& json, const calendar::BirthChart& chart,
                const calendar::BirthDetails& details)
{
    json.beginObject().key("birth");
    writeBirth(json, chart.time);
    json.key("lunar")
        .beginObject()
        .field("year", chart.lunar.year)
        .field("month", chart.lunar.month)
        .field("day", chart.lunar.day)
        .field("leap", chart.lunar.leap)
        .endObject();
    json.field("zodiac", chart.zodiac);
    json.key("pillars")
        .beginObject()
        .field("year", chart.pillars[0])
        .field("month", chart.pillars[1])
        .field("day", chart.pillars[2])
        .field("hour", chart.pillars[3])
        .endObject();
    json.key("elements");
    writeList(json, pieces(chart.elementText, ","));
    json.key("counts").beginObject();
    for (std::size_t i = 0; i < 5; ++i)
        json.field(kElements[i], chart.counts[i]);
    json.endObject();
    const auto missing = pieces(chart.missing, " ");
    json.key("missing");
    writeList(json, missing);
    // The product's favourable element (喜用神) is the missing one.
    json.key("favourable");
    writeList(json, missing);
    json.key("nayin");
    writeList(json, pieces(chart.nayinText, " "));
    json.key("solarTime");
    writeSolarTime(json, details);
    json.key("strength");
    writeStrength(json, chart.time, details);
    json.endObject();
}

void writeStrength(JsonWriter& json, const calendar::BirthTime& clock,
                   const calendar::BirthDetails& details)
{
    const auto numbers = calendar::chartPillars(clock, details);
    const auto analysis = numbers ? calendar::analyseStrength(*numbers) : std::nullopt;
    if (!analysis) {
        json.null();
        return;
    }
    const calendar::StrengthAnalysis& a = *analysis;
    json.beginObject().key("pillars").beginObject();
    for (int i = 0; i < 4; ++i)
        json.field(kPillarKeys[i], calendar::cyclePair((*numbers)[i]));
    json.endObject();
    json.key("dayMaster")
        .beginObject()
        .field("stem", calendar::stemName(a.stems[2]))
        .field("element", calendar::elementName(a.dayElement))
        .endObject();
    json.key("stems").beginObject();
    for (int i = 0; i < 4; ++i) {
        json.key(kPillarKeys[i]);
        writeStem(json, a.stems[i], a.stemGods[i]);
    }
    json.endObject().key("branches").beginObject();
    for (int i = 0; i < 4; ++i) {
        json.key(kPillarKeys[i])
            .beginObject()
            .field("branch", calendar::branchName(a.branches[i]))
            .field("element", calendar::elementName(calendar::branchElement(a.branches[i])))
            .key("hidden")
            .beginArray();
        for (int k = 0; k < a.hidden[i].count; ++k) {
            const int stem = a.hidden[i].stems[k];
            json.beginObject()
                .field("stem", calendar::stemName(stem))
                .field("element", calendar::elementName(calendar::stemElement(stem)))
                .field("qi", calendar::qiName(k))
                .field("god", calendar::tenGodName(a.hiddenGods[i][k]))
                .endObject();
        }
        json.endArray().endObject();
    }
    json.endObject();
    // 得令: the month's season is the day master's own (旺) or gives birth to it (相).
    json.field("season", a.season).field("inSeason", a.season == "旺" || a.season == "相");
    json.key("roots").beginArray();
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < a.hidden[i].count; ++k)
            if (calendar::stemElement(a.hidden[i].stems[k]) == a.dayElement)
                json.beginObject()
                    .field("pillar", kPillarKeys[i])
                    .field("branch", calendar::branchName(a.branches[i]))
                    .field("qi", calendar::qiName(k))
                    .endObject();
    json.endArray().key("helpers").beginArray();
    for (int i : {0, 1, 3}) {
        const int group = a.stemGods[i] / 2;
        if (group == 0 || group == 4)
            json.beginObject()
                .field("pillar", kPillarKeys[i])
                .field("stem", calendar::stemName(a.stems[i]))
                .field("god", calendar::tenGodName(a.stemGods[i]))
                .endObject();
    }
    json.endArray().key("scores").beginObject();
    constexpr const char* kGroups[5] = {"比劫", "食伤", "财", "官杀", "印"};
    for (int g = 0; g < 5; ++g)
        json.key(kGroups[g]).number(a.groupScores[g], 2);
    json.endObject();
    json.key("support").number(a.support, 2);
    json.key("drain").number(a.drain, 2);
    json.key("percent").number(a.share * 100.0, 1);
    const char* verdict = a.strength == calendar::Strength::Strong ? "身强"
                          : a.strength == calendar::Strength::Weak ? "身弱"
                                                                   : "中和";
    json.field("verdict", verdict).field("extreme", a.extreme);
    json.field("useful", calendar::elementName(a.usefulElement))
        .field("favourable", calendar::elementName(a.favourableElement));
    json.key("unfavourable").beginArray();
    for (int e = 0; e < 5; ++e)
        if (a.unfavourable[e])
            json.value(calendar::elementName(e));
    json.endArray();
    const std::string section = calendar::strengthSection(clock, details);
    json.key("lines");
    writeList(json, lines(std::string_view(section).substr(calendar::strengthHeading().size())));
    json.endObject();
}

void writeGrids(JsonWriter& json, const core::Tables& tables, const core::FiveGrids& grids)
{
    const std::pair<const char*, int> rows[] = {{"天格", grids.tian},
                                                {"人格", grids.ren},
                                                {"地格", grids.di},
                                                {"外格", grids.wai},
                                                {"总格", grids.zong}};
    json.beginObject();
    for (const auto& [name, number] : rows) {
        const core::LuckEntry& e = tables.luck.entry(number);
        json.key(name)
            .beginObject()
            .field("number", number)
            .key("verdict")
            .textOrNull(e.verdict)
            .key("title")
            .textOrNull(e.title)
            .key("career")
            .textOrNull(e.career)
            .key("family")
            .textOrNull(e.family)
            .key("health")
            .textOrNull(e.health)
            .key("meaning")
            .textOrNull(e.meaning)
            .endObject();
    }
    json.endObject();
}

void writeThreeTalent(JsonWriter& json, const core::Tables& tables, const core::FiveGrids& grids)
{
    const core::ThreeTalent talent = core::threeTalentOf(grids, tables.threeTalents);
    json.beginObject()
        .field("天才", std::string(talent.tian))
        .field("人才", std::string(talent.ren))
        .field("地才", std::string(talent.di))
        .key("verdict")
        .textOrNull(core::ThreeTalentTable::verdictText(talent.verdict))
        .endObject();
}

void writeStarSign(JsonWriter& json, int month, int day)
{
    // The text is "M月D日\r\n" + name + "\r\n" + description.
    std::string_view text;
    const std::string whole = calendar::starSignText(month, day);
    text = whole;
    core::takeLine(text);
    const std::string sign(core::takeLine(text));
    std::string description;
    for (char c : text)
        if (c != '\r')
            description += c;
    json.beginObject()
        .field("month", month)
        .field("day", day)
        .key("sign")
        .textOrNull(sign)
        .key("description")
        .textOrNull(core::trimBlanks(description))
        .endObject();
}

void writeNameCharacter(JsonWriter& json, const core::Tables& tables, const std::string& c,
                        const std::string& reading, bool surname)
{
    const std::string traditional = tables.traditional.toTraditional(c);
    const std::string& read = surname ? traditional : c;
    const int grid = tables.gridStrokeCount(c);
    json.beginObject()
        .field("character", c)
        .field("traditional", traditional)
        .key("pinyin")
        .textOrNull(reading)
        .key("gridStrokes")
        .value(grid >= 0 ? std::optional<int>(grid) : std::nullopt)
        .key("element")
        .textOrNull(tables.elements.elementOf(read));
    writeOtherStrokes(json, tables, c);
    writeChartElement(json, tables, read);
    json.endObject();
}

void writeOtherStrokes(JsonWriter& json, const core::Tables& tables, const std::string& c)
{
    if (const int other = tables.strokes.otherCount(c); other > 0)
        json.field("otherStrokes", other);
}

void writeChartElement(JsonWriter& json, const core::Tables& tables, const std::string& c)
{
    if (!tables.elementNote(c).empty())
        json.field("chartElement", true);
}

} // namespace hmf::cli
