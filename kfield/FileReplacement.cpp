#include "FileReplacement.h"

namespace kfield {

FileReplacement::FileReplacement(FileSystem& files, std::filesystem::path target)
    : m_files(files)
    , m_target(std::move(target))
    , m_partPath(std::filesystem::path(m_target) += ".part")
    , m_file(m_files.openForWriting(m_partPath))
{
}

FileReplacement::~FileReplacement()
{
    if (m_committed)
        return;
    m_file.reset();
    try {
        m_files.remove(m_partPath);
    } catch (...) {
        // Already failing: the part file is only a leftover, and the next run replaces it.
    }
}

std::ostream& FileReplacement::stream()
{
    return m_file->stream();
}

void FileReplacement::commit()
{
    m_file->close();
    m_files.rename(m_partPath, m_target);
    m_committed = true;
}

} // namespace kfield
