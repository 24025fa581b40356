#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace source {

// Every member of the object model that the converter calls; the in-memory model counts and fails
// reads by these.
enum class Member : std::uint8_t {
    ApplicationActivePartProgram,
    ApplicationUpdatesEnabled,
    ApplicationSetUpdatesEnabled,
    PartProgramDefaultMember,
    PartProgramPartName,
    PartProgramDirectory,
    PartProgramRevisionNumber,
    PartProgramSerialNumber,
    PartProgramFileName,
    PartProgramCommands,
    CommandsCount,
    CommandsEnumerate,
    CommandsVisitCommand,
    CommandId,
    CommandCommandType,
    CommandDimensionData,
    CommandIsDimension,
    CommandHasComment,
    CommandHasNamedValue,
    CommandValueValid,
    CommandComment,
    CommandNamedValue,
    DimensionDataId,
    DimensionDataFeature1,
    DimensionDataFeature2,
    DimensionDataFeature3,
    DimensionDataNominal,
    DimensionDataMeasured,
    DimensionDataMinusTolerance,
    DimensionDataPlusTolerance,
    DimensionDataPositionResult,
    DimensionDataOutputSelector,
    DimensionDataUnitCode,
    DimensionDataIsAxisLine,
    DimensionDataIsPositionLine,
    CommentCommentKind,
    CommentText,
    NamedValueName,
    NamedValueValue,
};

inline constexpr int kMemberCount = static_cast<int>(Member::NamedValueValue) + 1;

// "Command.CommandType", as messages and reports name a member.
std::string_view memberName(Member member);

// The objects of the model, as the snapshot format groups their members.
enum class ModelObject { Application, PartProgram, Command, DimensionData, Comment, NamedValue };

// The member that a snapshot's "failingReads" entry names on an object of the given kind.
std::optional<Member> memberFromSnapshotName(ModelObject object, std::string_view name);
std::string_view snapshotName(Member member);
ModelObject objectOf(Member member);

} // namespace source
