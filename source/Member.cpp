#include "Member.h"

#include <array>

namespace source {
namespace {

struct MemberInfo {
    Member member;
    ModelObject object;
    std::string_view name;         // as messages name it
    std::string_view snapshotName; // as a snapshot's "failingReads" names it
};

constexpr std::array<MemberInfo, kMemberCount> kMembers{{
    {Member::ApplicationActivePartProgram, ModelObject::Application, "Application.ActivePartProgram", "activePartProgram"},
    {Member::ApplicationUpdatesEnabled, ModelObject::Application, "Application.UpdatesEnabled", "updatesEnabled"},
    {Member::ApplicationSetUpdatesEnabled, ModelObject::Application, "Application.UpdatesEnabled (write)", "setUpdatesEnabled"},
    {Member::PartProgramDefaultMember, ModelObject::PartProgram, "PartProgram (default member)", "defaultMember"},
    {Member::PartProgramPartName, ModelObject::PartProgram, "PartProgram.PartName", "partName"},
    {Member::PartProgramDirectory, ModelObject::PartProgram, "PartProgram.Directory", "directory"},
    {Member::PartProgramRevisionNumber, ModelObject::PartProgram, "PartProgram.RevisionNumber", "revisionNumber"},
    {Member::PartProgramSerialNumber, ModelObject::PartProgram, "PartProgram.SerialNumber", "serialNumber"},
    {Member::PartProgramFileName, ModelObject::PartProgram, "PartProgram.FileName", "fileName"},
    {Member::PartProgramCommands, ModelObject::PartProgram, "PartProgram.Commands", "commands"},
    {Member::CommandsCount, ModelObject::PartProgram, "Commands.Count", "commands.count"},
    {Member::CommandsEnumerate, ModelObject::PartProgram, "Commands (enumeration)", "commands.enumerate"},
    {Member::CommandsVisitCommand, ModelObject::PartProgram, "Commands.VisitCommand", "commands.visitCommand"},
    {Member::CommandId, ModelObject::Command, "Command.Id", "id"},
    {Member::CommandCommandType, ModelObject::Command, "Command.CommandType", "commandType"},
    {Member::CommandDimensionData, ModelObject::Command, "Command.DimensionData", "dimensionData"},
    {Member::CommandIsDimension, ModelObject::Command, "Command.IsDimension", "isDimension"},
    {Member::CommandHasComment, ModelObject::Command, "Command.HasComment", "hasComment"},
    {Member::CommandHasNamedValue, ModelObject::Command, "Command.HasNamedValue", "hasNamedValue"},
    {Member::CommandValueValid, ModelObject::Command, "Command.ValueValid", "valueValid"},
    {Member::CommandComment, ModelObject::Command, "Command.Comment", "comment"},
    {Member::CommandNamedValue, ModelObject::Command, "Command.NamedValue", "namedValue"},
    {Member::DimensionDataId, ModelObject::DimensionData, "DimensionData.Id", "id"},
    {Member::DimensionDataFeature1, ModelObject::DimensionData, "DimensionData.Feature1", "feature1"},
    {Member::DimensionDataFeature2, ModelObject::DimensionData, "DimensionData.Feature2", "feature2"},
    {Member::DimensionDataFeature3, ModelObject::DimensionData, "DimensionData.Feature3", "feature3"},
    {Member::DimensionDataNominal, ModelObject::DimensionData, "DimensionData.Nominal", "nominal"},
    {Member::DimensionDataMeasured, ModelObject::DimensionData, "DimensionData.Measured", "measured"},
    {Member::DimensionDataMinusTolerance, ModelObject::DimensionData, "DimensionData.MinusTolerance", "minusTolerance"},
    {Member::DimensionDataPlusTolerance, ModelObject::DimensionData, "DimensionData.PlusTolerance", "plusTolerance"},
    {Member::DimensionDataPositionResult, ModelObject::DimensionData, "DimensionData.PositionResult", "positionResult"},
    {Member::DimensionDataOutputSelector, ModelObject::DimensionData, "DimensionData.OutputSelector", "outputSelector"},
    {Member::DimensionDataUnitCode, ModelObject::DimensionData, "DimensionData.UnitCode", "unitCode"},
    {Member::DimensionDataIsAxisLine, ModelObject::DimensionData, "DimensionData.IsAxisLine", "isAxisLine"},
    {Member::DimensionDataIsPositionLine, ModelObject::DimensionData, "DimensionData.IsPositionLine", "isPositionLine"},
    {Member::CommentCommentKind, ModelObject::Comment, "Comment.CommentKind", "commentKind"},
    {Member::CommentText, ModelObject::Comment, "Comment.Text", "text"},
    {Member::NamedValueName, ModelObject::NamedValue, "NamedValue.Name", "name"},
    {Member::NamedValueValue, ModelObject::NamedValue, "NamedValue.Value", "value"},
}};

constexpr bool listedInEnumOrder()
{
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        if (static_cast<std::size_t>(kMembers[i].member) != i)
            return false;
    }
    return true;
}
static_assert(listedInEnumOrder(), "kMembers must list the members in the order of the enum");

const MemberInfo& info(Member member)
{
    return kMembers[static_cast<std::size_t>(member)];
}

} // namespace

std::string_view memberName(Member member)
{
    return info(member).name;
}

std::string_view snapshotName(Member member)
{
    return info(member).snapshotName;
}

ModelObject objectOf(Member member)
{
    return info(member).object;
}

std::optional<Member> memberFromSnapshotName(ModelObject object, std::string_view name)
{
    for (const MemberInfo& candidate : kMembers) {
        if (candidate.object == object && candidate.snapshotName == name)
            return candidate.member;
    }
    return std::nullopt;
}

} // namespace source
