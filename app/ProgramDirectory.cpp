#include "ProgramDirectory.h"

#ifdef _WIN32
#error "The program directory on Windows is not built yet"
#endif

namespace app {

std::filesystem::path programDirectory()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

} // namespace app
