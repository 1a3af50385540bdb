// The assessment of a name: each kind of reason on names that show it and on common real names
// that must pass, and the weights' order (a fault costs more than any nuance).

#include "core/text.h"
#include "naming/assessment.h"
#include "shippedtables.h"
#include "tests/testresult.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

using namespace hmf;
using namespace hmf::naming;

namespace {

// The shipped strokes, readings and elements, with small meaning, bad-word and level tables
// that show the rules.
const core::Tables& fixtureTables()
{
    static const core::Tables tables = [] {
        core::Tables t = naming::test::shippedTables();
        const bool ok =
            t.meanings
                .parse("明\t中\t+\t光明\n华\t中\t+\t光华\n美\t女\t+\t美好\n"
                       "泰\t男\t+\t安泰\n浅\t中\t-\t浅薄\n思\t中\t+\t思考\n"
                       "远\t中\t+\t长远\n悦\t中\t+\t喜悦\n欣\t女\t+\t欣喜\n"
                       "宇\t男\t+\t宇宙\n轩\t男\t+\t气宇轩昂\n怡\t女\t+\t和悦\n"
                       "婷\t女\t+\t美好\n涵\t中\t+\t包容\n嘉\t中\t+\t美好\n"
                       "子\t中\t0\t孩子\n腾\t男\t+\t奔腾\n浩\t男\t+\t浩大\n",
                       "meanings.txt")
                .ok() &&
            t.badWords
                .parse("饭桶\tfan4 tong3\t辱骂\n肚子疼\tdu4 zi5 teng2\t笑柄\n"
                       "出墓\tchu1 mu4\t死亡\n无人要\twu2 ren2 yao4\t笑柄\n"
                       "阳痿\tyang2 wei3\t疾病\n网友\twang3 you3\t笑柄\n留级\tliu2 ji2\t学业\n",
                       "badwords.txt")
                .ok() &&
            t.levels
                .parse("明\t1\n华\t1\n美\t1\n泰\t1\n浅\t1\n思\t1\n远\t1\n悦\t1\n欣\t1\n"
                       "宇\t1\n轩\t2\n怡\t2\n婷\t2\n涵\t2\n嘉\t1\n子\t1\n腾\t1\n浩\t1\n"
                       "楚\t1\n慕\t1\n统\t1\n仁\t1\n耀\t1\n琛\t2\n唯\t1\n铭\t2\n道\t1\n"
                       "河\t1\n捷\t1\n晨\t1\n犇\t3\n",
                       "levels.txt")
                .ok();
        EXPECT_TRUE(ok);
        return t;
    }();
    return tables;
}

core::Result<Assessment> assessed(std::string_view surname, std::string_view given,
                                  std::string_view sex = "",
                                  std::optional<calendar::BirthTime> birth = std::nullopt)
{
    return assessName(fixtureTables(),
                      {std::string(surname), std::string(given), std::string(sex), birth});
}

// The assessment of a name the checks accept.
Assessment assess(std::string_view surname, std::string_view given, std::string_view sex = "",
                  std::optional<calendar::BirthTime> birth = std::nullopt)
{
    auto a = assessed(surname, given, sex, birth);
    EXPECT_TRUE(hmf::test::succeeded(a));
    return a ? *a : Assessment{};
}

// The first cost of a kind whose text mentions `part`.
const AssessmentFlag* flagOf(const Assessment& a, FlagKind kind, std::string_view part = "")
{
    auto it = std::find_if(a.flags.begin(), a.flags.end(), [&](const AssessmentFlag& f) {
        return f.kind == kind && f.points < 0 && f.text.find(part) != std::string::npos;
    });
    return it == a.flags.end() ? nullptr : &*it;
}

struct Case
{
    std::string_view surname, given, sex;
    FlagKind kind;
    bool flagged; // a cost of this kind is expected
    bool fault;   // ... and it is a fault
    std::string_view mentions = "";
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.surname << c.given << " " << c.sex << " " << kindName(c.kind);
}

class AssessmentKinds : public testing::TestWithParam<Case>
{
};

TEST_P(AssessmentKinds, FlagsWhatTheNameShowsAndPassesWhatIsFine)
{
    const Case& c = GetParam();
    const Assessment a = assess(c.surname, c.given, c.sex);
    const AssessmentFlag* f = flagOf(a, c.kind, c.mentions);
    if (!c.flagged) {
        EXPECT_EQ(f, nullptr) << f->text;
        return;
    }
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->fault, c.fault) << f->text;
}

