#include "core/platform.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace hmf::core {

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string pathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32

namespace {

std::string wideToUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

UINT g_consoleOutputCodePage = 0;

void restoreConsoleCodePage()
{
    SetConsoleOutputCP(g_consoleOutputCodePage);
}

} // namespace

std::filesystem::path executableDirectory()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            std::error_code ec;
            return std::filesystem::current_path(ec);
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2); // a long path (\\?\ names reach 32,767 characters)
    }
}

std::optional<std::string> environmentVariable(const char* name)
{
    const std::wstring wideName(name, name + std::char_traits<char>::length(name)); // ASCII names
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (!value || !*value)
        return std::nullopt;
    return wideToUtf8(value);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        args.push_back(wideToUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

void prepareStandardStreams()
{
    if (const UINT page = GetConsoleOutputCP(); page != 0 && page != CP_UTF8) {
        if (SetConsoleOutputCP(CP_UTF8)) {
            g_consoleOutputCodePage = page;
            std::atexit(restoreConsoleCodePage);
        }
    }
    // A stream without a handle (a program started with none) has no descriptor to set.
    for (FILE* stream : {stdout, stderr})
        if (const int fd = _fileno(stream); fd >= 0)
            _setmode(fd, _O_BINARY);
}

std::ptrdiff_t writeStandardOutput(const char* data, std::size_t size)
{
    // _write takes an unsigned int; a larger piece is written by the caller's next call.
    const auto piece = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
    return _write(1, data, piece);
}

bool stdoutShowsColour()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode))
        return false; // a file or a pipe
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

#else

std::filesystem::path executableDirectory()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::optional<std::string> environmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void prepareStandardStreams()
{
    if (fcntl(STDOUT_FILENO, F_GETFD) == -1 && errno == EBADF) {
        const int fd = open("/dev/null", O_RDONLY);
        if (fd >= 0 && fd != STDOUT_FILENO) {
            dup2(fd, STDOUT_FILENO);
            close(fd);
        }
    }
}

std::ptrdiff_t writeStandardOutput(const char* data, std::size_t size)
{
    return ::write(STDOUT_FILENO, data, size);
}

bool stdoutShowsColour()
{
    return isatty(STDOUT_FILENO) != 0;
}

#endif

} // namespace hmf::core
