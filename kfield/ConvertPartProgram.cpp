#include "ConvertPartProgram.h"

#include "CharacteristicRules.h"
#include "DescriptionState.h"
#include "DescriptionWriter.h"
#include "files/FileSystem.h"
#include "LineWriter.h"
#include "NamedValues.h"
#include "OperatorMessages.h"
#include "ProgressDisplay.h"
#include "TypeTexts.h"
#include "files/TemporaryFile.h"
#include "UpdatesSuspension.h"
#include "Utf8.h"
#include "WalkErrors.h"
#include "WritePartHeader.h"

#include "config/LanguageTexts.h"
#include "platform/RegionalSettings.h"
#include "config/TextLines.h"
#include "source/MeasurementSource.h"
#include "source/ReadError.h"

#include <algorithm>

namespace kfield {
namespace {

namespace tl = config::textline;

constexpr std::size_t kCommentLength = 255;

class DescriptionWalk {
public:
    DescriptionWalk(const TransferJob& job, const TransferServices& services, LineWriter& out)
        : m_job(job)
        , m_services(services)
        , m_texts(services.texts)
        , m_separators{services.regional.decimalSeparator(), services.regional.groupingSeparator()}
        , m_writer(out, m_state, m_separators.decimal, job.settings.Kommentare, job.settings.NordaPos)
    {
    }

    DescriptionState& state() { return m_state; }

    // Returns false when a named value aborted the run.
    bool command(source::Command& command)
    {
        if (m_job.settings.Kommentare && command.HasComment())
            captureComment(*command.Comment());

        const std::int32_t type = command.CommandType();
        m_blocks.commandSeen(type);
        if (command.IsDimension())
            dimension(command, type);

        if (command.HasNamedValue()) {
            const auto named = command.NamedValue();
            if (const auto keyword = matchDescriptionKeyword(named->Name(), m_texts)) {
                const auto outcome = handleNamedValue(*keyword, named->Value(), m_state.CharacteristicCount + 1, m_state, m_texts,
                                                      m_services.messages, m_separators);
                if (outcome == NamedValueOutcome::AbortRun)
                    return false;
            }
        }
        return true;
    }

private:
    void captureComment(source::Comment& comment)
    {
        if (comment.CommentKind() != 1)
            return;
        std::string text = trimBlanks(comment.Text());
        for (char& c : text) {
            if (c == '\n' || c == '\r')
                c = ' ';
            else if (c == ',')
                c = '_';
        }
        text = trimBlanks(text);
        if (characterCount(text) > kCommentLength) {
            text = firstCharacters(text, kCommentLength);
            m_services.messages.show(m_texts.line(tl::kCommentTooLong), MessageIcon::Information);
        }
        m_state.PendingComment = std::move(text);
    }

    void blockStart(source::Command& command, DimensionReads& dimension)
    {
        // These three reads may fail unreported: the walk goes on with what it had.
        try {
            m_state.BlockId = command.Id();
        } catch (const source::ReadError&) {
        }
        m_blocks.blockStarted(dimension.blockStartSelector());
        try {
            m_state.UnitText = unitText(dimension.data().UnitCode());
        } catch (const source::ReadError&) {
            m_state.UnitText.clear();
        }
        m_state.FeatureName1 = dimension.data().Feature1();
        m_state.FeatureName2 = dimension.data().Feature2();
        m_state.FeatureName3 = dimension.data().Feature3();
    }

    void dimension(source::Command& command, std::int32_t type)
    {
        DimensionReads dimension(command.DimensionData());
        if (commandtype::isBlockStart(type))
            blockStart(command, dimension);

        const Classification found = classifyDimension(type, m_blocks, m_job.settings.PosAchse, dimension);
        if (found.unknownSingleType)
            unknownType(tl::kUnknownSingleType, type);
        for (int i = 0; i < found.count; ++i) {
            ++m_state.CharacteristicCount;
            switch (found.found[static_cast<std::size_t>(i)]) {
            case Characteristic::Single:
                m_state.TypeText = m_texts.line(*singleTypeLine(type));
                m_writer.single(type, dimension.data());
                break;
            case Characteristic::AxisLine:
                m_writer.blockLineStart();
                m_state.TypeText = m_texts.line(*axisLineTypeLine(type));
                m_writer.axisLineRest(dimension.data());
                break;
            case Characteristic::UnknownAxisLine:
                m_writer.blockLineStart();
                unknownType(tl::kUnknownAxisType, type);
                break;
            case Characteristic::PositionResult:
                m_writer.positionResult(dimension.data(), m_texts.line(tl::kPositionResultType));
                break;
            case Characteristic::PositionAxis:
                m_state.TypeText = m_texts.line(*positionAxisTypeLine(type));
                m_writer.positionAxis(type, dimension.data());
                break;
            case Characteristic::UnknownPositionAxis:
                // The number keeps its identifier line: a value group without any description line
                // makes K-field readers refuse the whole file set.
                m_writer.blockLineStart();
                unknownType(tl::kUnknownPositionType, type);
                break;
            }
        }
    }

    void unknownType(int startLine, std::int32_t type)
    {
        m_services.messages.show(m_texts.line(startLine) + " " + std::to_string(type) + " " + m_texts.line(tl::kUnknownTypeEnd),
                                 MessageIcon::Critical);
    }

    const TransferJob& m_job;
    const TransferServices& m_services;
    const config::LanguageTexts& m_texts;
    NumberSeparators m_separators;
    DescriptionState m_state;
    BlockState m_blocks;
    DescriptionWriter m_writer;
};

} // namespace

std::optional<ValuesOutcome> ConvertPartProgram(const TransferJob& job, const TransferServices& services)
{
    TemporaryFile temporary(services.files, job.paths.TmpPath);
    LineWriter out(temporary.stream(), services.codePage);
    DescriptionWalk walk(job, services, out);
    {
        const std::shared_ptr<source::Commands> commands = job.partProgram.Commands();
        const std::int32_t count = commands->Count();
        ProgressSession progress(services.progress, services.texts.line(tl::kPartProgramProgress), count);
        UpdatesSuspension updates(job.application, services.messages);

        int CommandIndex = 0;
        const auto enumerator = commands->Enumerate();
        while (const std::shared_ptr<source::Command> command = enumerator->Next()) {
            ++CommandIndex;
            progress.setValue(CommandIndex);
            if (!onCommand(CommandIndex, [&] { return walk.command(*command); }))
                return std::nullopt;
        }
        updates.restore();
        if (!walk.state().PartFieldK2404.empty())
            out.line(lineSafe(walk.state().PartFieldK2404));
        temporary.close();
    }
    return WritePartHeader(job, services, walk.state(), temporary);
}

} // namespace kfield