INSTANTIATE_TEST_SUITE_P(
    Homophones, AssessmentKinds,
    testing::Values(Case{"杜", "子腾", "", FlagKind::Homophone, true, true, "音近“肚子疼”"},
                    Case{"范", "统", "", FlagKind::Homophone, true, true, "“范统”音近“饭桶”"},
                    Case{"吴", "仁耀", "", FlagKind::Homophone, true, true, "无人要"},
                    Case{"杨", "伟", "", FlagKind::Homophone, true, true, "“杨伟”音近“阳痿”"},
                    // 网友 wǎng yǒu is said wáng yǒu.
                    Case{"王", "友", "", FlagKind::Homophone, true, true, "音近“网友”"},
                    // Another tone makes another word: 楚慕 chǔ mù, 出墓 chū mù; 刘基, 留级.
                    Case{"陈", "楚慕", "", FlagKind::Homophone, false, false},
                    Case{"刘", "基", "", FlagKind::Homophone, false, false},
                    Case{"刘", "季", "", FlagKind::Homophone, false, false},
                    // Real names that share one syllable with a listed word.
                    Case{"陈", "楚悦", "", FlagKind::Homophone, false, false},
                    Case{"杜", "子涵", "", FlagKind::Homophone, false, false},
                    Case{"范", "思远", "", FlagKind::Homophone, false, false}));

INSTANTIATE_TEST_SUITE_P(
    Sounds, AssessmentKinds,
    testing::Values(Case{"陈", "琛唯", "", FlagKind::Tone, true, true, "与姓氏“陈”同音"},
                    Case{"陈", "铭明", "", FlagKind::Tone, true, true, "读音相同"},
                    // The surname sounds as a surname: 单 shàn, 曾 zēng.
                    Case{"单", "善明", "", FlagKind::Tone, true, true, "与姓氏“单”同音"},
                    Case{"单", "丹明", "", FlagKind::Tone, false, false, "同音"},
                    Case{"曾", "增明", "", FlagKind::Tone, true, true, "与姓氏“曾”同音"},
                    // A one-character name may echo the surname, tone and all, as 婷婷 doubles
                    // a sound; a name that goes on after the echo stumbles.
                    Case{"陈", "晨", "男", FlagKind::Tone, false, false},
                    Case{"杨", "洋", "女", FlagKind::Tone, false, false},
                    Case{"陈", "晨曦", "", FlagKind::Tone, true, true, "“晨”与姓氏“陈”同音"},
                    // Doubled characters are usual for girls, for boys a pet name.
                    Case{"王", "甜甜", "女", FlagKind::Tone, false, false},
                    Case{"陈", "道道", "男", FlagKind::Tone, true, false, "叠字名"},
                    // Four syllables of one tone are monotone; three are common in real names,
                    // as are all level tones and a third tone after 李.
                    Case{"陈", "河捷明", "", FlagKind::Tone, true, true, "第二声"},
                    Case{"陈", "河捷", "", FlagKind::Tone, false, false},
                    Case{"张", "佳欣", "", FlagKind::Tone, false, false},
                    Case{"张", "明华", "", FlagKind::Tone, false, false},
                    Case{"李", "美欣", "", FlagKind::Tone, false, false},
                    Case{"李", "思远", "", FlagKind::Tone, false, false},
                    Case{"王", "浩宇", "", FlagKind::Tone, false, false},
                    Case{"林", "悦怡", "", FlagKind::Tone, false, false}));

INSTANTIATE_TEST_SUITE_P(
    Meanings, AssessmentKinds,
    testing::Values(Case{"林", "浅", "", FlagKind::Meaning, true, true, "浅薄"},
                    Case{"林", "美泰", "女", FlagKind::Meaning, true, false, "多用于男孩名"},
                    Case{"林", "美泰", "男", FlagKind::Meaning, true, false, "多用于女孩名"},
                    Case{"林", "道", "", FlagKind::Meaning, true, false, "未收录"},
                    Case{"林", "美泰", "", FlagKind::Meaning, false, false},
                    Case{"王", "浩宇", "男", FlagKind::Meaning, false, false},
                    Case{"林", "欣怡", "女", FlagKind::Meaning, false, false}));

