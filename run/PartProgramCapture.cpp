#include "PartProgramCapture.h"

#include "kfield/UpdatesSuspension.h"
#include "kfield/WalkErrors.h"
#include "source/MeasurementSource.h"
#include "source/ReadError.h"

namespace app {
namespace {

using source::Member;

// A read whose refusal a conversion survives: refused, it is kept as a failing read.
template <class Value, class Read>
void readOrMarkFailing(Value& target, source::FailingReads& failing, Member member, Read&& read)
{
    try {
        target = read();
    } catch (const source::ReadError&) {
        failing.add(member);
    }
}

source::DimensionRecord captureDimension(source::DimensionData& data)
{
    source::DimensionRecord d;
    d.id = data.Id();
    d.feature1 = data.Feature1();
    d.feature2 = data.Feature2();
    d.feature3 = data.Feature3();
    d.nominal = data.Nominal();
    d.measured = data.Measured();
    d.minusTolerance = data.MinusTolerance();
    d.plusTolerance = data.PlusTolerance();
    d.positionResult = data.PositionResult();
    readOrMarkFailing(d.outputSelector, d.failingReads, Member::DimensionDataOutputSelector, [&] { return data.OutputSelector(); });
    readOrMarkFailing(d.unitCode, d.failingReads, Member::DimensionDataUnitCode, [&] { return data.UnitCode(); });
    d.isAxisLine = data.IsAxisLine();
    d.isPositionLine = data.IsPositionLine();
    return d;
}

source::CommandRecord captureCommand(source::Commands& commands, source::Command& command)
{
    source::CommandRecord c;
    c.commandType = command.CommandType();
    readOrMarkFailing(c.id, c.failingReads, Member::CommandId, [&] { return command.Id(); });
    c.isDimension = command.IsDimension();
    if (c.isDimension) {
        // The application brings a dimension up to date when it is visited, as the values walk does.
        commands.VisitCommand(command);
        c.valueValid = command.ValueValid();
        c.dimensionData = captureDimension(*command.DimensionData());
    } else {
        readOrMarkFailing(c.valueValid, c.failingReads, Member::CommandValueValid, [&] { return command.ValueValid(); });
    }
    if (command.HasComment()) {
        const auto comment = command.Comment();
        c.comment = source::CommentRecord{comment->CommentKind(), comment->Text(), {}};
    }
    if (command.HasNamedValue()) {
        const auto named = command.NamedValue();
        c.namedValue = source::NamedValueRecord{named->Name(), named->Value(), {}};
    }
    return c;
}

} // namespace

source::ApplicationRecord capturePartProgram(source::Application& application, source::PartProgram& program,
                                             kfield::OperatorMessages& messages)
{
    source::PartProgramRecord p;
    p.defaultMember = program.DefaultMember();
    p.partName = program.PartName();
    p.directory = program.Directory();
    p.revisionNumber = program.RevisionNumber();
    p.serialNumber = program.SerialNumber();
    p.fileName = program.FileName();

    const std::shared_ptr<source::Commands> commands = program.Commands();
    // Read as each walk reads it, so a collection that refuses it refuses the save too; the commands
    // themselves are counted as they come.
    commands->Count();

    source::ApplicationRecord record;
    kfield::UpdatesSuspension updates(application, messages);
    record.updatesEnabled = updates.kept();
    int commandIndex = 0;
    const auto enumerator = commands->Enumerate();
    while (const std::shared_ptr<source::Command> command = enumerator->Next()) {
        ++commandIndex;
        p.commands.push_back(kfield::onCommand(commandIndex, [&] { return captureCommand(*commands, *command); }));
    }
    updates.restore();
    record.activePartProgram = std::move(p);
    return record;
}

} // namespace app
