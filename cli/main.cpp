// hmf: the name-science tables, the calendar and the naming engines on the command line.

#include "cli/command.h"
#include "core/datafile.h"
#include "core/text.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace hmf::cli {
namespace {

std::map<std::string, Command>& registry()
{
    static std::map<std::string, Command> commands;
    return commands;
}

void printUsage(std::ostream& out)
{
    out << "用法: hmf <命令> [参数]   (usage: hmf <command> [arguments])\n\n";
    for (const auto& [name, command] : registry())
        out << "  " << command.usage << "\n";
    out << "\n`hmf <命令> --help` 显示该命令的说明。\n";
}

// Splits argv into positional arguments, options with values ("--birth X" or "--birth=X") and
// flags; an option the command does not know is an error.
std::optional<Args> parseArgs(const Command& command, int argc, char** argv, std::string& error)
{
    Args args;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
            std::string name = arg;
            std::optional<std::string> value;
            if (auto eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
            }
            if (command.valueOptions.count(name)) {
                if (!value) {
                    if (i + 1 >= argc) {
                        error = "选项 " + name + " 缺少取值 (option needs a value)";
                        return std::nullopt;
                    }
                    value = argv[++i];
                }
                args.options[name] = *value;
            } else if ((command.flagOptions.count(name) || name == "--help") && !value) {
                args.flags.insert(name);
            } else {
                error = "未知选项 " + arg + " (unknown option)";
                return std::nullopt;
            }
        } else {
            args.positional.push_back(arg);
        }
    }
    return args;
}

} // namespace

std::optional<std::string> Args::option(const std::string& name) const
{
    auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

bool registerCommand(Command command)
{
    std::string name = command.name;
    registry().emplace(std::move(name), std::move(command));
    return true;
}

const core::Tables* tables()
{
    // Kept to the end of the process and never freed: tearing the tables down at exit is work
    // nobody sees.
    static const core::Tables* loaded = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        core::LoadError error;
        loaded =
            core::loadTables(core::findDataDirectory(core::executableDirectory()), error).release();
        if (!loaded)
            std::cerr << "hmf: 数据文件有误 (data file fault): " << error.message() << "\n";
    }
    return loaded;
}

int fail(const std::string& message)
{
    std::cerr << "hmf: " << message << "\n";
    return kExitUsage;
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::optional<DateHour> parseDateHour(const std::string& text)
{
    std::string t = core::trimBlanks(text);
    auto dash1 = t.find('-');
    auto dash2 = dash1 == std::string::npos ? dash1 : t.find('-', dash1 + 1);
    if (dash1 == std::string::npos || dash2 == std::string::npos)
        return std::nullopt;
    auto sep = t.find_first_of(" T", dash2 + 1);
    auto year = core::parseInt(t.substr(0, dash1));
    auto month = core::parseInt(t.substr(dash1 + 1, dash2 - dash1 - 1));
    auto day =
        core::parseInt(t.substr(dash2 + 1, sep == std::string::npos ? sep : sep - dash2 - 1));
    std::optional<int> hour = 0;
    if (sep != std::string::npos)
        hour = core::parseInt(t.substr(sep + 1));
    if (!year || !month || !day || !hour)
        return std::nullopt;
    return DateHour{*year, *month, *day, *hour, sep != std::string::npos};
}

} // namespace hmf::cli

int main(int argc, char** argv)
{
    using namespace hmf::cli;
    if (argc < 2) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return 0;
    }
    auto it = registry().find(name);
    if (it == registry().end()) {
        std::cerr << "hmf: 未知命令 " << name << " (unknown command)\n";
        printUsage(std::cerr);
        return kExitUsage;
    }
    const Command& command = it->second;
    std::string error;
    auto args = parseArgs(command, argc, argv, error);
    if (!args) {
        std::cerr << "hmf: " << error << "\n用法: " << command.usage << "\n";
        return kExitUsage;
    }
    if (args->has("--help")) {
        std::cout << "用法: " << command.usage << "\n" << command.help;
        return 0;
    }
    return command.run(*args);
}
