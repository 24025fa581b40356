#pragma once

namespace platform {

// Whether this system's file names ignore the case of their letters, as Windows' do.
#ifdef _WIN32
inline constexpr bool kFileNamesIgnoreCase = true;
#else
inline constexpr bool kFileNamesIgnoreCase = false;
#endif

} // namespace platform
