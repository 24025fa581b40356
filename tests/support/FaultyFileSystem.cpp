#include "FaultyFileSystem.h"

#include "kfield/WriteError.h"

#include <ostream>
#include <streambuf>

namespace testing_support {
namespace {

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
            throw kfield::WriteError("Cannot write", m_path, "No space left on device");
    }

private:
    std::unique_ptr<kfield::OutputFile> m_file;
    std::filesystem::path m_path;
    LimitedBuffer m_buffer;
    std::ostream m_stream;
};

} // namespace

void FaultyFileSystem::operation(const char* action, const std::filesystem::path& path)
{
    ++m_operations;
    if (m_operations == m_failAt)
        throw kfield::WriteError(action, path, "Input/output error (simulated fault)");
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
    return m_local.exists(path);
}

bool FaultyFileSystem::folderExists(const std::filesystem::path& path)
{
    operation("Cannot look for", path);
    return m_local.folderExists(path);
}

void FaultyFileSystem::remove(const std::filesystem::path& path)
{
    operation("Cannot delete", path);
    m_local.remove(path);
}

std::uintmax_t FaultyFileSystem::size(const std::filesystem::path& path)
{
    operation("Cannot read the size of", path);
    return m_local.size(path);
}

void FaultyFileSystem::resize(const std::filesystem::path& path, std::uintmax_t size)
{
    // Rolling back must work for the test to mean anything; a failing roll-back is tested apart.
    m_local.resize(path, size);
}

void FaultyFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    operation("Cannot rename", to);
    m_local.rename(from, to);
}

std::unique_ptr<kfield::OutputFile> FaultyFileSystem::createNew(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    auto file = m_local.createNew(path);
    return file ? limited(std::move(file), path) : nullptr;
}

std::unique_ptr<kfield::OutputFile> FaultyFileSystem::openForAppending(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    return limited(m_local.openForAppending(path), path);
}

std::unique_ptr<std::istream> FaultyFileSystem::openForReading(const std::filesystem::path& path)
{
    operation("Cannot open", path);
    return m_local.openForReading(path);
}

} // namespace testing_support
