#include "FaultyFileSystem.h"

#include "files/LocalFileSystem.h"
#include "files/FileError.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace testing_support {
namespace {

// Files held in memory; a written file's bytes land when it is closed.
class MemoryStorage final : public kfield::FileSystem {
public:
    explicit MemoryStorage(bool keepBytes) : m_keepBytes(keepBytes) {}

    bool exists(const std::filesystem::path& path) override { return m_files.contains(path.string()); }
    bool folderExists(const std::filesystem::path&) override { return false; }
    void remove(const std::filesystem::path& path) override { m_files.erase(path.string()); }
    std::uintmax_t size(const std::filesystem::path& path) override { return existing(path, "Cannot read the size of").size(); }
    void resize(const std::filesystem::path& path, std::uintmax_t size) override { existing(path, "Cannot restore").resize(size); }
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::string bytes = std::move(existing(from, "Cannot rename"));
        m_files.erase(from.string());
        m_files[to.string()] = std::move(bytes);
    }
    std::unique_ptr<kfield::OutputFile> createNew(const std::filesystem::path& path) override
    {
        return m_files.try_emplace(path.string()).second ? openForAppending(path) : nullptr;
    }
    std::unique_ptr<kfield::OutputFile> openForAppending(const std::filesystem::path& path) override
    {
        m_files[path.string()];
        return std::make_unique<File>(*this, path.string());
    }
    std::unique_ptr<std::istream> openForReading(const std::filesystem::path& path) override
    {
        return std::make_unique<std::istringstream>(existing(path, "Cannot open"));
    }
    const std::map<std::string, std::string>& files() const { return m_files; }

private:
    // Looks its file up again on close: the file may have been removed or renamed meanwhile.
    class File final : public kfield::OutputFile {
    public:
        File(MemoryStorage& storage, std::string path) : m_storage(storage), m_path(std::move(path)) {}
        std::ostream& stream() override { return m_buffer; }
        void close() override { m_storage.m_files[m_path] += m_storage.m_keepBytes ? m_buffer.str() : std::string(); }

    private:
        MemoryStorage& m_storage;
        std::string m_path;
        std::ostringstream m_buffer;
    };

    std::string& existing(const std::filesystem::path& path, const char* action)
    {
        const auto file = m_files.find(path.string());
        if (file == m_files.end())
            throw kfield::FileError(action, path, "No such file or directory");
        return file->second;
    }

    bool m_keepBytes;
    std::map<std::string, std::string> m_files;
};

// Takes every byte, and on closing stores as many as the budget allows, then fails like a full disk.
class LimitedOutputFile final : public kfield::OutputFile {
public:
    LimitedOutputFile(std::unique_ptr<kfield::OutputFile> file, std::filesystem::path path, std::int64_t budget)
        : m_file(std::move(file)), m_path(std::move(path)), m_budget(static_cast<std::size_t>(budget))
    {
    }
    std::ostream& stream() override { return m_buffer; }
    void close() override
    {
        const std::string bytes = m_buffer.str();
        const std::size_t stored = std::min(bytes.size(), m_budget);
        m_file->stream().write(bytes.data(), static_cast<std::streamsize>(stored));
        m_file->close();
        if (stored < bytes.size())
            throw kfield::FileError("Cannot write", m_path, "No space left on device");
    }

private:
    std::unique_ptr<kfield::OutputFile> m_file;
    std::filesystem::path m_path;
    std::size_t m_budget;
    std::ostringstream m_buffer;
};

// Gives its bytes, then fails where their end would be.
class FailingAtEndStream final : private std::stringbuf, public std::istream {
public:
    explicit FailingAtEndStream(std::string bytes) : std::stringbuf(std::move(bytes), std::ios::in), std::istream(this) {}

private:
    std::stringbuf::int_type underflow() override
    {
        const auto next = std::stringbuf::underflow();
        if (std::stringbuf::traits_type::eq_int_type(next, std::stringbuf::traits_type::eof()))
            throw std::ios_base::failure("Input/output error (simulated fault)");
        return next;
    }
};

} // namespace

FaultyFileSystem::FaultyFileSystem(Storage storage)
    : m_storage(storage == Storage::Disk ? std::unique_ptr<kfield::FileSystem>(std::make_unique<kfield::LocalFileSystem>())
                                         : std::make_unique<MemoryStorage>(storage == Storage::Memory))
{
}

FaultyFileSystem::~FaultyFileSystem() = default;

std::map<std::string, std::string> FaultyFileSystem::memoryFiles() const
{
    const auto* memory = dynamic_cast<const MemoryStorage*>(m_storage.get());
    return memory ? memory->files() : std::map<std::string, std::string>{};
}

void FaultyFileSystem::operation(const char* action, const std::filesystem::path& path)
{
    ++m_operations;
    if (m_operations == m_failAt)
        throw kfield::FileError(action, path, "Input/output error (simulated fault)");
}

std::unique_ptr<kfield::OutputFile> FaultyFileSystem::limited(std::unique_ptr<kfield::OutputFile> file, const std::filesystem::path& path)
{
    if (m_writeBudget < 0)
        return file;
    return std::make_unique<LimitedOutputFile>(std::move(file), path, m_writeBudget);
}

bool FaultyFileSystem::exists(const std::filesystem::path& path)
{
    operation("Cannot look for", path);
    return m_storage->exists(path);
}

bool FaultyFileSystem::folderExists(const std::filesystem::path& path)
{
    operation("Cannot look for", path);
    return m_storage->folderExists(path);
}

void FaultyFileSystem::remove(const std::filesystem::path& path)
{
    operation("Cannot delete", path);
    m_storage->remove(path);
}

std::uintmax_t FaultyFileSystem::size(const std::filesystem::path& path)
{
    operation("Cannot read the size of", path);
    return m_storage->size(path);
}

void FaultyFileSystem::resize(const std::filesystem::path& path, std::uintmax_t size)
{
    // Rolling back must work for the test to mean anything; a failing roll-back is tested apart.
    m_storage->resize(path, size);
}

void FaultyFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    operation("Cannot rename", to);
    m_storage->rename(from, to);
}

std::unique_ptr<kfield::OutputFile> FaultyFileSystem::createNew(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    auto file = m_storage->createNew(path);
    return file ? limited(std::move(file), path) : nullptr;
}

std::unique_ptr<kfield::OutputFile> FaultyFileSystem::openForAppending(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    return limited(m_storage->openForAppending(path), path);
}

std::unique_ptr<std::istream> FaultyFileSystem::openForReading(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    auto stream = m_storage->openForReading(path);
    if (m_readBudget < 0)
        return stream;
    std::string bytes(static_cast<std::size_t>(m_readBudget), '\0');
    stream->read(bytes.data(), m_readBudget);
    bytes.resize(static_cast<std::size_t>(stream->gcount()));
    return std::make_unique<FailingAtEndStream>(std::move(bytes));
}

} // namespace testing_support
