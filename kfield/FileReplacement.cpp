#include "FileReplacement.h"

#include "WriteError.h"

namespace kfield {
namespace {

// Part files are created only under names that nothing has yet: "<target>.part", then
// "<target>.1.part" and on, so a file of that name that is not ours is never touched.
constexpr int kPartFileNames = 100;

std::filesystem::path partFileName(const std::filesystem::path& target, int attempt)
{
    std::filesystem::path name(target);
    if (attempt > 0)
        name += "." + std::to_string(attempt);
    return name += ".part";
}

} // namespace

FileReplacement::FileReplacement(FileSystem& files, std::filesystem::path target) : m_files(files), m_target(std::move(target))
{
    for (int attempt = 0; attempt < kPartFileNames && !m_file; ++attempt) {
        m_partPath = partFileName(m_target, attempt);
        m_file = m_files.createNew(m_partPath);
    }
    if (!m_file)
        throw WriteError("Cannot write", m_target, "every name for its part file is taken (" + pathText(partFileName(m_target, 0)) + " and on)");
}

FileReplacement::~FileReplacement()
{
    if (m_committed)
        return;
    m_file.reset();
    try {
        m_files.remove(m_partPath);
    } catch (...) {
        // Already failing: a leftover part file is never taken for a transfer file, and later runs
        // choose another name.
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
