#pragma once
// All tables of the program, loaded once per run from the data directory.

#include "core/cities.h"
#include "core/elements.h"
#include "core/loaderror.h"
#include "core/luck.h"
#include "core/namedata.h"
#include "core/pinyin.h"
#include "core/reference.h"
#include "core/strokes.h"
#include "core/traditional.h"

#include <filesystem>
#include <memory>
#include <string>

namespace hmf::core {

struct Tables
{
    StrokeDictionary strokes;
    TraditionalTable traditional;
    ElementTable elements;
    PinyinTable pinyin;
    LuckTable luck;
    SexagenaryTable sexagenary;
    std::string threeTalentText;
    ThreeTalentTable threeTalents; // the verdicts of threeTalentText
    std::string tipsText;
    // What a name sounds like and what its characters mean (the assessment of a name).
    MeaningTable meanings;
    BadWordList badWords;
    LevelTable levels;
    PolyphoneTable polyphones;
    // Birthplaces for true solar time.
    CityTable cities;

    int gridStrokeCount(std::string_view c) const { return strokes.gridStrokeCount(c); }
    int displayStrokeCount(std::string_view c) const
    {
        return strokes.displayStrokeCount(c, &traditional);
    }
    std::string strokeString(std::string_view t) const
    {
        return strokes.strokeString(t, &traditional);
    }
    // A surname's reading as name books give it (曾 zēng, 尉迟 yùchí): the surname table first,
    // then the readings of its characters run together.
    std::string surnamePinyin(std::string_view surname) const
    {
        if (auto reading = pinyin.surnameReading(surname))
            return *reading;
        return pinyin.pinyinOf(traditional.toTraditional(surname));
    }
};

// Loads every table; on the first fault returns null and says which file and what.
std::unique_ptr<Tables> loadTables(const std::filesystem::path& dataDir, LoadError& error);

// The first character of `text` that has no grid stroke count (the name cannot be scored),
// or empty when every character has one.
std::string firstUnknownCharacter(const Tables& tables, std::string_view text);

} // namespace hmf::core
