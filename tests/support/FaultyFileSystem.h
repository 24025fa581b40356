#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "files/FileSystem.h"

namespace testing_support {

// The file-system double of the tests, the benchmarks and the fuzzers. Its files are on the disk or
// in memory, and it fails on cue: the n-th operation fails, or writes stop after a number of bytes as
// on a full disk. It counts the operations so a test can sweep every one of them.
class FaultyFileSystem final : public kfield::FileSystem {
public:
    enum class Storage {
        Disk,
        Memory,
        // Files in memory that keep their names but none of their bytes: a conversion costs the
        // walks, the formatting and the encoding, and no storage.
        MemoryWithoutBytes,
    };
    explicit FaultyFileSystem(Storage storage = Storage::Disk);
    ~FaultyFileSystem() override;

    bool exists(const std::filesystem::path& path) override;
    bool folderExists(const std::filesystem::path& path) override;
    void remove(const std::filesystem::path& path) override;
    std::uintmax_t size(const std::filesystem::path& path) override;
    void resize(const std::filesystem::path& path, std::uintmax_t size) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::unique_ptr<kfield::OutputFile> createNew(const std::filesystem::path& path) override;
    std::unique_ptr<kfield::OutputFile> openForAppending(const std::filesystem::path& path) override;
    std::unique_ptr<std::istream> openForReading(const std::filesystem::path& path) override;

    // Makes the n-th operation from now on (1-based) fail; 0 fails none.
    void failOperation(int n) { m_failAt = n == 0 ? 0 : m_operations + n; }
    // Every file opened for writing from now on takes this many bytes, then fails like a full disk.
    void failWritesAfter(std::int64_t bytes) { m_writeBudget = bytes; }
    // Every file opened for reading from now on gives this many bytes, then fails like a bad sector.
    void failReadsAfter(std::int64_t bytes) { m_readBudget = bytes; }
    int operations() const { return m_operations; }
    // The files held in memory by their paths; empty on the disk.
    std::map<std::string, std::string> memoryFiles() const;

private:
    void operation(const char* action, const std::filesystem::path& path);
    std::unique_ptr<kfield::OutputFile> limited(std::unique_ptr<kfield::OutputFile> file, const std::filesystem::path& path);

    std::unique_ptr<kfield::FileSystem> m_storage;
    int m_operations = 0;
    int m_failAt = 0;
    std::int64_t m_writeBudget = -1;
    std::int64_t m_readBudget = -1;
};

} // namespace testing_support
