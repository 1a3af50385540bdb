// The whole command line in one process: the input, split at NUL bytes, is the argument list of
// `hmf`. Every answer must be one of the three exit codes. Output goes nowhere.

#include "fuzzsupport.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

int hmf_main(int argc, char** argv);

namespace {

class NullBuffer : public std::streambuf
{
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static NullBuffer sink;
    std::cout.rdbuf(&sink);
    std::cerr.rdbuf(&sink);
    setenv("HMF_DATA_DIR", hmf::fuzz::dataDirectory().c_str(), 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args{"hmf"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);
    if (args.size() > 16)
        return 0;
    // Keep each run short: a few draws, and `top` over one given character only (the last value
    // of an option wins).
    if (args[1] == "generate")
        args.insert(args.end(), {"--draws", "20"});
    if (args[1] == "top")
        args.insert(args.end(), {"--length", "1", "--count", "5"});
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int code = hmf_main(static_cast<int>(args.size()), argv.data());
    HMF_FUZZ_CHECK(code == 0 || code == 1 || code == 2);
    return 0;
}
