#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kfield {

// What the description walk keeps while it goes through the commands of one part program. It starts
// empty on every full write, so no part program's description carries another's comment or values.
struct DescriptionState {
    std::int64_t CharacteristicCount = 0; // the number of the last characteristic given out
    std::string BlockId;                  // Id of the last block start
    std::string UnitText;                 // "INCH", "MM", "DEG" or empty
    std::string FeatureName1;
    std::string FeatureName2;
    std::string FeatureName3;
    std::string TypeText;
    std::string PendingComment;           // the last comment no characteristic has taken yet
    std::int64_t PositionGroupCounter = 0; // position groups opened so far; never wraps around

    // Values that named values gave for characteristic n.
    std::map<std::int64_t, std::string> TableK2060;
    std::map<std::int64_t, std::string> TableK2005;
    std::map<std::int64_t, std::string> TableK2022;

    // Whole header lines given by named values; empty when not given.
    std::string PartFieldK1007;
    std::string PartFieldK1011;
    std::string PartFieldK1101;
    std::string PartFieldK1303;
    std::string PartFieldK2404; // the last line of the description
};

} // namespace kfield
