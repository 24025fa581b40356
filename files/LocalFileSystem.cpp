#include "LocalFileSystem.h"

#include "DiskSync.h"
#include "NewFile.h"
#include "FileError.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace kfield {
namespace {

std::string reasonOf(const std::error_code& error)
{
    return error ? error.message() : std::string("unknown reason");
}

// The reason of the stream operation that just failed; the C library leaves it in errno.
std::string lastSystemReason()
{
    return reasonOf(std::error_code(errno, std::generic_category()));
}

class LocalOutputFile final : public OutputFile {
public:
    LocalOutputFile(const std::filesystem::path& path, std::ios::openmode mode) : m_path(path)
    {
        errno = 0;
        m_stream.open(path, mode | std::ios::binary | std::ios::out);
        if (!m_stream)
            throw FileError("Cannot open", path, lastSystemReason());
    }

    std::ostream& stream() override { return m_stream; }

    void close() override
    {
        closeStream();
        syncFileToDisk(m_path);
    }

    void closeScratch() override { closeStream(); }

private:
    void closeStream()
    {
        // A write that failed earlier left its reason in errno, as long as nothing else failed since.
        if (m_stream.good()) {
            errno = 0;
            m_stream.flush();
        }
        const int reason = errno;
        const bool stored = m_stream.good();
        m_stream.close();
        if (!stored || m_stream.fail())
            throw FileError("Cannot write", m_path, reasonOf(std::error_code(reason != 0 ? reason : errno, std::generic_category())));
    }

    std::filesystem::path m_path;
    std::ofstream m_stream;
};

} // namespace

namespace {

std::filesystem::file_status statusOf(const std::filesystem::path& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error && error != std::errc::no_such_file_or_directory)
        throw FileError("Cannot look for", path, reasonOf(error));
    return status;
}

} // namespace

bool LocalFileSystem::exists(const std::filesystem::path& path)
{
    const auto status = statusOf(path);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool LocalFileSystem::folderExists(const std::filesystem::path& path)
{
    return std::filesystem::is_directory(statusOf(path));
}

void LocalFileSystem::remove(const std::filesystem::path& path)
{
    std::error_code error;
    // std::filesystem::remove() would take an empty folder too.
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, error)))
        throw FileError("Cannot delete", path, "it is a folder, not a file");
    std::filesystem::remove(path, error);
    if (error && error != std::errc::no_such_file_or_directory)
        throw FileError("Cannot delete", path, reasonOf(error));
}

std::uintmax_t LocalFileSystem::size(const std::filesystem::path& path)
{
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    if (error)
        throw FileError("Cannot read the size of", path, reasonOf(error));
    return bytes;
}

void LocalFileSystem::resize(const std::filesystem::path& path, std::uintmax_t size)
{
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    if (error)
        throw FileError("Cannot restore", path, reasonOf(error));
}

void LocalFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error)
        throw FileError("Cannot rename \"" + config::pathText(from) + "\" to", to, reasonOf(error));
    syncDirectoryToDisk(to.parent_path());
}

std::unique_ptr<OutputFile> LocalFileSystem::createNew(const std::filesystem::path& path)
{
    if (!createNewFile(path))
        return nullptr;
    // The file is ours now and empty: opening it to write cannot cut anything short.
    return std::make_unique<LocalOutputFile>(path, std::ios::trunc);
}

std::unique_ptr<OutputFile> LocalFileSystem::openForAppending(const std::filesystem::path& path)
{
    return std::make_unique<LocalOutputFile>(path, std::ios::app);
}

std::unique_ptr<std::istream> LocalFileSystem::openForReading(const std::filesystem::path& path)
{
    errno = 0;
    auto stream = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!*stream)
        throw FileError("Cannot open", path, lastSystemReason());
    return stream;
}

} // namespace kfield
