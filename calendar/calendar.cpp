#include "calendar/calendar.h"

#include "calendar/almanac.h"

namespace hmf::calendar {
namespace {

constexpr std::string_view kStems[10] = {"甲", "乙", "丙", "丁", "戊",
                                         "己", "庚", "辛", "壬", "癸"};
constexpr std::string_view kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                            "午", "未", "申", "酉", "戌", "亥"};
constexpr std::string_view kAnimals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                           "马", "羊", "猴", "鸡", "狗", "猪"};
// Two neighbouring pairs share one nayin: 甲子 乙丑 海中金, 丙寅 丁卯 炉中火, ...
constexpr std::string_view kNayin[30] = {
    "海中金", "炉中火", "大林木", "路旁土", "剑锋金", "山头火", "涧下水", "城头土",
    "白蜡金", "杨柳木", "泉中水", "屋上土", "霹雳火", "松柏木", "长流水", "沙中金",
    "山下火", "平地木", "壁上土", "金箔金", "覆灯火", "天河水", "大驿土", "钗钏金",
    "桑柘木", "大溪水", "沙中土", "天上火", "石榴木", "大海水"};

// 1900-01-31 and 2100-12-31 as days since 1970-01-01.
const int kFirstDay = almanac::daysFromCivil(1900, 1, 31);
const int kLastDay = almanac::daysFromCivil(2100, 12, 31);

// The Julian day number of 1970-01-01 plus the offset that makes day 2000-01-01 come out 戊午.
constexpr int kDayCycleOffset = 2440588 + 49;
// 戊寅 (index 14) is the 寅 month of 1900.
constexpr int kMonthCycleOffset = 14;

int cycleMod(long long n)
{
    long long r = n % 60;
    return static_cast<int>(r < 0 ? r + 60 : r);
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

bool valid(const BirthTime& t)
{
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month))
        return false;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.year < 1900 ||
        t.year > 2100)
        return false; // the year test also keeps the day count clear of overflow
    int day = almanac::daysFromCivil(t.year, t.month, t.day);
    return day >= kFirstDay && day <= kLastDay;
}

// Cycle indices 0..59 of the four pillars of a valid time; the day and hour pillars are those of
// `localDay` and `localHour` (the clock's own unless true solar time moves them).
std::array<int, 4> pillarIndices(const BirthTime& t, int localDay, int localHour)
{
    const int day = almanac::daysFromCivil(t.year, t.month, t.day);
    const double seconds = day * 86400.0 + t.hour * 3600.0 + t.minute * 60.0;
    const almanac::YearTerms& terms = almanac::terms(t.year);
    const int pillarYear = seconds >= terms[2] ? t.year : t.year - 1;
    int k = 22; // the latest 节 (even term) at or before the time; before 小寒 it is last 大雪
    while (k >= 0 && seconds < terms[k])
        k -= 2;
    const long long monthsSince1900 = 12LL * (t.year - 1900) + (k >= 0 ? k / 2 - 1 : -2);
    const int dayIndex = cycleMod(localDay + kDayCycleOffset);
    // From 23:00 the 子 hour belongs to the next day: (hour + 1) / 2 reaches 12 and carries.
    return {cycleMod(pillarYear - 4), cycleMod(kMonthCycleOffset + monthsSince1900), dayIndex,
            cycleMod(dayIndex * 12LL + (localHour + 1) / 2)};
}

std::array<int, 4> pillarIndices(const BirthTime& t)
{
    return pillarIndices(t, almanac::daysFromCivil(t.year, t.month, t.day), t.hour);
}

// The month entries of lunar year `year` lie in the spans of two Gregorian years: 正月 to about
// 十月 in the span ending at 冬至 of `year`, 十一月 and 十二月 in the next one.
struct LunarMonthPlace
{
    const almanac::Months* span = nullptr;
    int index = 0;
};

std::optional<LunarMonthPlace> findLunarMonth(int year, int month, bool leap)
{
    if (year < 1900 || year > 2100 || month < 1 || month > 12)
        return std::nullopt;
    for (int spanYear : {year, year + 1}) {
        const almanac::Months& span = almanac::months(spanYear);
        for (int i = 0; i < span.count; ++i)
            if (span.lunarYear[i] == year && span.number[i] == month && span.leap[i] == leap)
                return LunarMonthPlace{&span, i};
    }
    return std::nullopt;
}

const char* const kChineseMonths[12] = {"正月", "二月", "三月", "四月", "五月",   "六月",
                                        "七月", "八月", "九月", "十月", "十一月", "十二月"};

std::string pairText(int index)
{
    std::string out(kStems[index % 10]);
    out += kBranches[index % 12];
    return out;
}

} // namespace

