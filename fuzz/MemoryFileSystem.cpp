#include "MemoryFileSystem.h"

#include "kfield/WriteError.h"

#include <sstream>

namespace fuzzing {
namespace {

// Looks its file up again on close: the file may have been removed or renamed meanwhile.
class MemoryOutputFile final : public kfield::OutputFile {
public:
    MemoryOutputFile(std::map<std::string, std::string>& files, std::string path) : m_files(files), m_path(std::move(path)) {}
    std::ostream& stream() override { return m_buffer; }
    void close() override { m_files[m_path] += m_buffer.str(); }

private:
    std::map<std::string, std::string>& m_files;
    std::string m_path;
    std::ostringstream m_buffer;
};

} // namespace

std::string& MemoryFileSystem::existing(const std::filesystem::path& path, const char* action)
{
    const auto file = m_files.find(path.string());
    if (file == m_files.end())
        throw kfield::WriteError(action, path, "No such file or directory");
    return file->second;
}

bool MemoryFileSystem::exists(const std::filesystem::path& path)
{
    return m_files.contains(path.string());
}

bool MemoryFileSystem::folderExists(const std::filesystem::path&)
{
    return false;
}

void MemoryFileSystem::remove(const std::filesystem::path& path)
{
    m_files.erase(path.string());
}

std::uintmax_t MemoryFileSystem::size(const std::filesystem::path& path)
{
    return existing(path, "Cannot read the size of").size();
}

void MemoryFileSystem::resize(const std::filesystem::path& path, std::uintmax_t size)
{
    existing(path, "Cannot restore").resize(size);
}

void MemoryFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::string bytes = std::move(existing(from, "Cannot rename"));
    m_files.erase(from.string());
    m_files[to.string()] = std::move(bytes);
}

std::unique_ptr<kfield::OutputFile> MemoryFileSystem::createNew(const std::filesystem::path& path)
{
    if (!m_files.try_emplace(path.string()).second)
        return nullptr;
    return std::make_unique<MemoryOutputFile>(m_files, path.string());
}

std::unique_ptr<kfield::OutputFile> MemoryFileSystem::openForAppending(const std::filesystem::path& path)
{
    m_files[path.string()];
    return std::make_unique<MemoryOutputFile>(m_files, path.string());
}

std::unique_ptr<std::istream> MemoryFileSystem::openForReading(const std::filesystem::path& path)
{
    return std::make_unique<std::istringstream>(existing(path, "Cannot open"));
}

} // namespace fuzzing
