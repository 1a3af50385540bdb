#include "calendar/birthchart.h"

namespace hmf::calendar {
namespace {

constexpr std::string_view kElements[5] = {"金", "木", "水", "火", "土"};

} // namespace

std::string elementText(const std::array<std::string, 4>& pillars,
                        const core::SexagenaryTable& table)
{
    std::string out;
    for (const std::string& pillar : pillars)
        if (int n = cycleIndex(pillar); n != 0)
            out += table.row(n);
    return out;
}

std::string nayinText(const std::array<std::string, 4>& pillars)
{
    std::string out;
    for (const std::string& pillar : pillars) {
        out += ' ';
        out += nayin(pillar);
    }
    std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

int countOccurrences(std::string_view text, std::string_view part)
{
    if (part.empty())
        return 0;
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

std::optional<BirthChart> birthChart(const BirthTime& time, const core::SexagenaryTable& table)
{
    return birthChart(time, BirthDetails{}, table);
}

std::optional<BirthChart> birthChart(const BirthTime& time, const BirthDetails& details,
                                     const core::SexagenaryTable& table)
{
    auto numbers = chartPillars(time, details);
    auto lunar = lunarDate(time);
    auto animal = zodiacAnimal(time);
    if (!numbers || !lunar || !animal)
        return std::nullopt;
    BirthChart chart;
    chart.time = time;
    for (int i = 0; i < 4; ++i)
        chart.pillars[i] = cyclePair((*numbers)[i]);
    chart.zodiac = std::move(*animal);
    chart.lunar = *lunar;
    chart.elementText.reserve(32);
    for (int n : *numbers)
        chart.elementText += table.row(n);
    chart.countLine.reserve(96);
    chart.countLine = "五行个数：";
    for (int k = 0; k < 5; ++k) {
        chart.counts[k] = countOccurrences(chart.elementText, kElements[k]);
        chart.countLine += k == 0 ? " " : "  ";
        chart.countLine += kElements[k];
        chart.countLine += "：";
        chart.countLine += std::to_string(chart.counts[k]);
        chart.countLine += "个";
        if (chart.counts[k] == 0) {
            chart.missing += kElements[k];
            chart.missing += "  ";
        }
    }
    chart.nayinText = nayinText(chart.pillars);
    return chart;
}

std::string favourableLine(const BirthChart& chart)
{
    return chart.missing.empty() ? "此喜用神：生辰八字不缺" : "此喜用神为:" + chart.missing;
}

std::string chartText(const BirthChart& chart)
{
    const auto& p = chart.pillars;
    std::string out;
    out += "属相：" + chart.zodiac + "\r\n";
    out += "四柱：" + p[0] + "年 " + p[1] + "月 " + p[2] + "日 " + p[3] + "时\r\n";
    out += "八字：" + p[0] + " " + p[1] + " " + p[2] + " " + p[3] + "\r\n";
    out += "五行：" + chart.elementText + "\r\n";
    out += "纳音：" + chart.nayinText + "\r\n";
    out += "五行： " + chart.elementText + "\r\n";
    out += chart.countLine + "\r\n";
    out += "五行缺：" + chart.missing + "\r\n";
    out += favourableLine(chart) + "\r\n";
    return out;
}

} // namespace hmf::calendar
