#pragma once

#include <cstdint>
#include <optional>

namespace kfield {

// The language text line that names a command type, per table; nothing for a type without a name.
std::optional<int> singleTypeLine(std::int32_t type);       // 1100..1114
std::optional<int> axisLineTypeLine(std::int32_t type);     // 1002..1020 without 1011
std::optional<int> positionAxisTypeLine(std::int32_t type); // 1202..1219 without 1209

// The unit text of a unit code: 0 "INCH", 1 "MM", 2 "DEG", any other the empty text.
const char* unitText(std::int32_t unitCode);

} // namespace kfield
