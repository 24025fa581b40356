// The automation client and its connection in one process: how it finds the application, what one
// read costs the server, what a refused write tells, and the decisions that keep a conversion from
// hanging on or duplicating the measuring application (Wine calls neither RetryRejectedCall nor
// MessagePending of a message filter and cannot run a process elevated, so those are tested here
// directly). The members' values and call kinds are proven across processes by the saved snapshot,
// the walks and refused reads by WindowsCliTest.
#include "platform/ProcessElevation.h"
#include "run/WindowsConnector.h"
#include "source/AutomationSource.h"
#include "source/ComAutomationApartment.h"
#include "source/ComAutomationTypes.h"
#include "source/ComBusyBudget.h"
#include "source/ComMessageFilter.h"
#include "source/ReadError.h"

#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"
#include "support/ErrorText.h"
#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

namespace {

using app::ProcessElevation;
using testing_support::errorText;

constexpr DWORD kGiveUp = static_cast<DWORD>(-1);

// The filter of this thread's apartment, left in place.
IMessageFilter* currentMessageFilter()
{
    IMessageFilter* current = nullptr;
    CoRegisterMessageFilter(nullptr, &current);
    CoRegisterMessageFilter(current, nullptr);
    source::ComPtr<IMessageFilter>::adopt(current); // COM keeps its own reference
    return current;
}

} // namespace

// Each read of every kind of value is one call of the server: the client neither caches nor adds calls.
// The server here offers no running object, only its class factory: that serves the running
// application too.
TEST(AutomationSource, EachReadIsOneCall)
{
    testserver::ServerOptions options;
    options.useRunningObjectTable = false;
    testserver::TestAutomationServer server(testing_support::exampleApplication(), options);
    const auto program = source::AutomationSource::requestRunning("Veltrum.Application")->ActivePartProgram();
    EXPECT_GE(server.counters().applicationRequests, 1u);
    const auto enumerator = program->Commands()->Enumerate();
    const auto comment = enumerator->Next();
    const auto single = enumerator->Next();
    const struct {
        std::function<void()> read;
        std::uint64_t calls;
    } reads[] = {
        {[&] { program->PartName(); }, 1},                   // a text
        {[&] { single->CommandType(); }, 1},                 // a whole number
        {[&] { comment->HasComment(); }, 1},                 // true or false
        {[&] { comment->Comment()->Text(); }, 2},            // an object, then its text
        {[&] { single->DimensionData()->Measured(); }, 2},   // an object, then a number by a method
    };
    for (const auto& r : reads) {
        const std::uint64_t before = server.counters().invokes;
        r.read();
        r.read();
        EXPECT_EQ(server.counters().invokes - before, 2 * r.calls);
    }
}

// A refused call is a read error that names the member and the server's reason; the object stays usable.
TEST(AutomationSource, ARefusedWriteNamesTheMemberAndTheServersReason)
{
    auto record = testing_support::exampleApplication();
    record.failingReads.add(source::Member::ApplicationSetUpdatesEnabled);
    testserver::TestAutomationServer server(record);
    const auto application = source::AutomationSource::requestRunning("Veltrum.Application");
    EXPECT_EQ(errorText<source::ReadError>([&] { application->SetUpdatesEnabled(false); }),
              "Cannot read Application.UpdatesEnabled (write) from the measuring application: the measuring application refused the call");
    EXPECT_TRUE(application->UpdatesEnabled());
}

TEST(AutomationSource, AnUnknownApplicationIsRefusedWithTheSystemsReason)
{
    const std::string message =
        errorText<source::ConnectionError>([] { source::AutomationSource::requestRunning("Nowhere.Application"); });
    EXPECT_EQ(message.rfind("Cannot reach the automation server \"Nowhere.Application\": ", 0), 0u) << message;
    EXPECT_NE(message.find("0x800401F3"), std::string::npos) << message; // CO_E_CLASSSTRING
}

// A rejected call comes back to the client's own retry; see tests/data/windows/retry-decisions.txt.
TEST(MessageFilterDecisions, RetryALaterCallWithinTheBoundAndCancelACallPendingTooLong)
{
    const std::map<std::string, DWORD> answers{{"retry-later", SERVERCALL_RETRYLATER}, {"rejected", SERVERCALL_REJECTED}};
    for (const auto& row : testing_support::tableRows("retry-decisions.txt", wintest::testData())) {
        const DWORD wait = row[2] == "give-up" ? kGiveUp : std::stoul(row[2]);
        EXPECT_EQ(source::retryRejectedDecision(std::stoul(row[0]), answers.at(row[1]), 10000), wait) << row[0] << " " << row[1];
    }

    EXPECT_EQ(source::pendingMessageDecision(0), static_cast<DWORD>(PENDINGMSG_WAITDEFPROCESS));
    EXPECT_EQ(source::pendingMessageDecision(source::kPendingCallBound - 1), static_cast<DWORD>(PENDINGMSG_WAITDEFPROCESS));
    EXPECT_EQ(source::pendingMessageDecision(source::kPendingCallBound), static_cast<DWORD>(PENDINGMSG_CANCELCALL));
}

