// Command verse: the lines of 诗经, 楚辞, 唐诗 and 宋词 where a given name's characters stand.

#include "cli/command.h"
#include "cli/versejson.h"
#include "core/datafile.h"
#include "core/platform.h"
#include "core/text.h"
#include "naming/verse.h"

#include <algorithm>
#include <iostream>

namespace hmf::cli {
namespace {

int runVerse(const Args& args)
{
    if (args.positional.size() != 1)
        return fail("请给出名字，例如 hmf verse 静姝");
    const std::string name = core::trimBlanks(args.positional[0]);
    const auto codepoints = core::toCodepoints(name);
    bool han = codepoints && !codepoints->empty() && codepoints->size() <= 3;
    for (char32_t c : codepoints.value_or(std::u32string()))
        han = han && core::isHan(c);
    if (!han)
        return fail("名字应为一到三个汉字：" + shownArg(name));
    int count = 20;
    if (auto text = args.option("--count")) {
        const auto value = core::parseInt(*text);
        if (!value || *value < 1)
            return fail("选项 --count 应为正整数：" + shownArg(*text));
        count = *value;
    }

    const auto loaded = naming::verseTable(core::findDataDirectory(core::executableDirectory()));
    if (!loaded) {
        std::cerr << "hmf: 数据文件有误 (data file fault): " << loaded.error().message() << "\n";
        return kExitData;
    }
    const naming::VerseTable* table = *loaded;
    int book = -1;
    if (auto text = args.option("--book")) {
        const auto index = table->bookIndex(*text);
        if (!index) {
            std::string books;
            for (const auto& b : table->books())
                books += (books.empty() ? "" : "、") + b;
            return fail("书名应为" + books + "之一：" + shownArg(*text));
        }
        book = *index;
    }

    const auto matches = table->matches(name, book);
    const std::size_t shown = std::min(matches.size(), static_cast<std::size_t>(count));
    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject()
            .field("name", name)
            .field("total", static_cast<long long>(matches.size()))
            .key("lines")
            .beginArray();
        for (std::size_t i = 0; i < shown; ++i) {
            json.beginObject().key("source");
            writeVerseSource(json, table->source(matches[i].line));
            json.field("inOrder", matches[i].inOrder)
                .field("together", matches[i].together)
                .endObject();
        }
        json.endArray().endObject();
        std::cout << json.text();
        return 0;
    }
    if (matches.empty()) {
        std::cout << "没有一句同时含有“" << name << "”的每个字\n";
        return 0;
    }
    for (std::size_t i = 0; i < shown; ++i)
        std::cout << naming::citation(table->source(matches[i].line)) << "\n";
    std::cout << "\n共" << matches.size() << "句";
    if (shown < matches.size())
        std::cout << "，列出前" << shown << "句";
    std::cout << "（按字序相同的在前，再按书：";
    for (std::size_t i = 0; i < table->books().size(); ++i)
        std::cout << (i ? " " : "") << table->books()[i];
    std::cout << "）\n";
    return 0;
}

const bool registeredVerse = registerCommand({
    "verse",
    "hmf verse <名> [--book 诗经|楚辞|唐诗|宋词] [--count N] [--json]   名字在诗词中的出处",
    "\n列出名字的每个字同在其中的诗句（诗经、楚辞、唐诗三百首、宋词三百首），最好的在前：\n"
    "字序与名字相同的在前，再按书的次序，再看两字是否相连。\n"
    "  --book 书名               只在这部书中找\n"
    "  --count N                 最多列出的句数，默认 20\n"
    "  --json                    以 JSON 输出\n",
    {"--book", "--count"},
    {"--json"},
    runVerse,
});

} // namespace
} // namespace hmf::cli
