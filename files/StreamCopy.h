#pragma once

#include <istream>
#include <ostream>

namespace kfield {

// Copies the rest of the input to the output byte for byte; returns false when the input could not
// be read to its end. Failures of the output show in its state.
bool copyStream(std::istream& in, std::ostream& out);

} // namespace kfield
