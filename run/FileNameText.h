#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace app {

// A part of a file name with every character that Windows does not allow in a file name (\ / : * ?
// " < > | and control characters) replaced by "_", so a part name can never lead out of the
// output directory.
std::string fileNameSafe(std::string_view text);

// A file name that Windows would take for a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9,
// CONIN$, CONOUT$, in any letter case, alone or before a dot or blanks) gets "_" behind the device
// name: written to a device, a transfer file would be lost. "CON" -> "CON_", "nul.dfd" -> "nul_.dfd".
std::string notADeviceName(std::string_view fileName);

// A date or time text for a file name: the first two ":" become ".", as do any further characters
// that a file name cannot hold ("05.12.2026", "14:03:12" -> "14.03.12", "12/05/2026" -> "12.05.2026").
std::string dateTimeForFileName(std::string_view text);

} // namespace app