core::Status checkBirthTime(const BirthTime& t)
{
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month))
        return core::inputError("请填写正确的出生日期");
    if (t.hour < 0 || t.hour > 23)
        return core::inputError("出生时辰应在0到23之间");
    if (t.minute < 0 || t.minute > 59)
        return core::inputError("出生时间的分钟应在0到59之间");
    if (!valid(t))
        return core::inputError("出生日期超出支持范围（1900年1月31日至2100年12月31日）");
    return {};
}

std::optional<LunarDate> lunarDate(const BirthTime& t)
{
    if (!valid(t))
        return std::nullopt;
    const int day = almanac::daysFromCivil(t.year, t.month, t.day);
    const almanac::Months* span = &almanac::months(t.year + 1);
    if (day < span->start[0])
        span = &almanac::months(t.year);
    int i = span->count - 1;
    while (i > 0 && day < span->start[i])
        --i;
    return LunarDate{span->lunarYear[i], span->number[i], day - span->start[i] + 1, span->leap[i]};
}

std::optional<std::array<int, 4>> pillarNumbers(const BirthTime& t)
{
    if (!valid(t))
        return std::nullopt;
    std::array<int, 4> out = pillarIndices(t);
    for (int& n : out)
        ++n;
    return out;
}

std::optional<std::array<std::string, 4>> pillars(const BirthTime& t)
{
    if (!valid(t))
        return std::nullopt;
    std::array<int, 4> indices = pillarIndices(t);
    return std::array<std::string, 4>{pairText(indices[0]), pairText(indices[1]),
                                      pairText(indices[2]), pairText(indices[3])};
}

std::optional<std::string> zodiacAnimal(const BirthTime& t)
{
    if (!valid(t))
        return std::nullopt;
    return std::string(kAnimals[pillarIndices(t)[0] % 12]);
}

std::string cyclePair(int n)
{
    if (n < 1 || n > 60)
        return {};
    return pairText(n - 1);
}

int cycleIndex(std::string_view pair)
{
    // Every stem and branch is one three-byte character; a stem pairs with the branches of its
    // parity, and the pair's place in the cycle follows from both (6·stem − 5·branch mod 60).
    if (pair.size() != 6)
        return 0;
    int stem = 0;
    while (stem < 10 && kStems[stem] != pair.substr(0, 3))
        ++stem;
    int branch = 0;
    while (branch < 12 && kBranches[branch] != pair.substr(3))
        ++branch;
    if (stem == 10 || branch == 12 || stem % 2 != branch % 2)
        return 0;
    return cycleMod(6 * stem - 5 * branch) + 1;
}

std::string nayin(std::string_view pair)
{
    int n = cycleIndex(pair);
    return n == 0 ? std::string() : std::string(kNayin[(n - 1) / 2]);
}

int lunarMonthDays(int year, int month, bool leap)
{
    auto place = findLunarMonth(year, month, leap);
    if (!place)
        return 0;
    return place->span->start[place->index + 1] - place->span->start[place->index];
}

core::Status checkLunarDate(const LunarDate& d)
{
    if (d.year < 1900 || d.year > 2100)
        return core::inputError("农历日期超出支持范围（1900年正月初一至2100年十二月初一）");
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 30)
        return core::inputError("请填写正确的农历日期");
    const std::string monthName = std::string(d.leap ? "闰" : "") + kChineseMonths[d.month - 1];
    const int days = lunarMonthDays(d.year, d.month, d.leap);
    if (days == 0)
        return core::inputError("农历" + std::to_string(d.year) + "年没有" + monthName);
    if (d.day > days)
        return core::inputError("农历" + std::to_string(d.year) + "年" + monthName + "只有" +
                                std::to_string(days) + "天");
    auto place = findLunarMonth(d.year, d.month, d.leap);
    const int day = place->span->start[place->index] + d.day - 1;
    if (day < kFirstDay || day > kLastDay)
        return core::inputError("农历日期超出支持范围（1900年正月初一至2100年十二月初一）");
    return {};
}

std::optional<BirthTime> solarDate(const LunarDate& d, int hour)
{
    if (!checkLunarDate(d))
        return std::nullopt;
    auto place = findLunarMonth(d.year, d.month, d.leap);
    BirthTime out{0, 0, 0, hour, 0};
    almanac::civilFromDays(place->span->start[place->index] + d.day - 1, out.year, out.month,
                           out.day);
    return out;
}

std::optional<std::array<int, 4>> pillarNumbers(const BirthTime& clock, const LocalTime& local)
{
    if (!valid(clock))
        return std::nullopt;
    std::array<int, 4> out = pillarIndices(
        clock, almanac::daysFromCivil(local.year, local.month, local.day), local.hour);
    for (int& n : out)
        ++n;
    return out;
}

std::optional<double> solarTerm(int year, int k)
{
    if (year < 1900 || year > 2100 || k < 0 || k > 23)
        return std::nullopt;
    return almanac::terms(year)[static_cast<std::size_t>(k)];
}

} // namespace hmf::calendar
