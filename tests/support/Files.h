#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/PathText.h"

namespace testing_support {

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);
std::filesystem::path testDataDir();

// The rows of a table file under the test data (by default tests/data), one a line, its cells split at
// '|'; blank lines and lines that start with '#' are skipped. A case that reads well as a line lives
// there, not in code.
using TableRow = std::vector<std::string>;
std::vector<TableRow> tableRows(const std::string& name, const std::filesystem::path& directory = testDataDir());

// Every file directly in a directory with its bytes, by name; a folder shows as "<dir>".
using DirectoryBytes = std::map<std::string, std::string>;
DirectoryBytes contentsOf(const std::filesystem::path& directory);
// The names of the files directly in a directory, sorted, joined by blanks.
std::string namesIn(const std::filesystem::path& directory);

// A fresh directory under the parent (by default the system's temporary directory), removed with its
// content at the end.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(const std::filesystem::path& parent = {});
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& utf8Name) const { return m_path / config::pathFromUtf8(utf8Name); }
    std::string listing() const { return namesIn(m_path); }

private:
    std::filesystem::path m_path;
};

} // namespace testing_support