INSTANTIATE_TEST_SUITE_P(
    Characters, AssessmentKinds,
    testing::Values(Case{"林", "犇", "", FlagKind::Usage, true, false, "三级字"},
                    Case{"林", "龘", "", FlagKind::Usage, true, true, "不在通用规范汉字表内"},
                    Case{"林", "婷", "", FlagKind::Usage, false, false},
                    Case{"王", "浩宇", "", FlagKind::Usage, false, false}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, AssessmentKinds,
    // 张明华: 人格 19 and 地格 22 are 凶; 李思远 (7, 9, 17): 16 26 33 18, 人格 16 吉.
    testing::Values(Case{"张", "明华", "", FlagKind::Numerology, true, false, "人格19为凶数"},
                    Case{"王", "明", "", FlagKind::Numerology, true, false, "人格12为凶数"}));

TEST(Assessment, ElementsOnlyWithABirthTimeAndByTheChartsFavourableElements)
{
    // 2019-05-05 05 (己亥 戊辰 壬寅 癸卯): 壬 water is weak under earth, so 用神 金 and 喜神 水
    // (section 八字旺衰), although the chart lacks 金 and 火.
    const calendar::BirthTime birth{2019, 5, 5, 5};
    const Assessment without = assess("林", "铭泽");
    EXPECT_EQ(flagOf(without, FlagKind::Elements), nullptr);
    for (const auto& f : without.flags)
        EXPECT_NE(f.kind, FlagKind::Elements);

    const Assessment helps = assess("林", "铭泽", "", birth); // 铭 金
    EXPECT_EQ(flagOf(helps, FlagKind::Elements), nullptr);
    EXPECT_TRUE(std::any_of(helps.flags.begin(), helps.flags.end(), [](const auto& f) {
        return f.kind == FlagKind::Elements && f.points > 0 && f.text.find("“铭”属金") == 0;
    }));

    const Assessment misses = assess("林", "晓宇", "", birth); // 火 土
    const AssessmentFlag* f = flagOf(misses, FlagKind::Elements);
    ASSERT_NE(f, nullptr);
    EXPECT_NE(f->text.find("金、水"), std::string::npos);
}

// A fault (of any kind) costs more than all nuances a plain name shows together, and merits
// never lift a faulty name above a plain one of the same characters' quality.
// The sound checks compare packed initials and finals: two readings share one exactly when they
// share its text (zh and z, an and ang, the -i of zi and the i of ji told apart).
TEST(Sound, PackedInitialAndFinalCompareAsTheirTexts)
{
    std::vector<core::Syllable> syllables;
    for (const char* reading : {"zhāng", "zàn", "chāng", "cháng", "yán", "jiàn", "lǜ", "xù", "yuè",
                                "wéi", "guì", "ài", "ér", "zǐ", "jǐ", "shí", "sī", "xióng"})
        syllables.push_back(*core::syllableFromMarked(reading));
    for (const auto& a : syllables)
        for (const auto& b : syllables) {
            SCOPED_TRACE(a.plain + "/" + b.plain);
            const Sound x(a), y(b);
            EXPECT_EQ(x.initialCode == y.initialCode, a.initial == b.initial);
            EXPECT_EQ(x.initialCode == 0, a.initial.empty());
            EXPECT_EQ(x.finalCode == y.finalCode, a.final == b.final);
        }
}

TEST(Assessment, FaultsCostClearlyMoreThanNuances)
{
    const Assessment plain = assess("李", "思远");
    for (const auto& [surname, given] : std::vector<std::pair<std::string, std::string>>{
             {"杜", "子腾"}, {"王", "友"}, {"陈", "铭明"}, {"林", "浅"}, {"林", "龘"}}) {
        SCOPED_TRACE(surname + given);
        const Assessment a = assess(surname, given);
        const auto fault =
            std::find_if(a.flags.begin(), a.flags.end(), [](const auto& f) { return f.fault; });
        ASSERT_NE(fault, a.flags.end());
        EXPECT_EQ(&*fault, &a.flags.front()); // the biggest cost comes first
        for (const auto& f : a.flags) {
            if (!f.fault) {
                EXPECT_GE(2 * -fault->points, 3 * -f.points) << f.text;
            }
        }
    }
    EXPECT_GE(plain.figure, 60);
    for (const auto& f : plain.flags)
        EXPECT_FALSE(f.fault) << f.text;
    EXPECT_GT(plain.figure, assess("杜", "子腾").figure);
}

TEST(Assessment, ShowsTheMeaningOfEachGivenCharacterAndRefusesBadInput)
{
    const Assessment a = assess("林", "明道");
    ASSERT_EQ(a.given.size(), 2u);
    EXPECT_EQ(a.given[0].character, "明");
    EXPECT_EQ(a.given[0].meaning, "光明");
    EXPECT_EQ(a.given[1].meaning, "");
    const auto lines = assessmentLines(a);
    EXPECT_EQ(lines.front().rfind("品评分：" + std::to_string(a.figure), 0), 0u);
    EXPECT_EQ(lines.back(), "字义 “道”：未收录");

    // A doubled character is remarked on once, with the points of both.
    const Assessment twice = assess("林", "婷婷", "男");
    const Assessment once = assess("林", "婷", "男");
    const auto leaning = [](const Assessment& x) {
        return std::count_if(x.flags.begin(), x.flags.end(),
                             [](const AssessmentFlag& f) { return f.text == "“婷”多用于女孩名"; });
    };
    ASSERT_EQ(leaning(twice), 1);
    EXPECT_EQ(flagOf(twice, FlagKind::Meaning, "多用于")->points,
              2 * flagOf(once, FlagKind::Meaning, "多用于")->points);
    const auto twiceLines = assessmentLines(twice);
    EXPECT_EQ(std::count(twiceLines.begin(), twiceLines.end(), "字义 “婷”：美好"), 1);
    EXPECT_EQ(twice.given.size(), 2u); // the data keeps one entry per character

    EXPECT_EQ(hmf::test::messageOf(assessed("", "明")), "请填写姓氏");
    EXPECT_FALSE(assessed("林", "abc"));
    EXPECT_FALSE(assessed("林", "明", "男女"));
    EXPECT_FALSE(assessed("林", "明", "", calendar::BirthTime{2019, 2, 30, 5}));
}

// The shipped tables judge real names as a parent would: everyday names of every generation and
// today's popular names carry no reason but their numbers and elements (at least 95 of 100),
// and every well-known joke name is caught by its sound.
TEST(ShippedAssessment, PopularNamesPassAndJokeNamesAreCaught)
{
    struct Name
    {
        const char* surname;
        const char* given;
        const char* sex;
    };
    const Name popular[] = {
        {"张", "伟", "男"},   {"王", "芳", "女"},   {"李", "娜", "女"},   {"刘", "洋", "男"},
        {"陈", "静", "女"},   {"杨", "帆", "男"},   {"王", "浩然", "男"}, {"李", "思雨", "女"},
        {"张", "子涵", "女"}, {"刘", "强", "男"},   {"王", "磊", "男"},   {"李", "静", "女"},
        {"张", "敏", "女"},   {"王", "丽", "女"},   {"陈", "杰", "男"},   {"杨", "勇", "男"},
        {"赵", "军", "男"},   {"黄", "艳", "女"},   {"周", "杰", "男"},   {"吴", "敏", "女"},
        {"徐", "明", "男"},   {"孙", "丽", "女"},   {"马", "超", "男"},   {"朱", "婷", "女"},
        {"郭", "静", "女"},   {"何", "欢", "女"},   {"林", "峰", "男"},   {"王", "子轩", "男"},
        {"李", "梓涵", "女"}, {"张", "一诺", "女"}, {"刘", "宇轩", "男"}, {"陈", "欣怡", "女"},
        {"杨", "雨桐", "女"}, {"赵", "浩宇", "男"}, {"黄", "诗涵", "女"}, {"周", "子墨", "男"},
        {"吴", "佳怡", "女"}, {"王", "甜甜", "女"}, {"张", "佳欣", "女"}, {"李", "思远", "男"},
        {"王", "鑫", "女"},   {"陈", "晨", "女"},   {"杨", "洋", "男"},   {"刘", "婷婷", "女"},
        {"张", "天佑", "男"}, {"李", "明轩", "男"}, {"王", "雅琪", "女"}, {"王", "秀英", "女"},
        {"张", "建国", "男"}, {"李", "志强", "男"}, {"刘", "桂兰", "女"}, {"陈", "丽娟", "女"},
        {"黄", "海燕", "女"}, {"徐", "海涛", "男"}, {"郭", "永强", "男"}, {"高", "峰", "男"},
        {"谢", "婷", "女"},   {"韩", "雪", "女"},   {"邓", "超", "男"},   {"欧阳", "娜娜", "女"},
    };
    const calendar::BirthTime birth{2024, 3, 15, 8};
    std::string flagged;
    int passed = 0;
    for (const auto& n : popular) {
        const auto assessed =
            assessName(naming::test::shippedTables(), {n.surname, n.given, n.sex, birth});
        ASSERT_TRUE(hmf::test::succeeded(assessed));
        const Assessment& a = *assessed;
        const bool plain = std::all_of(a.flags.begin(), a.flags.end(), [](const auto& f) {
            return f.kind == FlagKind::Numerology || f.kind == FlagKind::Elements;
        });
        passed += plain;
        if (!plain)
            flagged += std::string(" ") + n.surname + n.given;
    }
    EXPECT_GE(passed * 100, 95 * static_cast<int>(std::size(popular))) << flagged;

    // 神经病 and 避孕套 differ from 沈京兵 and 毕云涛 in two tones: three syllables give a word
    // away all the same.
    const Name jokes[] = {
        {"杨", "伟", ""},   {"史", "珍香", ""}, {"范", "统", ""},   {"朱", "逸群", ""},
        {"秦", "寿生", ""}, {"杜", "子腾", ""}, {"庞", "光", ""},   {"吴", "仁耀", ""},
        {"沈", "京兵", ""}, {"魏", "生津", ""}, {"夏", "建仁", ""}, {"胡", "丽晶", ""},
        {"杜", "琦燕", ""}, {"毕", "云涛", ""}, {"苟", "史", ""},   {"刘", "产", ""},
        {"贾", "正经", ""}, {"王", "八丹", ""},
    };
    for (const auto& n : jokes) {
        SCOPED_TRACE(std::string(n.surname) + n.given);
        const auto assessed =
            assessName(naming::test::shippedTables(), {n.surname, n.given, n.sex});
        ASSERT_TRUE(hmf::test::succeeded(assessed));
        const Assessment& a = *assessed;
        EXPECT_TRUE(std::any_of(a.flags.begin(), a.flags.end(), [](const auto& f) {
            return f.kind == FlagKind::Homophone && f.points < 0;
        }));
    }
}

// Two characters that neither the name base nor real names nor the classics join, and that the
// base never puts in those places, get a 搭配 fault; names of the base, everyday real names,
// doubled characters and one-character names do not.
TEST(ShippedAssessment, PairsThatDoNotBelongTogetherAreFlagged)
{
    struct Pair
    {
        const char* surname;
        const char* given;
        bool apart;
    };
    const Pair pairs[] = {
        // Drawn from the character libraries, each character fine on its own.
        {"王", "俐鸥", true},
        {"王", "鹿听", true},
        {"王", "婉听", true},
        {"李", "奔俭", true},
        {"刘", "欢赐", true},
        {"杨", "力仲", true},
        {"欧阳", "绽徽", true},
        {"王", "画纤", true},
        {"张", "柜云", true},
        {"陈", "瓜宇", true},
        {"赵", "铃奔", true},
        {"黄", "肩雨", true},
        // Names of the base.
        {"王", "芳菲", false},
        {"李", "浩然", false},
        {"张", "子涵", false},
        {"刘", "一诺", false},
        {"欧阳", "北辰", false},
        // Everyday names of other generations, and well-known people's.
        {"王", "秀英", false},
        {"张", "建国", false},
        {"李", "志强", false},
        {"刘", "桂兰", false},
        {"陈", "丽娟", false},
        {"刘", "德华", false},
        {"张", "学友", false},
        {"周", "杰伦", false},
        {"赵", "红梅", false},
        {"胡", "卫国", false},
        {"马", "爱民", false},
        {"王", "小红", false},
        {"何", "新华", false},
        // Doubled characters and one character.
        {"王", "婷婷", false},
        {"李", "欢欢", false},
        {"张", "伟", false},
    };
    for (const auto& p : pairs) {
        SCOPED_TRACE(std::string(p.surname) + p.given);
        const auto assessed = assessName(naming::test::shippedTables(), {p.surname, p.given});
        ASSERT_TRUE(hmf::test::succeeded(assessed));
        const Assessment& a = *assessed;
        const auto pairing = std::find_if(a.flags.begin(), a.flags.end(), [](const auto& f) {
            return f.kind == FlagKind::Pairing;
        });
        ASSERT_EQ(pairing != a.flags.end(), p.apart);
        if (p.apart) {
            const auto chars = core::splitCharacters(p.given);
            EXPECT_EQ(pairing->text, "“" + chars[0] + "”“" + chars[1] + "”两字意思不相连");
            EXPECT_TRUE(pairing->fault);
            EXPECT_LE(pairing->points, -10);
            EXPECT_TRUE(a.nameMeaning.empty());
        }
    }
    // A name of the base comes with its 寓意, and its source where it has one.
    const auto assessedBase = assessName(naming::test::shippedTables(), {"欧阳", "北辰"});
    ASSERT_TRUE(hmf::test::succeeded(assessedBase));
    const Assessment& base = *assessedBase;
    EXPECT_FALSE(base.nameMeaning.empty());
    EXPECT_NE(base.nameSource.find("论语"), std::string::npos) << base.nameSource;
}

} // namespace
