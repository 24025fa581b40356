#pragma once

#include <filesystem>

namespace reliability {

// Makes a file or directory immutable for the object's lifetime: nothing can write, create, rename or
// delete there, not even root, whom permission bits do not stop. Needs a file system that keeps the
// attribute (ext4, xfs, btrfs; not tmpfs) and the right to set it.
class ImmutableFlag {
public:
    // Throws std::runtime_error when the attribute cannot be set.
    explicit ImmutableFlag(std::filesystem::path path);
    ~ImmutableFlag();
    ImmutableFlag(const ImmutableFlag&) = delete;
    ImmutableFlag& operator=(const ImmutableFlag&) = delete;

    // Empty when the attribute can be set in this directory, else the reason why not.
    static std::string unavailableReason(const std::filesystem::path& directory);

private:
    std::filesystem::path m_path;
};

} // namespace reliability
