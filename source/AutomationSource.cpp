#include "AutomationSource.h"

#include "ComConnection.h"
#include "ReadError.h"

#include "platform/WindowsText.h"

#include <windows.h>


namespace source {
namespace {

// The dispatch identifiers of the measuring application's automation interface.
namespace dispid {
constexpr DISPID kApplicationActivePartProgram = 2;
constexpr DISPID kApplicationUpdatesEnabled = 8;

constexpr DISPID kPartProgramDefaultMember = DISPID_VALUE;
constexpr DISPID kPartProgramPartName = 1;
constexpr DISPID kPartProgramDirectory = 2;
constexpr DISPID kPartProgramRevisionNumber = 3;
constexpr DISPID kPartProgramSerialNumber = 4;
constexpr DISPID kPartProgramFileName = 6;
constexpr DISPID kPartProgramCommands = 11;

constexpr DISPID kCommandsCount = 3;
constexpr DISPID kCommandsVisitCommand = 5;

constexpr DISPID kCommandId = 3;
constexpr DISPID kCommandCommandType = 6;
constexpr DISPID kCommandDimensionData = 8;
constexpr DISPID kCommandIsDimension = 17;
constexpr DISPID kCommandValueValid = 21;
constexpr DISPID kCommandComment = 53;
constexpr DISPID kCommandHasComment = 54;
constexpr DISPID kCommandNamedValue = 57;
constexpr DISPID kCommandHasNamedValue = 58;

constexpr DISPID kDimensionPositionResult = 3;
constexpr DISPID kDimensionId = 5;
constexpr DISPID kDimensionFeature1 = 6;
constexpr DISPID kDimensionFeature2 = 7;
constexpr DISPID kDimensionFeature3 = 8;
constexpr DISPID kDimensionNominal = 10;
constexpr DISPID kDimensionMeasured = 12;
constexpr DISPID kDimensionMinusTolerance = 14;
constexpr DISPID kDimensionPlusTolerance = 15;
constexpr DISPID kDimensionOutputSelector = 22;
constexpr DISPID kDimensionUnitCode = 25;
constexpr DISPID kDimensionIsAxisLine = 30;
constexpr DISPID kDimensionIsPositionLine = 31;

constexpr DISPID kCommentCommentKind = 1;
constexpr DISPID kCommentText = 3;

constexpr DISPID kNamedValueName = 1;
constexpr DISPID kNamedValueValue = 2;
} // namespace dispid

// A member that must hold an object: Nothing there is a failed read like any other.
ComAutomationObject requiredObject(const ComAutomationObject& owner, DISPID id, Member member)
{
    std::optional<ComAutomationObject> object = owner.object(id, member);
    if (!object)
        throw ReadError(std::string(memberName(member)), "the application gave Nothing");
    return std::move(*object);
}

class AutomationDimensionData final : public DimensionData {
public:
    explicit AutomationDimensionData(ComAutomationObject object) : m_object(std::move(object)) {}

    std::string Id() override { return m_object.text(dispid::kDimensionId, Member::DimensionDataId); }
    std::string Feature1() override { return m_object.text(dispid::kDimensionFeature1, Member::DimensionDataFeature1); }
    std::string Feature2() override { return m_object.text(dispid::kDimensionFeature2, Member::DimensionDataFeature2); }
    std::string Feature3() override { return m_object.text(dispid::kDimensionFeature3, Member::DimensionDataFeature3); }
    double Nominal() override { return m_object.number(dispid::kDimensionNominal, Member::DimensionDataNominal); }
    double Measured() override { return m_object.number(dispid::kDimensionMeasured, Member::DimensionDataMeasured); }
    double MinusTolerance() override { return m_object.number(dispid::kDimensionMinusTolerance, Member::DimensionDataMinusTolerance); }
    double PlusTolerance() override { return m_object.number(dispid::kDimensionPlusTolerance, Member::DimensionDataPlusTolerance); }
    double PositionResult() override { return m_object.number(dispid::kDimensionPositionResult, Member::DimensionDataPositionResult); }
    std::int32_t OutputSelector() override { return m_object.whole(dispid::kDimensionOutputSelector, Member::DimensionDataOutputSelector); }
    std::int32_t UnitCode() override { return m_object.whole(dispid::kDimensionUnitCode, Member::DimensionDataUnitCode); }
    bool IsAxisLine() override { return m_object.boolean(dispid::kDimensionIsAxisLine, Member::DimensionDataIsAxisLine); }
    bool IsPositionLine() override { return m_object.boolean(dispid::kDimensionIsPositionLine, Member::DimensionDataIsPositionLine); }

private:
    ComAutomationObject m_object;
};

class AutomationComment final : public Comment {
public:
    explicit AutomationComment(ComAutomationObject object) : m_object(std::move(object)) {}

