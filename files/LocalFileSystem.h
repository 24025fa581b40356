#pragma once

#include "FileSystem.h"

namespace kfield {

// The files of the computer the converter runs on.
class LocalFileSystem final : public FileSystem {
public:
    bool exists(const std::filesystem::path& path) override;
    bool folderExists(const std::filesystem::path& path) override;
    void remove(const std::filesystem::path& path) override;
    std::uintmax_t size(const std::filesystem::path& path) override;
    void resize(const std::filesystem::path& path, std::uintmax_t size) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::unique_ptr<OutputFile> createNew(const std::filesystem::path& path) override;
    std::unique_ptr<OutputFile> openForAppending(const std::filesystem::path& path) override;
    std::unique_ptr<std::istream> openForReading(const std::filesystem::path& path) override;
};

} // namespace kfield
