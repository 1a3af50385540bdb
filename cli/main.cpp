// hmf: the name-science tables, the calendar and the naming engines on the command line.

#include "cli/command.h"
#include "core/datafile.h"
#include "core/platform.h"
#include "core/prebuilt.h"
#include "core/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <streambuf>
#include <vector>

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
    out << "  hmf --version              版本 (version)\n";
    out << "\n`hmf <命令> --help` 显示该命令的说明；每个命令都接受 --json (JSON 输出)。\n"
        << "hmf 不需要图形界面，可在无显示器的服务器上运行。\n"
        << kExitCodesHelp;
}

// stdout through a buffer of our own that keeps the reason of the first write that failed: the
// standard streams forget it once their buffer has failed, so a large output to a full disk was
// reported without a reason.
class OutputBuffer : public std::streambuf
{
  public:
    OutputBuffer() { setp(m_buffer, m_buffer + sizeof m_buffer); }
    int error() const { return m_error; }
    void reset() { m_error = 0; }

  protected:
    int_type overflow(int_type c) override
    {
        if (!writeOut())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return writeOut() ? 0 : -1; }

  private:
    bool writeOut()
    {
        const char* p = pbase();
        auto left = static_cast<std::size_t>(pptr() - pbase());
        while (left > 0 && !m_error) {
            const std::ptrdiff_t written = core::writeStandardOutput(p, left);
            if (written < 0 && errno != EINTR)
                m_error = errno;
            if (written > 0) {
                p += written;
                left -= static_cast<std::size_t>(written);
            }
        }
        setp(m_buffer, m_buffer + sizeof m_buffer);
        return !m_error;
    }

    char m_buffer[1 << 16];
    int m_error = 0;
};

// Never destroyed: std::cout may still flush into it while the program exits.
OutputBuffer& outputBuffer()
{
    static auto* buffer = new OutputBuffer;
    return *buffer;
}

// Whatever the command wrote must have reached its file: a full disk or a closed stdout is an
// error, never a silent success with a truncated result.
int finishOutput(int code)
{
    std::cout.flush();
    const int cause = outputBuffer().error();
    if (std::cout && !cause)
        return code;
    std::cerr << "hmf: 无法写出结果 (cannot write output)"
              << (cause ? std::string(": ") + std::strerror(cause) : std::string()) << "\n";
    return kExitOutput;
}

// Splits argv into positional arguments, options with values ("--birth X" or "--birth=X") and
// flags; an option the command does not know is an error.
std::optional<Args> parseArgs(const Command& command, const std::vector<std::string>& argv,
                              std::string& error)
{
    Args args;
    const std::size_t argc = argv.size();
    for (std::size_t i = 2; i < argc; ++i) {
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
                        error = "选项 " + shownArg(name) + " 缺少取值 (option needs a value)";
                        return std::nullopt;
                    }
                    value = argv[++i];
                }
                args.options[name] = *value;
            } else if ((command.flagOptions.count(name) || name == "--help") && !value) {
                args.flags.insert(name);
            } else {
                error = "未知选项 " + shownArg(arg) + " (unknown option)";
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

const core::Tables* tables(unsigned parts)
{
    // Kept to the end of the process and never freed: tearing the tables down at exit is work
    // nobody sees.
    static core::Tables* const loaded = [] {
        // Nothing is read yet, so nothing can fail.
        return core::loadTables(core::findDataDirectory(core::executableDirectory()), 0)
            .value()
            .release();
    }();
    if (core::Status status = loaded->load(parts); !status) {
        std::cerr << "hmf: 数据文件有误 (data file fault): " << status.error().message() << "\n";
        return nullptr;
    }
    return loaded;
}

bool colourWanted()
{
    // A terminal that says it is dumb (TERM=dumb, Emacs shells) shows escape codes as text.
    return !core::environmentVariable("NO_COLOR") && core::environmentVariable("TERM") != "dumb" &&
           core::stdoutShowsColour();
}

std::string shownArg(std::string_view text)
{
    return core::quotedInput(text, 20);
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
    std::optional<int> minute;
    if (sep != std::string::npos) {
        std::string time = t.substr(sep + 1);
        if (auto colon = time.find(':'); colon != std::string::npos) {
            minute = core::parseInt(time.substr(colon + 1));
            if (!minute)
                return std::nullopt;
            time.resize(colon);
        }
        hour = core::parseInt(time);
    }
    if (!year || !month || !day || !hour)
        return std::nullopt;
    return DateHour{*year, *month, *day, *hour, sep != std::string::npos, minute};
}

} // namespace hmf::cli

int main(int argc, char** argv)
{
    using namespace hmf::cli;
    hmf::core::prepareStandardStreams();
    outputBuffer().reset();
    std::cout.clear();
    std::cout.rdbuf(&outputBuffer());
    hmf::core::installPrebuiltTables(hmf::core::prebuiltTables());
    const std::vector<std::string> args = hmf::core::commandLineArguments(argc, argv);
    if (args.size() < 2) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    const std::string& name = args[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return finishOutput(0);
    }
    // --version takes --json like every command.
    if (name == "--version" && args.size() == 3 && args[2] == "--json") {
        std::cout << "{\"name\":\"hmf\",\"version\":" << jsonString(HMF_VERSION) << "}\n";
        return finishOutput(0);
    }
    if (name == "--version" && args.size() == 2) {
        std::cout << "hmf (慧名坊) " << HMF_VERSION << "\n";
        return finishOutput(0);
    }
    auto it = registry().find(name);
    if (it == registry().end()) {
        std::cerr << "hmf: 未知命令 " << shownArg(name) << " (unknown command)\n";
        printUsage(std::cerr);
        return kExitUsage;
    }
    const Command& command = it->second;
    std::string error;
    auto parsed = parseArgs(command, args, error);
    if (!parsed) {
        std::cerr << "hmf: " << error << "\n用法: " << command.usage << "\n";
        return kExitUsage;
    }
    if (parsed->has("--help")) {
        std::cout << "用法: " << command.usage << "\n" << command.help << "\n" << kExitCodesHelp;
        return finishOutput(0);
    }
    return finishOutput(command.run(*parsed));
}
