#pragma once

#include <optional>

#include "TransferJob.h"
#include "WriteMeasuredValues.h"

namespace kfield {

// The full write: walks every command once, writes the description block of each characteristic into
// the temporary file, then has WritePartHeader assemble the description (or combined) file and write
// the first values. Returns what the values writer did, or nothing when a named value aborted the
// run: then no transfer file was written. The temporary file is gone on every way out.
// Throws source::ReadError, source::ConnectionError or FileError; no transfer file changes then.
std::optional<ValuesOutcome> ConvertPartProgram(const TransferJob& job, const TransferServices& services);

} // namespace kfield
