#include "SyntheticProgram.h"

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace bench {
namespace {

// Types that the walks do not know: moves, probing, alignments.
constexpr std::array<std::int32_t, 6> kPlainTypes{100, 110, 120, 130, 200, 500};
constexpr std::int32_t kCommentType = 300;
constexpr std::int32_t kNamedValueType = 400;
// Position axes of a position block; the block ends with its result line 1209.
constexpr std::array<std::int32_t, 7> kPositionAxisTypes{1202, 1203, 1204, 1205, 1206, 1207, 1208};

constexpr std::array<std::string_view, 7> kCommentTexts{
    "Check bore, upper side", "Datum A aligned", "Flatness of the sealing face", "Bohrung \xC3\x98" "12 pr\xC3\xBC" "fen",
    "Probe changed\r\nrecalibrated", "  Thread M8, depth 12  ", "Second clamping"};
constexpr std::array<std::string_view, 6> kFeatureKinds{"CIR", "PLN", "CYL", "PT", "LIN", "CON"};

// Deterministic on every platform: the C++ standard fixes the output of std::mt19937_64 to the bit
// but not that of its distributions, so the ranges are formed here.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}

    // 0 .. n-1
    std::uint64_t below(std::uint64_t n) { return m_engine() % n; }
    std::int32_t between(std::int32_t low, std::int32_t high)
    {
        return low + static_cast<std::int32_t>(below(static_cast<std::uint64_t>(high - low + 1)));
    }
    bool percent(std::uint64_t chance) { return below(100) < chance; }
    // [low, high), 53 random bits.
    double uniform(double low, double high) { return low + (high - low) * static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 m_engine;
};

class ProgramGenerator {
public:
    ProgramGenerator(std::size_t commandCount, std::uint64_t seed) : m_random(seed), m_size(commandCount)
    {
        m_commands.reserve(commandCount);
    }

    std::vector<source::CommandRecord> generate()
    {
        partLevelNamedValues();
        while (m_commands.size() < m_size) {
            const std::uint64_t pick = m_random.below(100);
            if (pick < 30)
                add(plain());
            else if (pick < 60)
                add(single());
            else if (pick < 68)
                add(comment());
            else if (pick < 74)
                add(characteristicNamedValue());
            else if (pick < 87)
                addAll(axisBlock(0));
            else if (pick < 97)
                addAll(positionBlock(2));
            else if (pick < 99)
                addAll(axisBlock(1)); // a block the part program does not output
            else
                addAll(positionBlock(1));
        }
        return std::move(m_commands);
    }

private:
    void add(source::CommandRecord command)
    {
        if (m_commands.size() < m_size)
            m_commands.push_back(std::move(command));
    }

    // A block that does not fit any more is replaced by plain commands, so the count is exact and no
    // block is left open by the cut.
    void addAll(std::vector<source::CommandRecord> commands)
    {
        if (m_commands.size() + commands.size() > m_size) {
            while (m_commands.size() < m_size)
                m_commands.push_back(plain());
            return;
        }
        for (auto& command : commands)
            m_commands.push_back(std::move(command));
    }

    void partLevelNamedValues()
    {
        add(namedValue("K1101", "Synthetic drawing 4410-7"));
        add(namedValue("K1303", "Plant 2"));
        add(namedValue("FIELD5", "#LOT" + std::to_string(m_random.between(1000, 9999))));
        add(namedValue("FIELD6", std::to_string(m_random.between(1, 999))));
        add(namedValue("K0053", "Shift 2"));
    }

    source::CommandRecord plain()
    {
        source::CommandRecord command;
        command.commandType = kPlainTypes[m_random.below(kPlainTypes.size())];
        command.valueValid = true;
        return command;
    }

    source::CommandRecord comment()
    {
        source::CommandRecord command;
        command.commandType = kCommentType;
        command.valueValid = true;
        command.comment = source::CommentRecord{m_random.percent(90) ? 1 : 2, commentText(), {}};
        return command;
    }

    std::string commentText() { return std::string(kCommentTexts[m_random.below(kCommentTexts.size())]); }

    static source::CommandRecord namedValue(std::string name, std::string value)
    {
        source::CommandRecord command;
        command.commandType = kNamedValueType;
        command.valueValid = true;
        command.namedValue = source::NamedValueRecord{std::move(name), std::move(value), {}};
        return command;
    }

    // A keyword for the next characteristic, or now and then one for the whole measurement.
    source::CommandRecord characteristicNamedValue()
    {
        const std::uint64_t pick = m_random.below(100);
        if (pick < 35)
            return namedValue("K2060", std::to_string(m_random.between(1, 999)));
        if (pick < 45)
            return namedValue("K2005", std::to_string(m_random.between(1, 4)));
        if (pick < 55)
            return namedValue("K2022", std::to_string(m_random.between(1, 9)));
        if (pick < 75)
            return namedValue("FIELD4", m_random.percent(50) ? "1,5" : std::to_string(m_random.between(1, 99)));
        if (pick < 95)
            return namedValue("FIELD8", std::to_string(m_random.between(1, 32767))); // a 16-bit whole number
        if (pick < 98)
            return namedValue("k0012", " " + std::to_string(m_random.between(1, 500)) + " ");
        return namedValue("REMARK", "not a keyword"); // ignored by both walks
    }

    std::string featureName()
    {
        if (m_random.percent(2))
            return "BOHRUNG_\xC3\x84" + std::to_string(m_random.between(1, 99));
        return std::string(kFeatureKinds[m_random.below(kFeatureKinds.size())]) + std::to_string(m_random.between(1, 400));
    }

    void setFeatures(source::DimensionRecord& dimension, int count)
    {
        dimension.feature1 = count >= 1 ? featureName() : "";
        dimension.feature2 = count >= 2 ? featureName() : "";
        dimension.feature3 = count >= 3 ? featureName() : "";
    }

    int featureCount()
    {
        const std::uint64_t pick = m_random.below(100);
        return pick < 50 ? 1 : pick < 85 ? 2 : 3;
    }

    std::int32_t unitCode()
    {
        const std::uint64_t pick = m_random.below(100);
        return pick < 85 ? 1 : pick < 95 ? 0 : 2;
    }

    // Nominal, tolerances and a measured value scattered around the nominal, as a machine reports them.
    void setValues(source::DimensionRecord& dimension, double nominalLow, double nominalHigh)
    {
        dimension.nominal = std::round(m_random.uniform(nominalLow, nominalHigh) * 1000) / 1000;
        dimension.plusTolerance = static_cast<double>(m_random.between(1, 40)) / 200;
        dimension.minusTolerance = static_cast<double>(m_random.between(1, 40)) / 200;
        dimension.measured = dimension.nominal + m_random.uniform(-1.2, 1.2) * dimension.plusTolerance;
    }

    source::CommandRecord dimensionCommand(std::int32_t type)
    {
        source::CommandRecord command;
        command.commandType = type;
        command.isDimension = true;
        command.valueValid = m_random.percent(97);
        command.dimensionData.emplace();
        return command;
    }

    source::CommandRecord single()
    {
        const std::int32_t type = m_random.between(1100, 1114);
        source::CommandRecord command = dimensionCommand(type);
        source::DimensionRecord& dimension = *command.dimensionData;
        dimension.id = "DIM" + std::to_string(++m_singles);
        command.id = dimension.id;
        setFeatures(dimension, featureCount());
        setValues(dimension, 0.5, 500);
        const std::uint64_t selector = m_random.below(100);
        dimension.outputSelector = selector < 90 ? 0 : selector < 97 ? 2 : 1;
        dimension.unitCode = type == 1108 || type == 1109 ? 2 : unitCode();
        if (m_random.percent(10))
            command.comment = source::CommentRecord{1, commentText(), {}};
        if (m_random.percent(3))
            command.namedValue = source::NamedValueRecord{"FIELD8", std::to_string(m_random.between(1, 32767)), {}};
        return command;
    }

    source::CommandRecord blockStart(std::int32_t type, std::string id, std::int32_t selector)
    {
        source::CommandRecord command = dimensionCommand(type);
        command.id = std::move(id);
        source::DimensionRecord& dimension = *command.dimensionData;
        dimension.id = command.id;
        dimension.outputSelector = selector;
        dimension.unitCode = unitCode();
        setFeatures(dimension, featureCount());
        return command;
    }

    static source::CommandRecord blockEnd(std::int32_t type)
    {
        source::CommandRecord command;
        command.commandType = type;
        command.valueValid = true;
        return command;
    }

    std::vector<source::CommandRecord> axisBlock(std::int32_t selector)
    {
        std::vector<source::CommandRecord> block;
        block.push_back(blockStart(1000, "AX" + std::to_string(++m_blocks), selector));
        const int lines = m_random.between(2, 5);
        for (int i = 0; i < lines; ++i) {
            source::CommandRecord line = dimensionCommand(m_random.between(1002, 1020));
            line.dimensionData->isAxisLine = true;
            setValues(*line.dimensionData, -200, 200);
            block.push_back(std::move(line));
        }
        block.push_back(blockEnd(1001));
        return block;
    }

    std::vector<source::CommandRecord> positionBlock(std::int32_t selector)
    {
        std::vector<source::CommandRecord> block;
        block.push_back(blockStart(1200, "POS" + std::to_string(++m_blocks), selector));
        const int axes = m_random.between(2, 4);
        for (int i = 0; i < axes; ++i) {
            source::CommandRecord line = dimensionCommand(kPositionAxisTypes[m_random.below(kPositionAxisTypes.size())]);
            line.dimensionData->isPositionLine = true;
            setValues(*line.dimensionData, -150, 150);
            block.push_back(std::move(line));
        }
        source::CommandRecord result = dimensionCommand(1209);
        result.dimensionData->isPositionLine = true;
        result.dimensionData->plusTolerance = static_cast<double>(m_random.between(1, 20)) / 100;
        result.dimensionData->positionResult = m_random.uniform(0, 1.3) * result.dimensionData->plusTolerance;
        result.dimensionData->measured = result.dimensionData->positionResult;
        block.push_back(std::move(result));
        block.push_back(blockEnd(1201));
        return block;
    }

    Random m_random;
    std::size_t m_size;
    std::vector<source::CommandRecord> m_commands;
    int m_singles = 0;
    int m_blocks = 0;
};

} // namespace

source::ApplicationRecord syntheticApplication(std::size_t commandCount, std::uint64_t seed)
{
    const std::string name = "SYNTH" + std::to_string(commandCount);
    source::PartProgramRecord program;
    program.defaultMember = name;
    program.partName = "SYNTHETIC PART " + std::to_string(commandCount);
    program.directory = "D:\\MESSDATEN\\SYNTH";
    program.revisionNumber = "A";
    program.serialNumber = "S-" + std::to_string(seed);
    program.fileName = name + ".PRG";
    program.commands = ProgramGenerator(commandCount, seed).generate();

    source::ApplicationRecord application;
    application.activePartProgram = std::move(program);
    return application;
}

} // namespace bench
