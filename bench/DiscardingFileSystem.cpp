#include "DiscardingFileSystem.h"

#include <sstream>
#include <streambuf>

namespace bench {
namespace {

// Accepts whatever is written and drops it, without the per-character calls of an unbuffered sink.
class DiscardingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char_type*, std::streamsize count) override { return count; }
};

class DiscardedFile final : public kfield::OutputFile {
public:
    std::ostream& stream() override { return m_stream; }
    void close() override {}

private:
    DiscardingBuffer m_buffer;
    std::ostream m_stream{&m_buffer};
};

} // namespace

bool DiscardingFileSystem::exists(const std::filesystem::path&)
{
    return false;
}

bool DiscardingFileSystem::folderExists(const std::filesystem::path&)
{
    return false;
}

void DiscardingFileSystem::remove(const std::filesystem::path&) {}

std::uintmax_t DiscardingFileSystem::size(const std::filesystem::path&)
{
    return 0;
}

void DiscardingFileSystem::resize(const std::filesystem::path&, std::uintmax_t) {}

void DiscardingFileSystem::rename(const std::filesystem::path&, const std::filesystem::path&) {}

std::unique_ptr<kfield::OutputFile> DiscardingFileSystem::createNew(const std::filesystem::path&)
{
    return std::make_unique<DiscardedFile>();
}

std::unique_ptr<kfield::OutputFile> DiscardingFileSystem::openForAppending(const std::filesystem::path&)
{
    return std::make_unique<DiscardedFile>();
}

std::unique_ptr<std::istream> DiscardingFileSystem::openForReading(const std::filesystem::path&)
{
    return std::make_unique<std::istringstream>();
}

} // namespace bench