// A run connects anew before it lets the old connection go: the filter stays until the last one goes.
TEST(MessageFilterRegistration, StaysUntilTheLastRegistrationOfTheThreadGoes)
{
    const source::ComAutomationApartment apartment;
    ASSERT_EQ(currentMessageFilter(), nullptr);
    {
        std::optional<source::ComMessageFilterRegistration> first(std::in_place, std::chrono::milliseconds(1000));
        IMessageFilter* const ours = currentMessageFilter();
        ASSERT_NE(ours, nullptr);
        const source::ComMessageFilterRegistration second(std::chrono::milliseconds(1000));
        EXPECT_EQ(currentMessageFilter(), ours);
        first.reset();
        EXPECT_EQ(currentMessageFilter(), ours);
    }
    EXPECT_EQ(currentMessageFilter(), nullptr);
}

// Each HRESULT of tests/data/windows/call-failures.txt as the connection takes it.
TEST(CallFailures, BusyIsRetriedAndGoneOrRefusedIsNot)
{
    const std::map<std::string, source::CallFailure> failures{
        {"Busy", source::CallFailure::Busy}, {"Gone", source::CallFailure::Gone}, {"Refused", source::CallFailure::Refused}};
    for (const auto& row : testing_support::tableRows("call-failures.txt", wintest::testData()))
        EXPECT_EQ(source::classifyCall(static_cast<HRESULT>(std::stoul(row[0], nullptr, 16))), failures.at(row[1])) << row[2];

    // Retried while busy, within the budget, and no more.
    source::ComBusyBudget budget(std::chrono::milliseconds(300));
    int calls = 0;
    EXPECT_EQ(source::retryWhileBusy(budget, [&] { return ++calls < 3 ? RPC_E_CALL_REJECTED : S_OK; }), S_OK);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(source::retryWhileBusy(budget, [&] { return RPC_E_CALL_REJECTED; }), RPC_E_CALL_REJECTED);
    EXPECT_TRUE(budget.exhausted());
    calls = 0;
    EXPECT_EQ(source::retryWhileBusy(budget, [&] { return ++calls, RPC_E_DISCONNECTED; }), RPC_E_DISCONNECTED);
    EXPECT_EQ(calls, 1);
}

// Each row of tests/data/windows/elevation-decisions.txt.
TEST(ElevationDecision, OnlyADifferenceThatIsKnownStopsTheRequest)
{
    const std::map<std::string, ProcessElevation> elevations{{"Elevated", ProcessElevation::Elevated},
                                                             {"NotElevated", ProcessElevation::NotElevated},
                                                             {"Hidden", ProcessElevation::Hidden},
                                                             {"Unknown", ProcessElevation::Unknown}};
    for (const auto& row : testing_support::tableRows("elevation-decisions.txt", wintest::testData()))
        EXPECT_EQ(app::runsWithOtherRights(elevations.at(row[0]), elevations.at(row[1])), row[2] == "other") << row[0] << " " << row[1];
    // This process and itself.
    EXPECT_FALSE(app::WindowsConnector::ownerRunsWithOtherRights(GetCurrentProcessId()));
}

// The window is there, but its owner runs with other rights and offers no object this process can
// see: COM would start a second instance from the registered local server. The connector says so
// instead and starts nothing (the local server here would leave a marker file).
TEST(WindowsConnectorTest, AnOwnerWithOtherRightsIsNamedAndNothingIsStarted)
{
    testserver::ServerOptions windowOnly;
    windowOnly.offerObject = false;
    testserver::TestAutomationServer server(testing_support::exampleApplication(), windowOnly);
    testserver::TestAutomationServer::registerProgrammaticId();
    const testing_support::TemporaryDirectory work;
    const std::filesystem::path marker = work.path() / "started";
    wchar_t classId[64];
    StringFromGUID2(testserver::kApplicationClassId, classId, 64);
    const std::wstring localServer = std::wstring(L"Software\\Classes\\CLSID\\") + classId + L"\\LocalServer32";
    const std::wstring command = L"cmd.exe /c echo started> \"" + marker.wstring() + L"\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, localServer.c_str(), nullptr, REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))), ERROR_SUCCESS);

    DWORD asked = 0;
    app::WindowsConnector connector(std::chrono::milliseconds(1000), [&](DWORD owner) { asked = owner; return true; });
    ASSERT_TRUE(connector.findMainWindow(testserver::kMainWindowClass));
    const std::string message = errorText<source::ConnectionError>([&] { connector.requestObject("Veltrum.Application"); });
    EXPECT_NE(message.find("start the converter the same way as Veltrum"), std::string::npos) << message;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, localServer.c_str());
    EXPECT_EQ(asked, GetCurrentProcessId());
    Sleep(200);
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_EQ(server.counters().applicationRequests, 0u);
}
