#include "MemoryApplication.h"

#include "ReadError.h"

#include <string>

namespace source {

struct MemoryApplication::State {
    explicit State(std::shared_ptr<ApplicationRecord> given) : shared(std::move(given)), record(*shared) {}

    std::shared_ptr<ApplicationRecord> shared;
    ApplicationRecord& record;
    ReadLog log;
    int updatesEnabledWrites = 0;

    // Every call passes here: counted first, then failed when a record names it.
    void call(Member member, const FailingReads& failing, std::uint32_t commandIndex = 0)
    {
        log.record(member, commandIndex);
        if (failing.contains(member))
            throw ReadError(std::string(memberName(member)), "the measuring application refused the call");
    }
};

namespace {

using State = MemoryApplication::State;

// What every object of the model shares: the model's state, the command it belongs to, its record.
template <class Record>
class MemoryObject {
public:
    MemoryObject(std::shared_ptr<State> state, std::uint32_t index, const Record& record)
        : m_state(std::move(state)), m_index(index), m_record(record)
    {
    }

protected:
    template <class T>
    T read(Member member, const T& value)
    {
        m_state->call(member, m_record.failingReads, m_index);
        return value;
    }

    std::shared_ptr<State> m_state;
    std::uint32_t m_index;
    const Record& m_record;
};

class MemoryDimensionData final : public DimensionData, MemoryObject<DimensionRecord> {
public:
    using MemoryObject::MemoryObject;

    std::string Id() override { return read(Member::DimensionDataId, m_record.id); }
    std::string Feature1() override { return read(Member::DimensionDataFeature1, m_record.feature1); }
    std::string Feature2() override { return read(Member::DimensionDataFeature2, m_record.feature2); }
    std::string Feature3() override { return read(Member::DimensionDataFeature3, m_record.feature3); }
    double Nominal() override { return read(Member::DimensionDataNominal, m_record.nominal); }
    double Measured() override { return read(Member::DimensionDataMeasured, m_record.measured); }
    double MinusTolerance() override { return read(Member::DimensionDataMinusTolerance, m_record.minusTolerance); }
    double PlusTolerance() override { return read(Member::DimensionDataPlusTolerance, m_record.plusTolerance); }
    double PositionResult() override { return read(Member::DimensionDataPositionResult, m_record.positionResult); }
    std::int32_t OutputSelector() override { return read(Member::DimensionDataOutputSelector, m_record.outputSelector); }
    std::int32_t UnitCode() override { return read(Member::DimensionDataUnitCode, m_record.unitCode); }
    bool IsAxisLine() override { return read(Member::DimensionDataIsAxisLine, m_record.isAxisLine); }
    bool IsPositionLine() override { return read(Member::DimensionDataIsPositionLine, m_record.isPositionLine); }
};

class MemoryComment final : public Comment, MemoryObject<CommentRecord> {
public:
    using MemoryObject::MemoryObject;

    std::int32_t CommentKind() override { return read(Member::CommentCommentKind, m_record.commentKind); }
    std::string Text() override { return read(Member::CommentText, m_record.text); }
};

class MemoryNamedValue final : public NamedValue, MemoryObject<NamedValueRecord> {
public:
    using MemoryObject::MemoryObject;

    std::string Name() override { return read(Member::NamedValueName, m_record.name); }
    std::string Value() override { return read(Member::NamedValueValue, m_record.value); }
};

class MemoryCommand final : public Command, MemoryObject<CommandRecord> {
public:
    using MemoryObject::MemoryObject;

    std::uint32_t index() const { return m_index; }

    std::string Id() override { return read(Member::CommandId, m_record.id); }
    std::int32_t CommandType() override { return read(Member::CommandCommandType, m_record.commandType); }
    bool IsDimension() override { return read(Member::CommandIsDimension, m_record.isDimension); }
    bool HasComment() override { return read(Member::CommandHasComment, m_record.comment.has_value()); }
    bool HasNamedValue() override { return read(Member::CommandHasNamedValue, m_record.namedValue.has_value()); }
    bool ValueValid() override { return read(Member::CommandValueValid, m_record.valueValid); }

    // An object the command does not have reads as one with every member at its default.
    std::shared_ptr<source::DimensionData> DimensionData() override
    {
        static const DimensionRecord none;
        m_state->call(Member::CommandDimensionData, m_record.failingReads, m_index);
        return std::make_shared<MemoryDimensionData>(m_state, m_index, m_record.dimensionData ? *m_record.dimensionData : none);
    }

