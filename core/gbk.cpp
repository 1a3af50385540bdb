#include "core/gbk.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace hmf::core {
namespace {

// Converts with iconv; returns false and the offset of the fault when the input does not
// convert completely.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             std::size_t& errorOffset)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        errorOffset = 0;
        return false;
    }
    out.clear();
    std::vector<char> buffer(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            ok = false;
        out.append(buffer.data(), buffer.size() - outLeft);
    }
    errorOffset = in.size() - inLeft;
    iconv_close(cd);
    return ok;
}

} // namespace

DecodeResult gbkToUtf8(std::string_view gbk)
{
    DecodeResult result;
    std::string out;
    std::size_t offset = 0;
    if (convert("UTF-8", "GBK", gbk, out, offset))
        result.text = std::move(out);
    else
        result.errorOffset = offset;
    return result;
}

std::optional<std::string> utf8ToGbk(std::string_view utf8)
{
    std::string out;
    std::size_t offset = 0;
    if (!convert("GBK", "UTF-8", utf8, out, offset))
        return std::nullopt;
    return out;
}

} // namespace hmf::core
