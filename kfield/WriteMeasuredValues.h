#pragma once

#include "TransferJob.h"

namespace kfield {

enum class ValuesOutcome {
    Written, // one ValueBlock was appended
    Aborted  // a named value failed its check; the message was shown and no file changed
};

// Walks the part program's commands once more, numbering the characteristics as the description walk
// does, and appends one ValueBlock of this measurement to the values file; in combined mode the values
// file's content moves on into the combined file. The files change all or nothing.
// Throws source::ReadError or source::ConnectionError when the application fails, FileError when a
// file does; no file changes then.
ValuesOutcome WriteMeasuredValues(const TransferJob& job, const TransferServices& services);

} // namespace kfield
