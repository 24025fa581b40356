#include "CharacteristicRules.h"

#include "source/MeasurementSource.h"
#include "source/ReadError.h"

namespace kfield {

namespace commandtype {
bool isBlockStart(std::int32_t type)
{
    return type == kAxisBlockStart || type == kPositionBlockStart;
}
bool isBlockEnd(std::int32_t type)
{
    return type == kAxisBlockEnd || type == kPositionBlockEnd;
}
bool isSingleType(std::int32_t type)
{
    return type >= 1100 && type <= 1114;
}
bool isAxisLineType(std::int32_t type)
{
    return type >= 1002 && type <= 1020;
}
bool isPositionAxisType(std::int32_t type)
{
    return type >= 1202 && type <= 1219;
}
} // namespace commandtype

DimensionReads::DimensionReads(std::shared_ptr<source::DimensionData> data) : m_data(std::move(data)) {}

bool DimensionReads::isAxisLine()
{
    if (!m_isAxisLine)
        m_isAxisLine = m_data->IsAxisLine();
    return *m_isAxisLine;
}

bool DimensionReads::isPositionLine()
{
    if (!m_isPositionLine)
        m_isPositionLine = m_data->IsPositionLine();
    return *m_isPositionLine;
}

std::int32_t DimensionReads::outputSelector()
{
    if (!m_outputSelector)
        m_outputSelector = m_data->OutputSelector();
    return *m_outputSelector;
}

std::optional<std::int32_t> DimensionReads::blockStartSelector()
{
    try {
        return outputSelector();
    } catch (const source::ReadError&) {
        return std::nullopt;
    }
}

void BlockState::commandSeen(std::int32_t type)
{
    if (commandtype::isBlockEnd(type))
        m_inBlock = false;
}

void BlockState::blockStarted(std::optional<std::int32_t> selector)
{
    m_inBlock = !selector || isConvertedSelector(*selector);
}

bool isConvertedSelector(std::int32_t selector)
{
    return selector == 0 || selector == 2;
}

Classification classifyDimension(std::int32_t type, const BlockState& blocks, bool positionAxes, DimensionReads& dimension)
{
    using namespace commandtype;
    Classification result;
    const bool axisLine = dimension.isAxisLine();
    const bool positionLine = dimension.isPositionLine();

    if (!axisLine && !positionLine) {
        if (isBlockStart(type) || isBlockEnd(type) || !isConvertedSelector(dimension.outputSelector()))
            return result;
        if (isSingleType(type))
            result.add(Characteristic::Single);
        else
            result.unknownSingleType = true;
        return result;
    }

    if (!blocks.InBlock())
        return result;
    if (axisLine && type != kUnconvertedAxisLine)
        result.add(isAxisLineType(type) ? Characteristic::AxisLine : Characteristic::UnknownAxisLine);
    if (positionLine) {
        if (type == kPositionResult)
            result.add(Characteristic::PositionResult);
        else if (positionAxes)
            result.add(isPositionAxisType(type) ? Characteristic::PositionAxis : Characteristic::UnknownPositionAxis);
    }
    return result;
}

} // namespace kfield
