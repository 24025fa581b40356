#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kfield {

class LineWriter;

// One measurement's data as the value walk collects it; written as one ValueBlock. Entry k of each
// table belongs to characteristic k. Named values may fill entries past the last characteristic.
struct ValueTables {
    std::vector<std::string> ValueTable;     // the measured values, rendered "#####0.0000"
    std::vector<bool> ValueValid;            // attribute "0" when true, "255" when false
    std::map<std::int64_t, std::string> CodeListTable; // field 4
    std::map<std::int64_t, std::string> NumberTable;   // field 8
    std::string RunIdentText;                // field 5 of characteristic 1
    std::string RunNumber6;                  // field 6 of characteristic 1
    std::string RunNumber7;                  // field 7 of characteristic 1
    std::string Line0053;                    // "K0053/0 value", a line of its own
    std::string Line0012;                    // "K0012/0 value", a line of its own

    std::int64_t CharacteristicCount() const { return static_cast<std::int64_t>(ValueTable.size()); }
};

// The ValueLine (eight fields per characteristic, separated by DC4, each group ended by SI; the
// group of characteristic 1 even when there is none), then Line0053 and Line0012 when given.
void writeValueBlock(LineWriter& out, const ValueTables& tables, const std::string& measurementDateTime);

} // namespace kfield
