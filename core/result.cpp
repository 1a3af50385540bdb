#include "core/result.h"

namespace hmf::core {

std::string Error::message() const
{
    if (file.empty())
        return what;
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + what;
    return file + ": " + what;
}

} // namespace hmf::core
