#include "DescriptionWriter.h"

#include "DescriptionState.h"
#include "LineWriter.h"
#include "TypeTexts.h"
#include "WalkErrors.h"

#include "source/MeasurementSource.h"

namespace kfield {
namespace {

// Single types whose lower limit is a real tolerance; the others get the fixed zero.
bool hasLowerLimit(std::int32_t type)
{
    return type == 1106 || type == 1107 || type == 1108 || type == 1109 || type == 1113;
}

bool alwaysDegrees(std::int32_t type)
{
    return type == 1108 || type == 1109;
}

// Position axes that belong to the group their block's position result opens.
bool linkedToPositionGroup(std::int32_t type)
{
    return type == 1202 || type == 1203 || type == 1204 || type == 1207 || type == 1208;
}

const std::string& entry(const std::map<std::int64_t, std::string>& table, std::int64_t n)
{
    static const std::string empty;
    const auto found = table.find(n);
    return found == table.end() ? empty : found->second;
}

} // namespace

DescriptionWriter::DescriptionWriter(LineWriter& out, DescriptionState& state, std::string decimalSeparator, bool comments,
                                     bool positionGroups)
    : m_out(out), m_state(state), m_decimalSeparator(std::move(decimalSeparator)), m_comments(comments), m_positionGroups(positionGroups)
{
}

void DescriptionWriter::single(std::int32_t type, source::DimensionData& dimension)
{
    line("K2001", dimension.Id());
    m_state.FeatureName1 = dimension.Feature1();
    m_state.FeatureName2 = dimension.Feature2();
    m_state.FeatureName3 = dimension.Feature3();
    description(m_state.TypeText);
    line("K2101", fivePlaces(dimension.Nominal(), "DimensionData.Nominal"));
    line("K2121", "1");
    line("K2113", fivePlaces(dimension.PlusTolerance(), "DimensionData.PlusTolerance"));
    if (hasLowerLimit(type)) {
        line("K2120", "1");
        line("K2112", fivePlaces(-dimension.MinusTolerance(), "DimensionData.MinusTolerance"));
    } else {
        line("K2120", "2");
        line("K2112", "0.00000");
    }
    m_state.UnitText = alwaysDegrees(type) ? "DEG" : unitText(dimension.UnitCode());
    line("K2142", m_state.UnitText);
    tail();
}

void DescriptionWriter::blockLineStart()
{
    line("K2001", m_state.BlockId);
}

void DescriptionWriter::axisLineRest(source::DimensionData& dimension)
{
    description(m_state.TypeText);
    blockLineLimits(dimension);
    tail();
}

void DescriptionWriter::positionResult(source::DimensionData& dimension, const std::string& positionResultText)
{
    line("K2001", m_state.BlockId);
    description(positionResultText);
    line("K2101", fourPlaces(dimension.Nominal(), "DimensionData.Nominal"));
    line("K2120", "2");
    line("K2121", "1");
    line("K2113", fourPlaces(dimension.PlusTolerance(), "DimensionData.PlusTolerance"));
    line("K2112", "0.0000");
    line("K2142", m_state.UnitText);
    if (m_positionGroups) {
        ++m_state.PositionGroupCounter;
        line("K2008", "2");
        line("K2030", std::to_string(m_state.PositionGroupCounter));
    }
    tail();
}

void DescriptionWriter::positionAxis(std::int32_t type, source::DimensionData& dimension)
{
    line("K2001", m_state.BlockId);
    description(m_state.TypeText);
    blockLineLimits(dimension);
    // The group the block's position result will open next, when it follows its axes.
    if (m_positionGroups && linkedToPositionGroup(type))
        line("K2031", std::to_string(m_state.PositionGroupCounter + 1));
    tail();
}

void DescriptionWriter::blockLineLimits(source::DimensionData& dimension)
{
    line("K2101", fivePlaces(dimension.Nominal(), "DimensionData.Nominal"));
    line("K2120", "1");
    line("K2121", "1");
    line("K2113", fivePlaces(dimension.PlusTolerance(), "DimensionData.PlusTolerance"));
    line("K2112", fivePlaces(-dimension.MinusTolerance(), "DimensionData.MinusTolerance"));
    line("K2142", m_state.UnitText);
}

void DescriptionWriter::line(std::string_view key, std::string_view value)
{
    m_out.characteristicLine(key, m_state.CharacteristicCount, value);
}

void DescriptionWriter::description(const std::string& typeText)
{
    const std::string& f1 = m_state.FeatureName1;
    const std::string& f2 = m_state.FeatureName2;
    const std::string& f3 = m_state.FeatureName3;
    m_description = typeText;
    const auto add = [this](const std::string& name) {
        m_description += '.';
        m_description += name;
    };
    if (!f1.empty() && !f2.empty() && !f3.empty()) {
        add(f1);
        add(f2);
        add(f3);
    } else if (!f1.empty() && !f2.empty() && f3.empty()) {
        add(f1);
        add(f2);
    } else if (!f1.empty() && f2.empty() && f3.empty()) {
        add(f1);
    }
    line("K2002", m_description);
}

void DescriptionWriter::tail()
{
    const std::int64_t n = m_state.CharacteristicCount;
    const std::string& k2060 = entry(m_state.TableK2060, n);
    line("K2060", k2060.empty() ? std::string_view("0") : std::string_view(k2060));
    if (const std::string& k2005 = entry(m_state.TableK2005, n); !k2005.empty())
        line("K2005", k2005);
    if (const std::string& k2022 = entry(m_state.TableK2022, n); !k2022.empty())
        line("K2022", k2022);
    if (m_comments && !m_state.PendingComment.empty()) {
        line("K2900", m_state.PendingComment);
        m_state.PendingComment.clear();
    }
}

std::string DescriptionWriter::fivePlaces(double value, const char* member) const
{
    return formatDimensionValue(value, 5, m_decimalSeparator, member);
}

std::string DescriptionWriter::fourPlaces(double value, const char* member) const
{
    return formatDimensionValue(value, 4, m_decimalSeparator, member);
}

} // namespace kfield
