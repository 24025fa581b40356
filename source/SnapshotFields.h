#pragma once

#include <optional>
#include <string_view>

#include "Member.h"

namespace source {

// The members of each object of a snapshot document, as its keys name them.
enum class SnapshotField {
    UpdatesEnabled, ActivePartProgram,
    DefaultMember, PartName, Directory, RevisionNumber, SerialNumber, FileName, Commands,
    CommandType, Id, IsDimension, ValueValid, DimensionData, Comment, NamedValue,
    Feature1, Feature2, Feature3, Nominal, Measured, MinusTolerance, PlusTolerance, PositionResult,
    OutputSelector, UnitCode, IsAxisLine, IsPositionLine,
    CommentKind, Text, Name, Value,
    FailingReads,
};

// The member that the key names on an object of that kind; nothing for a key the object lacks.
std::optional<SnapshotField> snapshotFieldIn(ModelObject object, std::string_view key);

// What the member's value must be, as the fault of a value of the wrong kind says it:
// "expected a number", "expected a list of commands", ...
std::string_view expectedValue(SnapshotField field);

} // namespace source
