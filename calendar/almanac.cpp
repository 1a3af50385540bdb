#include "calendar/almanac.h"

#include "calendar/almanactable.h"
#include "calendar/astronomy.h"

#include <cmath>
#include <mutex>

namespace hmf::calendar::almanac {
namespace {

constexpr double kUnixEpochJd = 2440587.5; // 1970-01-01 00:00 UT
constexpr double kBeijingOffset = 8.0 * 3600.0;
constexpr double kSynodicMonth = 29.530589;
constexpr int kYears = kLastYear - kFirstYear + 1;

double beijingSeconds(double jdTT)
{
    double jdUt = jdTT - astro::deltaT(jdTT) / 86400.0;
    return (jdUt - kUnixEpochJd) * 86400.0 + kBeijingOffset;
}

double approximateTT(double beijing)
{
    double jdUt = (beijing - kBeijingOffset) / 86400.0 + kUnixEpochJd;
    return jdUt + astro::deltaT(jdUt) / 86400.0;
}

int dayOf(double beijing)
{
    return static_cast<int>(std::floor(beijing / 86400.0));
}

// Three months of 1914 to 1920 begin a day earlier in the almanacs of their time than by the rule:
// their new moons fell a few minutes after midnight (00:01, 00:05, 00:04 at UTC+8), still the day
// before by the Beijing local time those almanacs used. Birth records of the time follow them.
struct AlmanacMonth
{
    int ruleStart; // first day by the rule (days since 1970-01-01)
    int printedStart;
};
constexpr AlmanacMonth kAlmanacMonths[] = {
    {-20133, -20134}, // 1914-11-18 by the rule, 1914-11-17 printed
    {-19690, -19691}, // 1916-02-04, printed 1916-02-03
    {-17948, -17949}, // 1920-11-11, printed 1920-11-10
};

// Numbers and lunar years of a span whose starts are set: from 十一月 of year-1 on, the leap
// month repeating the number before it.
void numberMonths(Months& out, int leapIndex, int year)
{
    int number = 11;
    int lunarYear = year - 1;
    for (int i = 0; i < out.count; ++i) {
        if (i == leapIndex) {
            out.number[i] = out.number[i - 1];
            out.leap[i] = true;
        } else {
            if (number == 1)
                lunarYear = year;
            out.number[i] = static_cast<int8_t>(number);
            number = number % 12 + 1;
        }
        out.lunarYear[i] = static_cast<int16_t>(lunarYear);
    }
}

bool inTable(int year)
{
    return year >= table::kFirstYear && year <= table::kLastYear;
}

template <typename T> struct Slot
{
    std::once_flag once;
    T value{};
};

} // namespace

const YearTerms& terms(int year)
{
    static std::array<Slot<YearTerms>, kYears> slots;
    Slot<YearTerms>& slot = slots.at(static_cast<std::size_t>(year - kFirstYear));
    if (inTable(year))
        return table::kTerms[static_cast<std::size_t>(year - table::kFirstYear)];
    std::call_once(slot.once, [&] { slot.value = computeTerms(year); });
    return slot.value;
}

const Months& months(int year)
{
    static std::array<Slot<Months>, kYears> slots;
    Slot<Months>& slot = slots.at(static_cast<std::size_t>(year - kFirstYear));
    std::call_once(slot.once, [&] {
        slot.value =
            inTable(year)
                ? unpack(table::kMonths[static_cast<std::size_t>(year - table::kFirstYear)], year)
                : computeMonths(year, terms(year - 1), terms(year));
    });
    return slot.value;
}

YearTerms computeTerms(int year)
{
    YearTerms out{};
    double newYearTT = kUnixEpochJd + daysFromCivil(year, 1, 1);
    for (int k = 0; k < 24; ++k) {
        double longitude = std::fmod(285.0 + 15.0 * k, 360.0);
        double when = astro::sunReaches(longitude, newYearTT + 5.5 + 15.2184 * k);
        // Rounded up: a birth at a whole hour still falls before a term a fraction after it.
        out[k] = std::ceil(beijingSeconds(when) * 1000.0) / 1000.0;
    }
    return out;
}

Months computeMonths(int year, const YearTerms& before, const YearTerms& current)
{
    const int solsticeBefore = dayOf(before[23]);
    const int solstice = dayOf(current[23]);

    Months out;
    std::array<int32_t, 14> starts{};
    double moon = astro::newMoonNear(approximateTT(before[23]));
    if (dayOf(beijingSeconds(moon)) > solsticeBefore)
        moon = astro::newMoonNear(moon - kSynodicMonth);
    int n = 0;
    for (int day = dayOf(beijingSeconds(moon)); day <= solstice && n < 14;) {
        starts[n++] = day;
        moon = astro::newMoonNear(moon + kSynodicMonth);
        day = dayOf(beijingSeconds(moon));
    }
    for (int i = 0; i < n; ++i)
        for (const AlmanacMonth& fix : kAlmanacMonths)
            if (starts[i] == fix.ruleStart)
                starts[i] = fix.printedStart;
    out.count = n - 1;
    for (int i = 0; i < n; ++i)
        out.start[i] = starts[i];

    // In a span of thirteen months the first month without a principal term is the leap month.
    int leapIndex = -1;
    if (out.count == 13) {
        std::array<int, 13> principal{};
        principal[0] = solsticeBefore;
        for (int k = 1; k < 13; ++k)
            principal[k] = dayOf(current[2 * k - 1]);
        for (int i = 0; i < 13 && leapIndex < 0; ++i) {
            bool holds = false;
            for (int day : principal)
                holds = holds || (day >= out.start[i] && day < out.start[i + 1]);
            if (!holds)
                leapIndex = i;
        }
    }
    numberMonths(out, leapIndex, year);
    return out;
}

PackedMonths pack(const Months& m)
{
    PackedMonths out{m.start[0], 0, static_cast<int8_t>(m.count), -1};
    for (int i = 0; i < m.count; ++i) {
        out.lengths |= static_cast<uint32_t>(m.start[i + 1] - m.start[i] - 28) << (2 * i);
        if (m.leap[i])
            out.leap = static_cast<int8_t>(i);
    }
    return out;
}

Months unpack(const PackedMonths& packed, int year)
{
    Months out;
    out.count = packed.count;
    out.start[0] = packed.first;
    for (int i = 0; i < out.count; ++i)
        out.start[i + 1] = out.start[i] + 28 + static_cast<int>((packed.lengths >> (2 * i)) & 3u);
    numberMonths(out, packed.leap, year);
    return out;
}

int daysFromCivil(int year, int month, int day)
{
    // Counting days in 400-year eras that start on 1 March (H. Hinnant's civil-days method).
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int days, int& year, int& month, int& day)
{
    const int z = days + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = yoe + era * 400 + (month <= 2);
}

} // namespace hmf::calendar::almanac
