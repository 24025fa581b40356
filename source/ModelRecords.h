#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Member.h"
#include "OptionalRecord.h"

// Plain data of a measuring application's state: what the in-memory model serves and what a snapshot
// file holds. Each record may name members whose read fails there (a bit per source::Member).
namespace source {

class FailingReads {
public:
    void add(Member member) { m_bits |= bit(member); }
    bool contains(Member member) const { return (m_bits & bit(member)) != 0; }
    bool empty() const { return m_bits == 0; }

private:
    static std::uint64_t bit(Member member) { return std::uint64_t{1} << static_cast<unsigned>(member); }
    std::uint64_t m_bits = 0;
};
static_assert(kMemberCount <= 64);

struct DimensionRecord {
    std::string id;
    std::string feature1;
    std::string feature2;
    std::string feature3;
    double nominal = 0;
    double measured = 0;
    double minusTolerance = 0;
    double plusTolerance = 0;
    double positionResult = 0;
    std::int32_t outputSelector = 0;
    std::int32_t unitCode = 0;
    bool isAxisLine = false;
    bool isPositionLine = false;
    FailingReads failingReads;
};

struct CommentRecord {
    std::int32_t commentKind = 0;
    std::string text;
    FailingReads failingReads;
};

struct NamedValueRecord {
    std::string name;
    std::string value;
    FailingReads failingReads;
};

struct CommandRecord {
    std::int32_t commandType = 0;
    std::string id;
    bool isDimension = false;
    bool valueValid = false;
    OptionalRecord<DimensionRecord> dimensionData; // absent: every member reads as its default
    OptionalRecord<CommentRecord> comment;         // present: HasComment is true
    OptionalRecord<NamedValueRecord> namedValue;   // present: HasNamedValue is true
    FailingReads failingReads;
};

struct PartProgramRecord {
    std::string defaultMember;
    std::string partName;
    std::string directory;
    std::string revisionNumber;
    std::string serialNumber;
    std::string fileName;
    std::vector<CommandRecord> commands;
    FailingReads failingReads; // also the command collection's members
};

struct ApplicationRecord {
    bool updatesEnabled = true;
    std::optional<PartProgramRecord> activePartProgram; // absent: no part program is open
    FailingReads failingReads;
};

} // namespace source
