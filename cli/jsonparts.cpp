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

} // namespace

void writeBirth(JsonWriter& json, const calendar::BirthTime& time)
{
    json.beginObject()
        .field("year", time.year)
        .field("month", time.month)
        .field("day", time.day)
        .field("hour", time.hour)
        .endObject();
}

void writeChart(JsonWriter& json, const calendar::BirthChart& chart)
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

void writeThreeTalent(JsonWriter& json, const core::FiveGrids& grids)
{
    const core::ThreeTalent talent = core::threeTalentFigures(grids);
    json.beginObject()
        .field("天才", talent.tian)
        .field("人才", talent.ren)
        .field("地才", talent.di)
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
                        bool surname)
{
    const std::string traditional = tables.traditional.toTraditional(c);
    const std::string& read = surname ? traditional : c;
    const int grid = tables.gridStrokeCount(c);
    const int display = tables.displayStrokeCount(c);
    json.beginObject()
        .field("character", c)
        .field("traditional", traditional)
        .key("pinyin")
        .textOrNull(surname ? tables.surnamePinyin(c) : tables.pinyin.pinyinOf(c))
        .key("gridStrokes")
        .value(grid >= 0 ? std::optional<int>(grid) : std::nullopt)
        .key("displayStrokes")
        .value(display > 0 ? std::optional<int>(display) : std::nullopt)
        .key("element")
        .textOrNull(tables.elements.elementOf(read))
        .endObject();
}

} // namespace hmf::cli