    std::int32_t CommentKind() override { return m_object.whole(dispid::kCommentCommentKind, Member::CommentCommentKind); }
    std::string Text() override { return m_object.text(dispid::kCommentText, Member::CommentText); }

private:
    ComAutomationObject m_object;
};

class AutomationNamedValue final : public NamedValue {
public:
    explicit AutomationNamedValue(ComAutomationObject object) : m_object(std::move(object)) {}

    std::string Name() override { return m_object.text(dispid::kNamedValueName, Member::NamedValueName); }
    std::string Value() override { return m_object.text(dispid::kNamedValueValue, Member::NamedValueValue); }

private:
    ComAutomationObject m_object;
};

class AutomationCommand final : public Command {
public:
    explicit AutomationCommand(ComAutomationObject object) : m_object(std::move(object)) {}

    std::string Id() override { return m_object.text(dispid::kCommandId, Member::CommandId); }
    std::int32_t CommandType() override { return m_object.whole(dispid::kCommandCommandType, Member::CommandCommandType); }
    bool IsDimension() override { return m_object.boolean(dispid::kCommandIsDimension, Member::CommandIsDimension); }
    bool HasComment() override { return m_object.boolean(dispid::kCommandHasComment, Member::CommandHasComment); }
    bool HasNamedValue() override { return m_object.boolean(dispid::kCommandHasNamedValue, Member::CommandHasNamedValue); }
    bool ValueValid() override { return m_object.boolean(dispid::kCommandValueValid, Member::CommandValueValid); }

    std::shared_ptr<source::DimensionData> DimensionData() override
    {
        return std::make_shared<AutomationDimensionData>(
            requiredObject(m_object, dispid::kCommandDimensionData, Member::CommandDimensionData));
    }
    std::shared_ptr<source::Comment> Comment() override
    {
        return std::make_shared<AutomationComment>(requiredObject(m_object, dispid::kCommandComment, Member::CommandComment));
    }
    std::shared_ptr<source::NamedValue> NamedValue() override
    {
        return std::make_shared<AutomationNamedValue>(
            requiredObject(m_object, dispid::kCommandNamedValue, Member::CommandNamedValue));
    }

    IDispatch* dispatch() const { return m_object.dispatch(); }

private:
    ComAutomationObject m_object;
};

class AutomationCommandEnumerator final : public CommandEnumerator {
public:
    AutomationCommandEnumerator(std::shared_ptr<ComConnection> connection, ComPtr<IEnumVARIANT> enumerator)
        : m_connection(std::move(connection)), m_enumerator(std::move(enumerator))
    {
    }

    std::shared_ptr<source::Command> Next() override
    {
        Variant item;
        ULONG fetched = 0;
        const HRESULT status = retryWhileBusy(m_connection->busy, [&] {
            fetched = 0;
            return m_enumerator->Next(1, item.receive(), &fetched);
        });
        if (FAILED(status))
            failCall(Member::CommandsEnumerate, status, m_connection->busy);
        if (status == S_FALSE || fetched == 0)
            return nullptr;
        std::optional<ComAutomationObject> command = ComAutomationObject::fromVariant(m_connection, *item.get(), Member::CommandsEnumerate);
        if (!command)
            throw ReadError(std::string(memberName(Member::CommandsEnumerate)), "the collection gave Nothing as a command");
        return std::make_shared<AutomationCommand>(std::move(*command));
    }

private:
    std::shared_ptr<ComConnection> m_connection; // outlives the enumerator below
    ComPtr<IEnumVARIANT> m_enumerator;
};

class AutomationCommands final : public Commands {
public:
    explicit AutomationCommands(ComAutomationObject object) : m_object(std::move(object)) {}

    std::int32_t Count() override { return m_object.whole(dispid::kCommandsCount, Member::CommandsCount); }

    std::unique_ptr<CommandEnumerator> Enumerate() override
    {
        return std::make_unique<AutomationCommandEnumerator>(m_object.connection(), m_object.enumerate(Member::CommandsEnumerate));
    }

    void VisitCommand(source::Command& command) override
    {
        const auto* automationCommand = dynamic_cast<const AutomationCommand*>(&command);
        if (!automationCommand)
            throw ReadError(std::string(memberName(Member::CommandsVisitCommand)), "the command does not come from this application");
        m_object.call(dispid::kCommandsVisitCommand, Variant::fromDispatch(automationCommand->dispatch()),
                      Member::CommandsVisitCommand);
    }

private:
    ComAutomationObject m_object;
};

class AutomationPartProgram final : public PartProgram {
public:
    explicit AutomationPartProgram(ComAutomationObject object) : m_object(std::move(object)) {}

