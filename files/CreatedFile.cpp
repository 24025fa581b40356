#include "CreatedFile.h"

namespace kfield {

CreatedFile::CreatedFile(FileSystem& files, std::filesystem::path path, std::unique_ptr<OutputFile> file)
    : m_files(files), m_path(std::move(path)), m_file(std::move(file))
{
}

CreatedFile::~CreatedFile()
{
    m_file.reset();
    if (m_released)
        return;
    try {
        m_files.remove(m_path);
    } catch (...) {
        // A leftover part file is never taken for a transfer file, a leftover temporary file is
        // deleted before the next full write.
    }
}

} // namespace kfield
