#include "ScratchDirectory.h"

#include <random>
#include <string>
#include <system_error>

namespace bench {

ScratchDirectory::ScratchDirectory(const std::filesystem::path& parent)
{
    const std::filesystem::path base = parent.empty() ? std::filesystem::temp_directory_path() : parent;
    std::random_device random;
    // create_directory is false for a name that exists, so two runs never share a directory.
    do {
        m_path = base / ("norda-bench-" + std::to_string(random()));
    } while (!std::filesystem::create_directories(m_path));
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored; // a leftover directory in the temporary directory harms nobody
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace bench
