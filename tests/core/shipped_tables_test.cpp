// The tables the program ships: they load without a diagnostic, hold the values the product
// promises and cover every character they must.

#include "core/datafile.h"
#include "core/gbk.h"
#include "core/grids.h"
#include "core/tables.h"
#include "core/text.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

using namespace hmf::core;
using hmf::test::failure;
using hmf::test::succeeded;

namespace {

const Tables& shipped()
{
    static std::unique_ptr<Tables> tables = [] {
        auto t = loadTables(std::getenv("HMF_DATA_DIR"));
        EXPECT_TRUE(succeeded(t));
        return t ? std::move(*t) : std::make_unique<Tables>();
    }();
    return *tables;
}

// Every GB2312 hanzi (rows 16-87 of the GB2312 grid).
std::vector<std::string> gb2312Hanzi()
{
    std::vector<std::string> out;
    for (int hi = 0xB0; hi <= 0xF7; ++hi)
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            if (hi == 0xD7 && lo > 0xF9)
                continue; // the end of level 1
            const char bytes[] = {static_cast<char>(hi), static_cast<char>(lo)};
            if (auto text = gbkToUtf8(std::string_view(bytes, 2)).text)
                out.push_back(*text);
        }
    return out;
}

} // namespace

TEST(ShippedTables, GridCountsThatNameBooksGive)
{
    const std::pair<const char*, int> cases[] = {
        {"刘", 15}, {"陈", 16}, {"国", 11}, {"爱", 13}, {"宝", 20}, {"王", 4},  {"李", 7},
        {"张", 11}, {"明", 8},  {"华", 14}, {"伟", 11}, {"芳", 10}, {"丽", 19}, {"强", 12},
        {"哎", 8},  {"一", 1},  {"二", 2},  {"三", 3},  {"四", 4},  {"五", 5},  {"六", 6},
        {"七", 7},  {"八", 8},  {"九", 9},  {"十", 10}, {"百", 6},  {"千", 3},  {"万", 15},
        {"海", 11}, {"振", 11}, {"情", 12}, {"祥", 11}, {"玲", 10}, {"郭", 15}, {"罗", 20},
        {"余", 7},  {"于", 3},  {"范", 11},
    };
    for (const auto& [c, n] : cases) {
        SCOPED_TRACE(c);
        EXPECT_EQ(shipped().gridStrokeCount(c), n);
    }
}

TEST(ShippedTables, AComponentCountsTheSameInEveryCharacter)
{
    // 者 9, 即 9, 既 11, 叟 10 in their Kangxi forms, whatever character holds them.
    const std::pair<const char*, int> cases[] = {
        {"暑", 13}, {"署", 15}, {"著", 15}, {"都", 16}, {"诸", 16}, {"储", 18}, {"节", 15},
        {"鲫", 20}, {"即", 9},  {"慨", 15}, {"嘅", 14}, {"既", 11}, {"搜", 14}, {"嫂", 13},
    };
    for (const auto& [c, n] : cases) {
        SCOPED_TRACE(c);
        EXPECT_EQ(shipped().gridStrokeCount(c), n);
    }
}

// Beside our count, the other count that name books give where they count a character another
// documented way; nothing where they agree (周 is 8 in both, not 15 from 週).
TEST(ShippedTables, NotesBesideCountsAndElements)
{
    const std::pair<const char*, const char*> strokes[] = {
        {"松", "（另有18画之说）"}, // the dictionary counts 鬆, another word
        {"范", "（另有15画之说）"},
        {"姜", "（另有19画之说）"},
        {"钟", "（另有20画之说）"},
        {"四", "（另有5画之说）"}, // written strokes, where we count the numeral's value
        {"十", "（另有2画之说）"},
        {"才", "（另有4画之说）"}, // a radical as its full form
        {"即", "（另有7画之说）"},
        {"愿", "（另有14画之说）"}, // the simplified glyph
        {"周", ""},
        {"刘", ""},
        {"千", ""},
        {"海", ""},
        {"沄", ""},
        {"服", ""}, // a slip, no view
    };
    for (const auto& [c, note] : strokes) {
        SCOPED_TRACE(c);
        EXPECT_EQ(shipped().strokeNote(c), note);
    }
    EXPECT_EQ(shipped().notedStrokeString("诸葛"), "16-15");
    EXPECT_EQ(shipped().notedStrokeString("姜松"), "9（另有19画之说）-8（另有18画之说）");

    // Stems and branches that name books class by sound or sense take the chart's element.
    const std::pair<const char*, const char*> elements[] = {
        {"丑", "（命理取土）"},
        {"寅", "（命理取木）"},
        {"未", "（命理取土）"},
        {"乙", "（命理取木）"},
        {"癸", "（命理取水）"},
        {"甲", ""},
        {"子", ""},
        {"辰", ""},
        {"明", ""},
    };
    for (const auto& [c, note] : elements) {
        SCOPED_TRACE(c);
        EXPECT_EQ(shipped().elementNote(c), note);
    }
}

