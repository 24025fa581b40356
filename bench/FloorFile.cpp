#include "FloorFile.h"

#include <fstream>
#include <stdexcept>

namespace bench {

FloorFile::FloorFile(std::string bytes) : m_bytes(std::move(bytes))
{
    const std::string_view all(m_bytes);
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find("\r\n", start);
        const std::size_t next = end == std::string_view::npos ? all.size() : end + 2;
        m_lines.push_back(all.substr(start, next - start));
        start = next;
    }
}

void FloorFile::writeTo(const std::filesystem::path& path, std::ios::openmode mode) const
{
    std::ofstream out(path, mode | std::ios::binary | std::ios::out);
    for (const std::string_view line : m_lines)
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.close();
    if (!out)
        throw std::runtime_error("Cannot write \"" + path.string() + "\"");
}

} // namespace bench
