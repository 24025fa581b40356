#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "ModelRecords.h"
#include "ReadError.h"

// A snapshot is the state of a running measuring application as one JSON document: the part program
// that is open and every command with its dimension data, comment and named value. It is read whole or
// not at all.
namespace source {

// The snapshot could not be read or is no valid snapshot: member() names the file.
class SnapshotError : public ReadError {
public:
    SnapshotError(const std::string& source, const std::string& reason)
        : ReadError("Cannot read the snapshot \"" + source + "\": " + reason, source, reason)
    {
    }
};

// Throws SnapshotError naming the file, the position or member path and what is wrong.
// The file is parsed as it is read, never held whole: a large snapshot's text would be as large as
// its records.
ApplicationRecord readSnapshotFile(const std::filesystem::path& file);
ApplicationRecord parseSnapshot(std::string_view text, const std::string& sourceName);
ApplicationRecord parseSnapshot(std::istream& in, const std::string& sourceName);
// The file's bytes in pieces of a bounded size, in order (throws SnapshotError naming the file).
void readSnapshotPieces(const std::filesystem::path& file, const std::function<void(std::string_view)>& take);

// The snapshot document of a record; parseSnapshot of it gives the record back.
std::string writeSnapshot(const ApplicationRecord& record);

} // namespace source