// A character counts as the traditional form the report shows for it: its grid count is the
// general count of that form, for every GBK character. Characters outside GB2312 that Kangxi
// holds as entries of their own show and count themselves, not a form OpenCC maps them to.
TEST(ShippedTables, EveryCharacterCountsAsTheFormShown)
{
    const auto& t = shipped();
    const std::pair<const char*, int> ownForms[] = {
        {"沄", 8},  {"箓", 14}, {"苧", 11}, {"蔂", 17},
        {"榝", 14}, {"緼", 15}, {"蒀", 15}, {"慭", 15},
    };
    for (const auto& [c, n] : ownForms) {
        SCOPED_TRACE(c);
        EXPECT_EQ(t.gridStrokeCount(c), n);
        EXPECT_EQ(t.traditional.toTraditional(c), c);
    }
    // A later simplified form that Kangxi lacks counts and shows its traditional form.
    EXPECT_EQ(t.traditional.toTraditional("玙"), "璵");
    EXPECT_EQ(t.gridStrokeCount("玙"), 19);

    // Numerals count their value, and 哎 counts 8 as the product documents.
    const std::string valueCounts = "八九六七十四五哎";
    std::size_t checked = 0;
    for (int hi = 0x81; hi <= 0xFE; ++hi)
        for (int lo = 0x40; lo <= 0xFE; ++lo) {
            const char bytes[] = {static_cast<char>(hi), static_cast<char>(lo)};
            const auto text = gbkToUtf8(std::string_view(bytes, 2)).text;
            const auto cp = text ? singleCodepoint(*text) : std::nullopt;
            if (!cp || !t.strokes.hasGridCount(*cp) || valueCounts.find(*text) != std::string::npos)
                continue;
            ++checked;
            const char32_t form = t.traditional.toTraditional(*cp);
            EXPECT_EQ(t.strokes.gridCount(*cp), t.strokes.generalCount(form))
                << *text << " shown as " << toUtf8(form);
        }
    EXPECT_GT(checked, 20000u);
}

TEST(ShippedTables, ElementsReadingsAndTraditionalForms)
{
    const auto& t = shipped();
    const std::pair<const char*, const char*> elements[] = {
        {"文", "水"}, {"自", "火"}, {"又", "土"}, {"林", "木"},
        {"海", "水"}, {"鑫", "金"}, {"炎", "火"}, {"坤", "土"},
    };
    for (const auto& [c, e] : elements) {
        SCOPED_TRACE(c);
        EXPECT_EQ(t.elements.elementOf(c), e);
    }
    EXPECT_EQ(t.pinyin.pinyinOf("长"), "cháng");
    EXPECT_EQ(t.pinyin.pinyinOf("行"), "xíng");
    EXPECT_EQ(t.pinyin.pinyinOf("曾"), "céng");
    EXPECT_EQ(t.pinyin.pinyinOf("朝"), "zhāo"); // the readings names use come first
    EXPECT_EQ(t.pinyin.pinyinOf("冠"), "guàn");
    EXPECT_EQ(t.traditional.toTraditional("刘德华"), "劉德華");
    EXPECT_EQ(t.traditional.toTraditional("余华"), "余華");
}

TEST(ShippedTables, SurnamesReadAsSurnames)
{
    // Polyphonic single surnames, compound surnames, a traditional form, and a surname that is
    // read as usual.
    const std::pair<const char*, const char*> cases[] = {
        {"曾", "zēng"},       {"单", "shàn"},   {"解", "xiè"},      {"区", "ōu"},
        {"仇", "qiú"},        {"朴", "piáo"},   {"查", "zhā"},      {"盖", "gě"},
        {"种", "chóng"},      {"缪", "miào"},   {"乐", "yuè"},      {"任", "rén"},
        {"尉迟", "yùchí"},    {"万俟", "mòqí"}, {"单于", "chányú"}, {"澹台", "tántái"},
        {"长孙", "zhǎngsūn"}, {"單", "shàn"},   {"张", "zhāng"},
    };
    for (const auto& [surname, reading] : cases) {
        SCOPED_TRACE(surname);
        EXPECT_EQ(shipped().surnamePinyin(surname), reading);
    }
    // A pair that is no surname reads character by character.
    EXPECT_EQ(shipped().surnamePinyin("张曾"), "zhāngcéng");
}

