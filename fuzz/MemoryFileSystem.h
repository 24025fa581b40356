#pragma once

#include <map>
#include <string>

#include "kfield/FileSystem.h"

namespace fuzzing {

// The file operations of a conversion on files held in memory, so a fuzzer can run whole conversions
// at full speed. A written file's bytes land when it is closed.
class MemoryFileSystem final : public kfield::FileSystem {
public:
    bool exists(const std::filesystem::path& path) override;
    bool folderExists(const std::filesystem::path& path) override;
    void remove(const std::filesystem::path& path) override;
    std::uintmax_t size(const std::filesystem::path& path) override;
    void resize(const std::filesystem::path& path, std::uintmax_t size) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::unique_ptr<kfield::OutputFile> createNew(const std::filesystem::path& path) override;
    std::unique_ptr<kfield::OutputFile> openForAppending(const std::filesystem::path& path) override;
    std::unique_ptr<std::istream> openForReading(const std::filesystem::path& path) override;

    const std::map<std::string, std::string>& files() const { return m_files; }

private:
    std::string& existing(const std::filesystem::path& path, const char* action);

    std::map<std::string, std::string> m_files;
};

} // namespace fuzzing
