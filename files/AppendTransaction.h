#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>

#include "FileSystem.h"

namespace kfield {

// Appends to a file all or nothing: unless commit() runs, the file is cut back to the length it had
// (or removed again when the transaction created it).
class AppendTransaction {
public:
    // Throws FileError when the file cannot be opened for appending.
    AppendTransaction(FileSystem& files, std::filesystem::path path);
    ~AppendTransaction();
    AppendTransaction(const AppendTransaction&) = delete;
    AppendTransaction& operator=(const AppendTransaction&) = delete;

    std::ostream& stream();
    // Flushes and closes; throws FileError. The appended bytes can still be rolled back.
    void finish();
    // Keeps what was appended.
    void commit() { m_committed = true; }

private:
    void rollBack() noexcept;

    FileSystem& m_files;
    std::filesystem::path m_path;
    bool m_existed;
    std::uintmax_t m_oldSize;
    std::unique_ptr<OutputFile> m_file;
    bool m_committed = false;
};

} // namespace kfield
