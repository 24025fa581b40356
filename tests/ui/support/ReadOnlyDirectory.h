#pragma once

#include <filesystem>

namespace ui_testing {

// Makes a directory read-only for as long as it exists: no file can be created, renamed or deleted
// in it. Permissions do not stop the superuser, so then the directory is made immutable as well,
// where the file system allows it. isReadOnly says whether it worked.
class ReadOnlyDirectory {
public:
    explicit ReadOnlyDirectory(std::filesystem::path directory);
    ~ReadOnlyDirectory();
    ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
    ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;

    bool isReadOnly() const { return m_isReadOnly; }

private:
    bool setImmutable(bool immutable);
    bool canCreateFile() const;

    std::filesystem::path m_directory;
    std::filesystem::perms m_permissions;
    bool m_immutable = false;
    bool m_isReadOnly = false;
};

} // namespace ui_testing
