#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace source {
class DimensionData;
}

// Which commands become characteristics, and of what kind. The description walk and the value walk
// both decide by these rules, so every characteristic has the same number in the description and
// in the values.
namespace kfield {

namespace commandtype {
inline constexpr std::int32_t kAxisBlockStart = 1000;
inline constexpr std::int32_t kAxisBlockEnd = 1001;
inline constexpr std::int32_t kPositionBlockStart = 1200;
inline constexpr std::int32_t kPositionBlockEnd = 1201;
inline constexpr std::int32_t kUnconvertedAxisLine = 1011;
inline constexpr std::int32_t kPositionResult = 1209;

bool isBlockStart(std::int32_t type);
bool isBlockEnd(std::int32_t type);
bool isSingleType(std::int32_t type);       // 1100..1114
bool isAxisLineType(std::int32_t type);     // 1002..1020, 1011 included
bool isPositionAxisType(std::int32_t type); // 1202..1219, 1209 included
} // namespace commandtype

// What a command gives. An axis line or position axis of a type without a type name still takes a
// number; a single dimension of such a type takes none.
enum class Characteristic { Single, AxisLine, UnknownAxisLine, PositionResult, PositionAxis, UnknownPositionAxis };

struct Classification {
    std::array<Characteristic, 2> found{}; // in number order; a command can be axis and position line
    int count = 0;
    bool unknownSingleType = false;

    void add(Characteristic c) { found[static_cast<std::size_t>(count++)] = c; }
};

// The dimension data of one command, each member read at most once and only when a rule needs it.
class DimensionReads {
public:
    explicit DimensionReads(std::shared_ptr<source::DimensionData> data);

    source::DimensionData& data() { return *m_data; }
    bool isAxisLine();
    bool isPositionLine();
    // Throws source::ReadError.
    std::int32_t outputSelector();
    // The selector of a block start; a failed read is not reported and reads as nothing.
    std::optional<std::int32_t> blockStartSelector();

private:
    std::shared_ptr<source::DimensionData> m_data;
    std::optional<bool> m_isAxisLine;
    std::optional<bool> m_isPositionLine;
    std::optional<std::int32_t> m_outputSelector;
};

// The open/closed state of axis and position blocks, across the commands of one walk.
class BlockState {
public:
    // Every command: a block end of either kind closes whatever block is open.
    void commandSeen(std::int32_t type);
    // A block start opens its block when its selector is 0 or 2, or could not be read.
    void blockStarted(std::optional<std::int32_t> selector);
    bool InBlock() const { return m_inBlock; }

private:
    bool m_inBlock = false;
};

bool isConvertedSelector(std::int32_t selector); // 0 or 2

// The characteristics of one dimension command, after BlockState has seen it.
Classification classifyDimension(std::int32_t type, const BlockState& blocks, bool positionAxes, DimensionReads& dimension);

} // namespace kfield
