#include "AppendTransaction.h"

namespace kfield {

AppendTransaction::AppendTransaction(FileSystem& files, std::filesystem::path path)
    : m_files(files)
    , m_path(std::move(path))
    , m_existed(m_files.exists(m_path))
    , m_oldSize(m_existed ? m_files.size(m_path) : 0)
    , m_file(m_files.openForAppending(m_path))
{
}

AppendTransaction::~AppendTransaction()
{
    if (!m_committed)
        rollBack();
}

std::ostream& AppendTransaction::stream()
{
    return m_file->stream();
}

void AppendTransaction::finish()
{
    m_file->close();
}

void AppendTransaction::rollBack() noexcept
{
    m_file.reset();
    try {
        if (m_existed)
            m_files.resize(m_path, m_oldSize);
        else
            m_files.remove(m_path);
    } catch (...) {
        // Nothing more can be done from a destructor; the error that led here is being reported.
    }
}

} // namespace kfield
