#pragma once

#include <stdexcept>

namespace config {

// A service of the operating system failed or is missing: a code page, a regional setting, the
// settings store, the program's own directory. The message says which and why.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace config
