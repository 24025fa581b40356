#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>

namespace kfield {

// A file open for writing. close() flushes and reports any failure; a file destroyed without close()
// is closed quietly.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual std::ostream& stream() = 0;
    // Throws FileError when anything written could not be stored.
    virtual void close() = 0;
    // The same for a scratch file, which is read back and deleted within the run: it need not wait
    // until it is on the disk. A file system that does not tell the two apart closes it as any file.
    virtual void closeScratch() { close(); }
};

// The file operations of a conversion. Every failure throws FileError with the path and the
// system's reason.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a file is at the path; a folder is not a file.
    virtual bool exists(const std::filesystem::path& path) = 0;
    virtual bool folderExists(const std::filesystem::path& path) = 0;
    // Removes the file; a file that does not exist is no failure, a folder is never removed.
    virtual void remove(const std::filesystem::path& path) = 0;
    virtual std::uintmax_t size(const std::filesystem::path& path) = 0;
    virtual void resize(const std::filesystem::path& path, std::uintmax_t size) = 0;
    // Replaces the target when it exists.
    virtual void rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Creates a new file; nullptr when anything (a file, a folder, a link) already has the name, which
    // is then left as it is. The converter never empties a file it did not create.
    virtual std::unique_ptr<OutputFile> createNew(const std::filesystem::path& path) = 0;
    // Creates the file when absent; writes go to its end.
    virtual std::unique_ptr<OutputFile> openForAppending(const std::filesystem::path& path) = 0;
    virtual std::unique_ptr<std::istream> openForReading(const std::filesystem::path& path) = 0;
};

} // namespace kfield
