#include "FileLock.h"

#include <string>

namespace kfield {

std::string waitText(std::chrono::milliseconds wait)
{
    return wait.count() % 1000 == 0 ? std::to_string(wait.count() / 1000) + " s" : std::to_string(wait.count()) + " ms";
}

} // namespace kfield
