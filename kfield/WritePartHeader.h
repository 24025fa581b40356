#pragma once

#include "TransferJob.h"
#include "WriteMeasuredValues.h"

namespace kfield {

struct DescriptionState;
class TemporaryFile;

// Writes the part header and the body from the temporary file into the description file (the combined
// file in combined mode), which appears whole under its name only when complete, deletes the temporary
// file and hands over to WriteMeasuredValues. Should the values fail with an error, the new description
// goes again, so a failed run leaves no files behind.
ValuesOutcome WritePartHeader(const TransferJob& job, const TransferServices& services, const DescriptionState& state,
                              TemporaryFile& body);

} // namespace kfield
