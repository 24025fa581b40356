#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kfield/LocalFileSystem.h"

namespace testing_support {

// The local file system with faults on cue: the n-th operation fails, or writes stop after a number
// of bytes as on a full disk. Counts the operations so a test can sweep every one of them.
class FaultyFileSystem final : public kfield::FileSystem {
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

    // Makes the n-th operation from now on (1-based) fail; 0 fails none.
    void failOperation(int n) { m_failAt = n == 0 ? 0 : m_operations + n; }
    // Every file opened for writing from now on takes this many bytes, then fails like a full disk.
    void failWritesAfter(std::int64_t bytes) { m_writeBudget = bytes; }
    int operations() const { return m_operations; }

private:
    void operation(const char* action, const std::filesystem::path& path);
    std::unique_ptr<kfield::OutputFile> limited(std::unique_ptr<kfield::OutputFile> file, const std::filesystem::path& path);

    kfield::LocalFileSystem m_local;
    int m_operations = 0;
    int m_failAt = 0;
    std::int64_t m_writeBudget = -1;
};

} // namespace testing_support