    std::string DefaultMember() override { return m_object.text(dispid::kPartProgramDefaultMember, Member::PartProgramDefaultMember); }
    std::string PartName() override { return m_object.text(dispid::kPartProgramPartName, Member::PartProgramPartName); }
    std::string Directory() override { return m_object.text(dispid::kPartProgramDirectory, Member::PartProgramDirectory); }
    std::string RevisionNumber() override { return m_object.text(dispid::kPartProgramRevisionNumber, Member::PartProgramRevisionNumber); }
    std::string SerialNumber() override { return m_object.text(dispid::kPartProgramSerialNumber, Member::PartProgramSerialNumber); }
    std::string FileName() override { return m_object.text(dispid::kPartProgramFileName, Member::PartProgramFileName); }

    std::shared_ptr<source::Commands> Commands() override
    {
        return std::make_shared<AutomationCommands>(requiredObject(m_object, dispid::kPartProgramCommands, Member::PartProgramCommands));
    }

private:
    ComAutomationObject m_object;
};

[[noreturn]] void refuse(std::string_view programmaticId, HRESULT status, const ComBusyBudget& budget)
{
    std::string reason;
    switch (classifyCall(status)) {
    case CallFailure::Busy: reason = budget.busyText() + " (" + comErrorText(status) + ")"; break;
    case CallFailure::Gone: reason = "Veltrum was closed or stopped responding (" + comErrorText(status) + ")"; break;
    case CallFailure::Refused:
        reason = comErrorText(status);
        if (status == E_ACCESSDENIED)
            reason += "; " + std::string(kOtherRightsHint);
        break;
    }
    throw ConnectionError("Cannot reach the automation server \"" + std::string(programmaticId) + "\": " + reason);
}

// The running object, asked again while the application is busy and, for a short while, while it
// has not registered it yet (it is still starting). Returns the last status.
HRESULT lookUpRunningObject(const CLSID& classId, ComBusyBudget& busy, ComPtr<IUnknown>& unknown)
{
    constexpr std::chrono::milliseconds kStartingUp{2000};
    ComBusyBudget startingUp(std::min(kStartingUp, busy.length()));
    for (;;) {
        const HRESULT status = retryWhileBusy(busy, [&] { return GetActiveObject(classId, nullptr, unknown.receive()); });
        if (status != MK_E_UNAVAILABLE || startingUp.exhausted())
            return status;
        Sleep(100);
        startingUp.spend(std::chrono::milliseconds(100));
    }
}

} // namespace

AutomationSource::AutomationSource(ComAutomationObject application) : m_object(std::move(application)) {}

std::shared_ptr<AutomationSource> AutomationSource::requestRunning(std::string_view programmaticId, std::chrono::milliseconds busyBudget)
{
    auto connection = std::make_shared<ComConnection>(busyBudget);
    ComBusyBudget& busy = connection->busy;
    const std::wstring id = config::wideFromUtf8(programmaticId);
    CLSID classId{};
    HRESULT status = CLSIDFromProgID(id.c_str(), &classId);
    if (FAILED(status))
        refuse(programmaticId, status, busy);

    // The application registers itself as the running object; a server that registers only its
    // class object hands out the same running application from there. Only an object that is not
    // registered sends the request there: any other failure is reported as it is.
    ComPtr<IUnknown> unknown;
    status = lookUpRunningObject(classId, busy, unknown);
    if (status == MK_E_UNAVAILABLE)
        status = retryWhileBusy(busy, [&] {
            return CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, unknown.receiveVoid());
        });
    if (FAILED(status))
        refuse(programmaticId, status, busy);
    ComPtr<IDispatch> dispatch;
    status = retryWhileBusy(busy, [&] { return unknown->QueryInterface(IID_IDispatch, dispatch.receiveVoid()); });
    if (FAILED(status))
        refuse(programmaticId, status, busy);
    return std::make_shared<AutomationSource>(ComAutomationObject(std::move(connection), std::move(dispatch)));
}

std::shared_ptr<source::PartProgram> AutomationSource::ActivePartProgram()
{
    std::optional<ComAutomationObject> program = m_object.object(dispid::kApplicationActivePartProgram, Member::ApplicationActivePartProgram);
    if (!program)
        return nullptr;
    return std::make_shared<AutomationPartProgram>(std::move(*program));
}

bool AutomationSource::UpdatesEnabled()
{
    return m_object.boolean(dispid::kApplicationUpdatesEnabled, Member::ApplicationUpdatesEnabled);
}

void AutomationSource::SetUpdatesEnabled(bool enabled)
{
    m_object.put(dispid::kApplicationUpdatesEnabled, Variant::fromBoolean(enabled), Member::ApplicationSetUpdatesEnabled);
}

} // namespace source
