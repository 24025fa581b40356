#include "FileReplacement.h"

#include "FileError.h"

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

CreatedFile createPartFile(FileSystem& files, const std::filesystem::path& target)
{
    for (int attempt = 0; attempt < kPartFileNames; ++attempt) {
        std::filesystem::path name = partFileName(target, attempt);
        if (auto file = files.createNew(name))
            return CreatedFile(files, std::move(name), std::move(file));
    }
    throw FileError("Cannot write", target, "every name for its part file is taken (" + config::pathText(partFileName(target, 0)) + " and on)");
}

} // namespace

FileReplacement::FileReplacement(FileSystem& files, std::filesystem::path target)
    : m_files(files), m_target(std::move(target)), m_part(createPartFile(m_files, m_target))
{
}

std::ostream& FileReplacement::stream()
{
    return m_part.file().stream();
}

void FileReplacement::commit()
{
    m_part.file().close();
    m_files.rename(m_part.path(), m_target);
    m_part.release();
}

} // namespace kfield
