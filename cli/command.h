#pragma once
// The command-line front end: each command lives in its own file and registers itself here.

#include "core/tables.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace hmf::cli {

struct Args
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> options; // "--birth" -> "2019-05-05 05"
    std::set<std::string> flags;                // "--json"

    bool has(const std::string& flag) const { return flags.count(flag) != 0; }
    std::optional<std::string> option(const std::string& name) const;
};

struct Command
{
    std::string name;
    std::string usage;                  // one line, shown by --help and on errors
    std::string help;                   // further lines for `hmf <command> --help`
    std::set<std::string> valueOptions; // options that take a value
    std::set<std::string> flagOptions;  // options without value ("--help" is always accepted)
    std::function<int(const Args&)> run;
};

// Registers a command at static-initialisation time; returns true.
bool registerCommand(Command command);

// The program's tables with at least the groups of `parts` (core::TableParts) read: each group
// is read when a command first asks for it. Prints the fault to stderr and returns null when a
// file is missing or damaged.
const core::Tables* tables(unsigned parts);

// Prints "hmf: <message>" to stderr and returns the exit code for bad input (2).
int fail(const std::string& message);

// Exit codes: 0 success, 1 a data file is missing or damaged, 2 bad input, 3 the output could
// not be written (a full disk, a closed stdout).
inline constexpr int kExitData = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutput = 3;

// The exit codes as `--help` lists them.
inline constexpr const char* kExitCodesHelp =
    "退出码: 0 成功, 1 数据文件缺失或损坏, 2 输入有误（原因见 stderr）, 3 无法写出结果\n"
    "(exit codes: 0 success, 1 data file missing or damaged, 2 bad input, 3 output not written)\n";

// Colours on a terminal, unless NO_COLOR is set to a non-empty value or TERM is "dumb".
bool colourWanted();

// What the user typed, short and with control characters escaped, for a message.
std::string shownArg(std::string_view text);

// Quotes a UTF-8 text as a JSON string.
std::string jsonString(std::string_view text);

// Parses "YYYY-MM-DD HH" or "YYYY-MM-DD HH:MM" (also "YYYY-MM-DD" with hour 0 and `hourGiven`
// false, and "T" or blanks between date and hour) into its numbers; nullopt for anything else.
// Range checks are the calendar's.
struct DateHour
{
    int year = 0, month = 0, day = 0, hour = 0;
    bool hourGiven = false;
    std::optional<int> minute;
};
std::optional<DateHour> parseDateHour(const std::string& text);

} // namespace hmf::cli
