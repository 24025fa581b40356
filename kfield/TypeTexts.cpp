#include "TypeTexts.h"

#include <array>

namespace kfield {
namespace {

struct TypeLine {
    std::int32_t type;
    int line;
};

template <std::size_t N>
std::optional<int> lookUp(const std::array<TypeLine, N>& table, std::int32_t type)
{
    for (const TypeLine& entry : table) {
        if (entry.type == type)
            return entry.line;
    }
    return std::nullopt;
}

constexpr std::array<TypeLine, 15> kSingleTypes{{
    {1100, 147}, {1101, 145}, {1102, 140}, {1103, 143}, {1104, 142}, {1105, 144}, {1106, 136}, {1107, 134},
    {1108, 135}, {1109, 133}, {1110, 146}, {1111, 139}, {1112, 137}, {1113, 141}, {1114, 138},
}};

constexpr std::array<TypeLine, 18> kAxisLineTypes{{
    {1002, 112}, {1003, 113}, {1004, 114}, {1005, 98},  {1006, 105}, {1007, 97},  {1008, 111}, {1009, 104}, {1010, 102},
    {1012, 101}, {1013, 103}, {1014, 108}, {1015, 109}, {1016, 107}, {1017, 100}, {1018, 99},  {1019, 106}, {1020, 110},
}};

constexpr std::array<TypeLine, 17> kPositionAxisTypes{{
    {1202, 129}, {1203, 130}, {1204, 131}, {1205, 118}, {1206, 119}, {1207, 124}, {1208, 123}, {1210, 121}, {1211, 127},
    {1212, 122}, {1213, 128}, {1214, 115}, {1215, 116}, {1216, 117}, {1217, 120}, {1218, 125}, {1219, 126},
}};

} // namespace

std::optional<int> singleTypeLine(std::int32_t type)
{
    return lookUp(kSingleTypes, type);
}

std::optional<int> axisLineTypeLine(std::int32_t type)
{
    return lookUp(kAxisLineTypes, type);
}

std::optional<int> positionAxisTypeLine(std::int32_t type)
{
    return lookUp(kPositionAxisTypes, type);
}

const char* unitText(std::int32_t unitCode)
{
    switch (unitCode) {
    case 0: return "INCH";
    case 1: return "MM";
    case 2: return "DEG";
    default: return "";
    }
}

} // namespace kfield
