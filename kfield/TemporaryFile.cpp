#include "TemporaryFile.h"

#include "WriteError.h"

namespace kfield {

TemporaryFile::TemporaryFile(FileSystem& files, std::filesystem::path path)
    : m_files(files), m_path(std::move(path)), m_file(m_files.createNew(m_path))
{
    if (!m_file)
        throw WriteError("Cannot create", m_path, "a file or folder of this name is in the way");
}

TemporaryFile::~TemporaryFile()
{
    m_file.reset();
    if (m_removed)
        return;
    try {
        m_files.remove(m_path);
    } catch (...) {
        // A leftover temporary file is deleted before the next full write anyway.
    }
}

std::ostream& TemporaryFile::stream()
{
    return m_file->stream();
}

void TemporaryFile::close()
{
    m_file->closeScratch();
}

std::unique_ptr<std::istream> TemporaryFile::openForReading()
{
    return m_files.openForReading(m_path);
}

void TemporaryFile::remove()
{
    m_files.remove(m_path);
    m_removed = true;
}

} // namespace kfield
