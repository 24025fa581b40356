#include "SnapshotFields.h"

#include <array>

namespace source {
namespace {

using Field = SnapshotField;

struct FieldName {
    std::string_view key;
    Field field;
};

constexpr std::array<FieldName, 3> kApplicationFields{{
    {"updatesEnabled", Field::UpdatesEnabled}, {"activePartProgram", Field::ActivePartProgram}, {"failingReads", Field::FailingReads}}};
constexpr std::array<FieldName, 8> kPartProgramFields{{
    {"defaultMember", Field::DefaultMember}, {"partName", Field::PartName}, {"directory", Field::Directory},
    {"revisionNumber", Field::RevisionNumber}, {"serialNumber", Field::SerialNumber}, {"fileName", Field::FileName},
    {"commands", Field::Commands}, {"failingReads", Field::FailingReads}}};
constexpr std::array<FieldName, 8> kCommandFields{{
    {"commandType", Field::CommandType}, {"id", Field::Id}, {"isDimension", Field::IsDimension}, {"valueValid", Field::ValueValid},
    {"dimensionData", Field::DimensionData}, {"comment", Field::Comment}, {"namedValue", Field::NamedValue},
    {"failingReads", Field::FailingReads}}};
constexpr std::array<FieldName, 14> kDimensionFields{{
    {"id", Field::Id}, {"feature1", Field::Feature1}, {"feature2", Field::Feature2}, {"feature3", Field::Feature3},
    {"nominal", Field::Nominal}, {"measured", Field::Measured}, {"minusTolerance", Field::MinusTolerance},
    {"plusTolerance", Field::PlusTolerance}, {"positionResult", Field::PositionResult}, {"outputSelector", Field::OutputSelector},
    {"unitCode", Field::UnitCode}, {"isAxisLine", Field::IsAxisLine}, {"isPositionLine", Field::IsPositionLine},
    {"failingReads", Field::FailingReads}}};
constexpr std::array<FieldName, 3> kCommentFields{{
    {"commentKind", Field::CommentKind}, {"text", Field::Text}, {"failingReads", Field::FailingReads}}};
constexpr std::array<FieldName, 3> kNamedValueFields{{
    {"name", Field::Name}, {"value", Field::Value}, {"failingReads", Field::FailingReads}}};

template <std::size_t N>
std::optional<Field> fieldOf(const std::array<FieldName, N>& fields, std::string_view key)
{
    for (const FieldName& candidate : fields) {
        if (candidate.key == key)
            return candidate.field;
    }
    return std::nullopt;
}

} // namespace

std::optional<SnapshotField> snapshotFieldIn(ModelObject object, std::string_view key)
{
    switch (object) {
    case ModelObject::Application: return fieldOf(kApplicationFields, key);
    case ModelObject::PartProgram: return fieldOf(kPartProgramFields, key);
    case ModelObject::Command: return fieldOf(kCommandFields, key);
    case ModelObject::DimensionData: return fieldOf(kDimensionFields, key);
    case ModelObject::Comment: return fieldOf(kCommentFields, key);
    case ModelObject::NamedValue: return fieldOf(kNamedValueFields, key);
    }
    return std::nullopt;
}

std::string_view expectedValue(SnapshotField field)
{
    switch (field) {
    case Field::Commands: return "expected a list of commands";
    case Field::FailingReads: return "expected a list of member names";
    case Field::ActivePartProgram:
    case Field::DimensionData:
    case Field::Comment:
    case Field::NamedValue: return "expected an object";
    case Field::UpdatesEnabled:
    case Field::IsDimension:
    case Field::ValueValid:
    case Field::IsAxisLine:
    case Field::IsPositionLine: return "expected true or false";
    case Field::Nominal:
    case Field::Measured:
    case Field::MinusTolerance:
    case Field::PlusTolerance:
    case Field::PositionResult: return "expected a number";
    case Field::CommandType:
    case Field::OutputSelector:
    case Field::UnitCode:
    case Field::CommentKind: return "expected a whole number";
    default: return "expected a text";
    }
}

} // namespace source