TEST(ShippedTables, CoverEveryGb2312Character)
{
    const auto& t = shipped();
    int missing = 0;
    for (const auto& c : gb2312Hanzi()) {
        const char32_t cp = *singleCodepoint(c);
        const char32_t trad = t.traditional.toTraditional(cp);
        const bool ok = t.gridStrokeCount(c) > 0 && t.strokes.hasGroupCount(cp) &&
                        !t.elements.elementOf(c).empty() &&
                        !t.elements.elementOf(toUtf8(trad)).empty() &&
                        !t.pinyin.pinyinOf(c).empty();
        if (!ok && ++missing <= 10)
            ADD_FAILURE() << c << " lacks a count, element or reading";
    }
    EXPECT_EQ(missing, 0);
    EXPECT_GE(t.strokes.generalSize(), 20000u);
    EXPECT_GE(t.pinyin.size() + t.pinyin.fallbackSize(), 20900u);
}

TEST(ShippedTables, ReferenceTexts)
{
    const auto& t = shipped();
    int counts[3] = {};
    for (int n = 1; n <= 81; ++n) {
        const auto v = t.luck.verdict(n);
        counts[v == "吉" ? 0 : v == "半吉" ? 1 : 2]++;
        EXPECT_FALSE(t.luck.entry(n).meaning.empty()) << n;
    }
    EXPECT_EQ(counts[0], 30);
    EXPECT_EQ(counts[1], 14);
    EXPECT_EQ(counts[2], 37);
    EXPECT_EQ(t.luck.entry(17).career, "天官、将星、威武、艺术、文昌。");
    EXPECT_EQ(t.sexagenary.row(1), "木,水,");
    EXPECT_EQ(t.sexagenary.row(11), "木,土,");
    EXPECT_EQ(t.sexagenary.row(60), "水,水,");
    EXPECT_NE(t.tipsText.find("取名技巧"), std::string::npos);
    EXPECT_NE(t.threeTalentText.find("（吉）"), std::string::npos);
    // Every configuration has its verdict: 32 吉, 13 半吉, 25 半凶, 55 凶.
    std::map<TalentVerdict, int> talents;
    for (int tian : {1, 3, 5, 7, 9})
        for (int ren : {1, 3, 5, 7, 9})
            for (int di : {1, 3, 5, 7, 9})
                ++talents[t.threeTalents.verdict(tian, ren, di)];
    EXPECT_EQ(talents[TalentVerdict::Good], 32);
    EXPECT_EQ(talents[TalentVerdict::FairGood], 13);
    EXPECT_EQ(talents[TalentVerdict::FairBad], 25);
    EXPECT_EQ(talents[TalentVerdict::Bad], 55);
    EXPECT_EQ(t.threeTalents.verdict(11, 11, 12), TalentVerdict::Good); // 木 木 木
}

// Every provincial-level capital is a birthplace, at its longitude to about a degree (a
// prefecture's centroid, not its seat: 4 minutes of solar time a degree).
TEST(ShippedTables, BirthplacesCoverTheCapitals)
{
    const struct
    {
        const char* name;
        double seat; // longitude of the city seat
    } capitals[] = {
        {"北京", 116.4},   {"天津", 117.2},   {"上海", 121.5},     {"重庆", 106.5},
        {"石家庄", 114.5}, {"太原", 112.5},   {"呼和浩特", 111.7}, {"沈阳", 123.4},
        {"长春", 125.3},   {"哈尔滨", 126.6}, {"南京", 118.8},     {"杭州", 120.2},
        {"合肥", 117.3},   {"福州", 119.3},   {"南昌", 115.9},     {"济南", 117.0},
        {"郑州", 113.6},   {"武汉", 114.3},   {"长沙", 112.9},     {"广州", 113.3},
        {"南宁", 108.4},   {"海口", 110.3},   {"成都", 104.1},     {"贵阳", 106.6},
        {"昆明", 102.7},   {"拉萨", 91.1},    {"西安", 108.9},     {"兰州", 103.8},
        {"西宁", 101.8},   {"银川", 106.2},   {"乌鲁木齐", 87.6},  {"台北", 121.5},
        {"香港", 114.2},   {"澳门", 113.5},
    };
    const auto& t = shipped();
    EXPECT_GE(t.cities.cities().size(), 330u); // the prefecture-level cities too
    for (const auto& c : capitals) {
        SCOPED_TRACE(c.name);
        const City* city = t.cities.match(c.name).city;
        ASSERT_NE(city, nullptr);
        EXPECT_NEAR(city->longitude, c.seat, 1.5);
    }
}

