#include "FaultyFileSystem.h"

#include "kfield/LocalFileSystem.h"
#include "kfield/WriteError.h"

#include <ostream>
#include <sstream>
#include <streambuf>

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

// Passes bytes on until the budget is spent, then fails every write.
class LimitedBuffer final : public std::streambuf {
public:
    LimitedBuffer(std::streambuf& target, std::int64_t budget) : m_target(target), m_budget(budget) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        const std::streamsize allowed = std::min<std::streamsize>(n, static_cast<std::streamsize>(m_budget));
        const std::streamsize written = m_target.sputn(s, allowed);
        m_budget -= written;
        return written;
    }
    int sync() override { return m_target.pubsync(); }

private:
    std::streambuf& m_target;
    std::int64_t m_budget;
};

class LimitedOutputFile final : public kfield::OutputFile {
public:
    LimitedOutputFile(std::unique_ptr<kfield::OutputFile> file, std::filesystem::path path, std::int64_t budget)
        : m_file(std::move(file)), m_path(std::move(path)), m_buffer(*m_file->stream().rdbuf(), budget), m_stream(&m_buffer)
    {
    }
    std::ostream& stream() override { return m_stream; }
    void close() override
    {
        m_stream.flush();
        const bool stored = m_stream.good();
        m_file->close();
        if (!stored)
            throw kfield::FileError("Cannot write", m_path, "No space left on device");
    }

private:
    std::unique_ptr<kfield::OutputFile> m_file;
    std::filesystem::path m_path;
    LimitedBuffer m_buffer;
    std::ostream m_stream;
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
    return m_storage->openForReading(path);
}

} // namespace testing_support
