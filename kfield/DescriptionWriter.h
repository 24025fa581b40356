#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace source {
class DimensionData;
}

namespace kfield {

class LineWriter;
struct DescriptionState;

// Writes the description block of one characteristic: its K-field lines from K2001 to the common
// tail (K2060, K2005, K2022, K2900), with the number n taken from CharacteristicCount.
class DescriptionWriter {
public:
    DescriptionWriter(LineWriter& out, DescriptionState& state, std::string decimalSeparator, bool comments, bool positionGroups);

    // A single dimension of type 1100..1114; TypeText is set.
    void single(std::int32_t type, source::DimensionData& dimension);
    // The K2001 line of an axis line or position axis, written before its type is looked up.
    void blockLineStart();
    // The rest of an axis line of type 1002..1020; TypeText is set.
    void axisLineRest(source::DimensionData& dimension);
    void positionResult(source::DimensionData& dimension, const std::string& positionResultText);
    // A position axis of type 1202..1219 other than 1209; TypeText is set.
    void positionAxis(std::int32_t type, source::DimensionData& dimension);

private:
    void line(std::string_view key, std::string_view value);
    void description(const std::string& typeText);
    void tail();
    // Nominal, both limits and the block's unit of an axis line or position axis.
    void blockLineLimits(source::DimensionData& dimension);
    std::string fivePlaces(double value, const char* member) const;
    std::string fourPlaces(double value, const char* member) const;

    LineWriter& m_out;
    DescriptionState& m_state;
    std::string m_decimalSeparator;
    bool m_comments;
    bool m_positionGroups;
    std::string m_description; // the K2002 text, reused for every characteristic
};

} // namespace kfield
