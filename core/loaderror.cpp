#include "core/loaderror.h"

namespace hmf::core {

std::string LoadError::message() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + what;
    return file + ": " + what;
}

} // namespace hmf::core
