#include "TemporaryFile.h"

#include "FileError.h"

namespace kfield {
namespace {

CreatedFile createTemporaryFile(FileSystem& files, std::filesystem::path path)
{
    auto file = files.createNew(path);
    if (!file)
        throw FileError("Cannot create", path, "a file or folder of this name is in the way");
    return CreatedFile(files, std::move(path), std::move(file));
}

} // namespace

TemporaryFile::TemporaryFile(FileSystem& files, std::filesystem::path path)
    : m_files(files), m_file(createTemporaryFile(files, std::move(path)))
{
}

std::ostream& TemporaryFile::stream()
{
    return m_file.file().stream();
}

void TemporaryFile::close()
{
    m_file.file().closeScratch();
}

std::unique_ptr<std::istream> TemporaryFile::openForReading()
{
    return m_files.openForReading(m_file.path());
}

void TemporaryFile::remove()
{
    m_files.remove(m_file.path());
    m_file.release();
}

} // namespace kfield
