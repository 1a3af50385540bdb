// Debian's table-based liblunar-date on a list of birth hours, for comparison only:
//   lunardate_compare FILE        (lines "YYYY MM DD HH", as calendar_bench --hours reads them)
// Asks it, for each hour, what the calendar is timed on: the lunar date, the four pillars and the
// zodiac animal, and prints the time of that one pass in a fresh process. liblunar-date refuses
// 1900-01-31 to 1900-02-03 (and crashes on some of them): leave those out of the list.

#include <lunar-date/lunar-date.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lunardate_compare FILE\n");
        return 2;
    }
    struct Hour
    {
        int year, month, day, hour;
    };
    std::vector<Hour> hours;
    std::ifstream in(argv[1]);
    for (Hour h; in >> h.year >> h.month >> h.day >> h.hour;)
        hours.push_back(h);
    if (hours.empty()) {
        std::fprintf(stderr, "lunardate_compare: no birth hours in %s\n", argv[1]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    LunarDate* date = lunar_date_new();
    std::size_t sink = 0, refused = 0;
    for (const Hour& h : hours) {
        GError* error = nullptr;
        lunar_date_set_solar_date(date, static_cast<GDateYear>(h.year),
                                  static_cast<GDateMonth>(h.month), static_cast<GDateDay>(h.day),
                                  static_cast<guint8>(h.hour), &error);
        if (error) {
            g_error_free(error);
            ++refused;
            continue;
        }
        gchar* text = lunar_date_strftime(date, "%(YEAR) %(MONTH) %(DAY) %(Y8)%(M8)%(D8)%(H8) "
                                                "%(shengxiao)");
        sink += std::char_traits<char>::length(text);
        g_free(text);
    }
    lunar_date_free(date);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("liblunar-date, %zu birth hours (%zu refused): %.1f ms (%.3f us per hour)%s\n",
                hours.size(), refused, took.count(), took.count() * 1000 / hours.size(),
                sink ? "" : " ");
    return 0;
}
