#include "Files.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace testing_support {

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + config::pathText(path));
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + config::pathText(path));
}

std::filesystem::path testDataDir()
{
    return NORDA_TEST_DATA_DIR;
}

std::vector<TableRow> tableRows(const std::string& name, const std::filesystem::path& directory)
{
    std::vector<TableRow> rows;
    std::istringstream lines(readBytes(directory / config::pathFromUtf8(name)));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.starts_with('#'))
            continue;
        TableRow& row = rows.emplace_back();
        for (std::size_t start = 0, bar; ; start = bar + 1) {
            bar = line.find('|', start);
            row.push_back(line.substr(start, bar - start));
            if (bar == std::string::npos)
                break;
        }
    }
    return rows;
}

DirectoryBytes contentsOf(const std::filesystem::path& directory)
{
    DirectoryBytes bytes;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        bytes[config::pathText(entry.path().filename())] = entry.is_directory() ? "<dir>" : readBytes(entry.path());
    return bytes;
}

TemporaryDirectory::TemporaryDirectory(const std::filesystem::path& parent)
{
    static std::atomic<int> counter{0};
    // Some tests remove their directory and make it again: a tag of the process's own keeps another
    // process, of this or another build, from taking the name in between.
    static const std::string processTag = std::to_string(std::random_device{}());
    const std::filesystem::path base = parent.empty() ? std::filesystem::temp_directory_path() : parent;
    // create_directories is false for a name that exists, so two directories are never one.
    do {
        m_path = base / ("norda-test-" + processTag + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directories(m_path));
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string namesIn(const std::filesystem::path& directory)
{
    std::string joined;
    for (const auto& [name, bytes] : contentsOf(directory))
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

} // namespace testing_support