TEST(LoadTables, NamesTheMissingOrDamagedFile)
{
    namespace fs = std::filesystem;
    const fs::path source = std::getenv("HMF_DATA_DIR");
    const fs::path dir = fs::path(testing::TempDir()) / "hmf-damaged-data";
    struct Case
    {
        std::string file;
        std::string content; // empty: the file is removed
        int line;
    };
    const Case cases[] = {
        {"elements.txt", "", 0},
        {"surnames.txt", "", 0},
        // 尉迟 with one syllable for two characters.
        {"surnames.txt",
         *utf8ToGbk("# 行数：2\n") + "\xD4\xF8\tz\xA8\xA5ng\n\xCE\xBE\xB3\xD9\ty\xA8\xB4\n", 3},
        {"luck81.txt", "", 0},
        {"sexagenary.txt", "\xC4\xBE,\xCB\xAE,\r\n\xC4\xBE,\xCB\xAE,\r\n\xFF\xFF", 3},
        {"gridstrokes.txt",
         "\xB0\xA1"
         "16 \r\n\xB0\xA2"
         "1x ",
         2},
        {"meanings.txt", "", 0},
        {"badwords.txt", *utf8ToGbk("# 行数：1\n# 词\t读音\t原因\n饭桶\tfan4 tong\t辱骂\n"), 3},
        {"levels.txt", *utf8ToGbk("# 行数：2\n一\t1\n丁\t一级\n"), 3},
        {"polyphones.txt", "", 0},
        {"names.txt", "", 0},
        // No count line; the count larger than the names (a file cut short); no 寓意.
        {"names.txt", *utf8ToGbk("子涵\t女\t涵养深厚\t\n"), 1},
        {"names.txt", *utf8ToGbk("# 名字数：3\n子涵\t女\t涵养深厚\t\n浩然\t男\t正气\t\n"), 0},
        {"names.txt", *utf8ToGbk("# 名字数：1\n子涵\t女\t\t\n"), 2},
        {"namepairs.txt", *utf8ToGbk("# 搭配数：2\n秀英\n"), 0},
        {"namepairs.txt", *utf8ToGbk("# 搭配数：1\n秀\n"), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fs::remove_all(dir);
        fs::copy(source, dir);
        if (c.content.empty())
            fs::remove(dir / c.file);
        else
            std::ofstream(dir / c.file, std::ios::binary) << c.content;
        const Error e = failure(loadTables(dir));
        EXPECT_EQ(e.file, c.file);
        EXPECT_EQ(e.line, c.line);
        EXPECT_FALSE(e.what.empty());
        // Another group reads without the file; the file stops the group that needs it later.
        const unsigned other = c.file == "luck81.txt" ? kSexagenaryTable : kLuckTable;
        auto some = loadTables(dir, other);
        ASSERT_TRUE(succeeded(some));
        const Error later = failure((*some)->load(kAllTables));
        EXPECT_EQ(later.file, c.file);
        EXPECT_EQ(later.line, c.line);
    }
    fs::remove_all(dir);
}

// A table replaced by another or cut short parses, but leaves common characters without a reading,
// a grid count or the traditional form their grid count is taken from: loading stops.
TEST(LoadTables, RefusesATableThatFallsShortOfTheOthers)
{
    namespace fs = std::filesystem;
    const fs::path source = std::getenv("HMF_DATA_DIR");
    const fs::path dir = fs::path(testing::TempDir()) / "hmf-short-data";
    const auto firstLines = [&](const char* file, int count) {
        std::ifstream in(source / file, std::ios::binary);
        std::string text, line;
        for (int i = 0; i < count && std::getline(in, line); ++i)
            text += line + "\n";
        return text;
    };
    const auto whole = [&](const char* file) {
        std::ifstream in(source / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::pair<std::string, std::string> cases[] = {
        {"pinyin.txt", whole("pinyin-fallback.txt")},
        {"traditional.txt", firstLines("traditional.txt", 1000)},
        {"gridstrokes.txt", firstLines("gridstrokes.txt", 300)},
    };
    for (const auto& [file, content] : cases) {
        SCOPED_TRACE(file);
        fs::remove_all(dir);
        fs::copy(source, dir);
        std::ofstream(dir / file, std::ios::binary) << content;
        const Error e = failure(loadTables(dir));
        EXPECT_EQ(e.file, file);
        EXPECT_NE(e.what.find("表不全"), std::string::npos) << e.message();
        // Checked as well when its group is read after the stroke tables.
        auto some = loadTables(dir, kStrokeTables | kElementTable);
        ASSERT_EQ(some.ok(), file != "gridstrokes.txt");
        const Error later = some ? failure((*some)->load(kAllTables)) : some.error();
        EXPECT_EQ(later.file, file);
    }
    fs::remove_all(dir);
}
