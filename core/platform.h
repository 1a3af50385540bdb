#pragma once
// What differs between Windows and POSIX systems, kept in this one place: where the running
// program lies, file names to and from UTF-8, the environment, the command line's arguments and
// its console. Text is UTF-8 everywhere else in the program.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

// Directory of the running executable (falls back to the current directory).
std::filesystem::path executableDirectory();

// A file name typed as UTF-8, and a path shown as UTF-8. (On Windows a path built from a plain
// std::string reads it in the ANSI code page, which mangles Chinese names.)
std::filesystem::path pathFromUtf8(std::string_view text);
std::string pathToUtf8(const std::filesystem::path& path);

// An environment variable in UTF-8; nullopt when it is unset or empty.
std::optional<std::string> environmentVariable(const char* name);

// The program's arguments in UTF-8. Windows hands main() its arguments in the ANSI code page,
// where Chinese is lost; they are read again from the wide command line.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Standard output and error carry UTF-8 byte for byte: on Windows the console shows UTF-8 (the
// code page it had is restored at exit) and "\n" is not turned into "\r\n". On POSIX systems a
// standard output closed at start is opened on a read-only null device, so that no file the
// program opens takes its place and every write to it fails visibly.
void prepareStandardStreams();

// Writes to standard output's descriptor, below any buffer: the count of bytes written, or -1
// with errno set.
std::ptrdiff_t writeStandardOutput(const char* data, std::size_t size);

// Whether standard output is a terminal that shows ANSI colour sequences (on Windows 10 and
// later a console, once its virtual-terminal mode is on).
bool stdoutShowsColour();

} // namespace hmf::core