    std::shared_ptr<source::Comment> Comment() override
    {
        static const CommentRecord none;
        m_state->call(Member::CommandComment, m_record.failingReads, m_index);
        return std::make_shared<MemoryComment>(m_state, m_index, m_record.comment ? *m_record.comment : none);
    }

    std::shared_ptr<source::NamedValue> NamedValue() override
    {
        static const NamedValueRecord none;
        m_state->call(Member::CommandNamedValue, m_record.failingReads, m_index);
        return std::make_shared<MemoryNamedValue>(m_state, m_index, m_record.namedValue ? *m_record.namedValue : none);
    }
};

class MemoryCommandEnumerator final : public CommandEnumerator {
public:
    explicit MemoryCommandEnumerator(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::shared_ptr<source::Command> Next() override
    {
        const auto& commands = m_state->record.activePartProgram->commands;
        if (m_next >= commands.size())
            return nullptr;
        const auto index = static_cast<std::uint32_t>(m_next++);
        return std::make_shared<MemoryCommand>(m_state, index, commands[index]);
    }

private:
    std::shared_ptr<State> m_state;
    std::size_t m_next = 0;
};

class MemoryCommands final : public Commands {
public:
    explicit MemoryCommands(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::int32_t Count() override
    {
        m_state->call(Member::CommandsCount, failing());
        return static_cast<std::int32_t>(m_state->record.activePartProgram->commands.size());
    }

    std::unique_ptr<CommandEnumerator> Enumerate() override
    {
        m_state->call(Member::CommandsEnumerate, failing());
        return std::make_unique<MemoryCommandEnumerator>(m_state);
    }

    void VisitCommand(source::Command& command) override
    {
        const auto* memoryCommand = dynamic_cast<const MemoryCommand*>(&command);
        m_state->call(Member::CommandsVisitCommand, failing(), memoryCommand ? memoryCommand->index() : 0);
    }

private:
    const FailingReads& failing() const { return m_state->record.activePartProgram->failingReads; }
    std::shared_ptr<State> m_state;
};

class MemoryPartProgram final : public PartProgram {
public:
    explicit MemoryPartProgram(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::string DefaultMember() override { return read(Member::PartProgramDefaultMember, record().defaultMember); }
    std::string PartName() override { return read(Member::PartProgramPartName, record().partName); }
    std::string Directory() override { return read(Member::PartProgramDirectory, record().directory); }
    std::string RevisionNumber() override { return read(Member::PartProgramRevisionNumber, record().revisionNumber); }
    std::string SerialNumber() override { return read(Member::PartProgramSerialNumber, record().serialNumber); }
    std::string FileName() override { return read(Member::PartProgramFileName, record().fileName); }

    std::shared_ptr<source::Commands> Commands() override
    {
        m_state->call(Member::PartProgramCommands, record().failingReads);
        return std::make_shared<MemoryCommands>(m_state);
    }

private:
    const PartProgramRecord& record() const { return *m_state->record.activePartProgram; }

    std::string read(Member member, const std::string& value)
    {
        m_state->call(member, record().failingReads);
        return value;
    }

    std::shared_ptr<State> m_state;
};

} // namespace

MemoryApplication::MemoryApplication(ApplicationRecord record)
    : MemoryApplication(std::make_shared<ApplicationRecord>(std::move(record)))
{
}

MemoryApplication::MemoryApplication(std::shared_ptr<ApplicationRecord> record) : m_state(std::make_shared<State>(std::move(record)))
{
}

std::shared_ptr<source::PartProgram> MemoryApplication::ActivePartProgram()
{
    m_state->call(Member::ApplicationActivePartProgram, m_state->record.failingReads);
    if (!m_state->record.activePartProgram)
        return nullptr;
    return std::make_shared<MemoryPartProgram>(m_state);
}

bool MemoryApplication::UpdatesEnabled()
{
    m_state->call(Member::ApplicationUpdatesEnabled, m_state->record.failingReads);
    return m_state->record.updatesEnabled;
}

void MemoryApplication::SetUpdatesEnabled(bool enabled)
{
    m_state->call(Member::ApplicationSetUpdatesEnabled, m_state->record.failingReads);
    m_state->record.updatesEnabled = enabled;
    ++m_state->updatesEnabledWrites;
}

ReadLog& MemoryApplication::log()
{
    return m_state->log;
}

const ApplicationRecord& MemoryApplication::record() const
{
    return m_state->record;
}

int MemoryApplication::updatesEnabledWrites() const
{
    return m_state->updatesEnabledWrites;
}

} // namespace source
