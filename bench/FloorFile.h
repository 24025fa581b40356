#pragma once

#include <filesystem>
#include <ios>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// The floor of a case: exactly the bytes the case writes into one file, written line by line through
// one buffered std::ofstream, with nothing to read, decide or format.
class FloorFile {
public:
    explicit FloorFile(std::string bytes);

    // std::ios::trunc for a new file, std::ios::app for an append. Throws std::runtime_error.
    void writeTo(const std::filesystem::path& path, std::ios::openmode mode) const;
    std::size_t size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
    std::vector<std::string_view> m_lines; // views into m_bytes, each with its CR LF
};

} // namespace bench
