#include "WriteMeasuredValues.h"

#include "files/AppendTransaction.h"
#include "CharacteristicRules.h"
#include "files/FileSystem.h"
#include "LineWriter.h"
#include "OperatorMessages.h"
#include "ProgressDisplay.h"
#include "files/StreamCopy.h"
#include "UpdatesSuspension.h"
#include "ValueBlock.h"
#include "ValueKeywords.h"
#include "WalkErrors.h"
#include "files/FileError.h"

#include "config/LanguageTexts.h"
#include "platform/RegionalSettings.h"
#include "config/TextLines.h"
#include "source/MeasurementSource.h"

#include <optional>

namespace kfield {
namespace {

// Records the characteristics of one command and handles its named value. Returns the message of
// a failed keyword check, if any.
std::optional<std::string> valueCommand(source::Command& command, source::Commands& commands, BlockState& blocks,
                                        const TransferJob& job, const TransferServices& services,
                                        const NumberSeparators& separators, ValueTables& tables)
{
    const std::int32_t type = command.CommandType();
    blocks.commandSeen(type);
    if (command.IsDimension()) {
        commands.VisitCommand(command);
        DimensionReads dimension(command.DimensionData());
        if (commandtype::isBlockStart(type))
            blocks.blockStarted(dimension.blockStartSelector());

        const Classification found = classifyDimension(type, blocks, job.settings.PosAchse, dimension);
        std::optional<bool> valueValid;
        std::optional<std::string> measured;
        for (int i = 0; i < found.count; ++i) {
            if (!valueValid)
                valueValid = command.ValueValid();
            if (found.found[static_cast<std::size_t>(i)] == Characteristic::PositionResult) {
                tables.ValueTable.push_back(
                    formatDimensionValue(dimension.data().PositionResult(), 4, separators.decimal, "DimensionData.PositionResult"));
            } else {
                if (!measured)
                    measured = formatDimensionValue(dimension.data().Measured(), 4, separators.decimal, "DimensionData.Measured");
                tables.ValueTable.push_back(*measured);
            }
            tables.ValueValid.push_back(*valueValid);
        }
    }

    if (command.HasNamedValue()) {
        const std::shared_ptr<source::NamedValue> named = command.NamedValue();
        if (const auto keyword = matchValueKeyword(named->Name(), services.texts))
            return applyValueKeyword(*keyword, named->Value(), tables.CharacteristicCount() + 1, tables, services.texts, separators);
    }
    return std::nullopt;
}

// The value walk over all commands. A failed keyword check is shown while the progress display is
// still up, and reported as false.
bool walkValues(const TransferJob& job, const TransferServices& services, ValueTables& tables)
{
    const std::shared_ptr<source::Commands> commands = job.partProgram.Commands();
    const std::int32_t count = commands->Count();
    ProgressSession progress(services.progress, services.texts.line(config::textline::kValuesProgress), count);
    UpdatesSuspension updates(job.application, services.messages);
    const NumberSeparators separators{services.regional.decimalSeparator(), services.regional.groupingSeparator()};

    BlockState blocks;
    int CommandIndex = 0;
    const auto enumerator = commands->Enumerate();
    while (const std::shared_ptr<source::Command> command = enumerator->Next()) {
        ++CommandIndex;
        progress.setValue(CommandIndex);
        auto failure = onCommand(CommandIndex, [&] {
            return valueCommand(*command, *commands, blocks, job, services, separators, tables);
        });
        if (failure) {
            updates.restore();
            services.messages.show(*failure, MessageIcon::Critical);
            return false;
        }
    }
    updates.restore();
    return true;
}

void appendValueBlock(const TransferJob& job, const TransferServices& services, const ValueTables& tables)
{
    FileSystem& files = services.files;
    if (!job.settings.DFQ) {
        AppendTransaction values(files, job.paths.DfxPath);
        LineWriter out(values.stream(), services.codePage);
        writeValueBlock(out, tables, job.MeasurementDateTime);
        values.finish();
        values.commit();
        return;
    }

    // Combined mode: whatever the values file holds, then the new block, go to the end of the combined
    // file, and the values file goes. The values file serves only as a scratch file here, so the block
    // is written straight behind its old content.
    AppendTransaction combined(files, job.paths.DfqPath);
    const bool leftOverValues = files.exists(job.paths.DfxPath);
    if (leftOverValues) {
        const auto old = files.openForReading(job.paths.DfxPath);
        if (!copyStream(*old, combined.stream()))
            throw FileError("Cannot read", job.paths.DfxPath, "the file could not be read to its end");
    }
    LineWriter out(combined.stream(), services.codePage);
    writeValueBlock(out, tables, job.MeasurementDateTime);
    combined.finish();
    if (leftOverValues)
        files.remove(job.paths.DfxPath);
    combined.commit();
}

} // namespace

ValuesOutcome WriteMeasuredValues(const TransferJob& job, const TransferServices& services)
{
    ValueTables tables;
    if (!walkValues(job, services, tables))
        return ValuesOutcome::Aborted;
    appendValueBlock(job, services, tables);
    return ValuesOutcome::Written;
}

} // namespace kfield
