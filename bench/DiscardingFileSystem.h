#pragma once

#include "kfield/FileSystem.h"

namespace bench {

// A file system that takes every byte and keeps none: a conversion into it costs the walks, the
// formatting and the encoding, but no file. No file exists in it and every file reads as empty.
class DiscardingFileSystem final : public kfield::FileSystem {
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
};

} // namespace bench
