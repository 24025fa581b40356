// The automation client against the test server in the same process: every member by its dispatch
// identifier, the coercions, the errors. Calls within one apartment go straight to the server's
// objects; the cross-process way is in WindowsCliTest.
#include "source/AutomationSource.h"
#include "source/ReadError.h"

#include "TestAutomationServer.h"
#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using source::Member;

source::ApplicationRecord richApplication()
{
    auto record = testing_support::exampleApplication();
    auto& program = *record.activePartProgram;
    program.partName = "Geh\xC3\xA4use \xC3\x84" "1";
    program.directory = "D:\\Me\xC3\x9F" "daten";
    program.fileName = "GEH\xC3\x84USE.PRG";
    program.defaultMember = "GEH\xC3\x84USE";
    program.revisionNumber = "B";
    program.serialNumber = "4711";
    auto& dimension = *program.commands[1].dimensionData;
    dimension.feature2 = "PLN\xE2\x82\xAC";
    dimension.outputSelector = 2;
    dimension.unitCode = 70000; // beyond a 16-bit Integer: arrives as a Long
    dimension.positionResult = -0.125;
    program.commands[1].namedValue = source::NamedValueRecord{"K1101", "Zeichnung \xC3\x9C", {}};
    program.commands[0].comment->commentKind = 1;
    return record;
}

class AutomationSourceTest : public ::testing::Test {
protected:
    std::shared_ptr<source::AutomationSource> connect() { return source::AutomationSource::requestRunning("Veltrum.Application"); }

    std::uint64_t count(Member member) { return server->application().log().count(member); }

    std::unique_ptr<testserver::TestAutomationServer> server;
};

} // namespace

TEST_F(AutomationSourceTest, ReadsEveryMemberOnceWithItsValue)
{
    server = std::make_unique<testserver::TestAutomationServer>(richApplication());
    const auto application = connect();
    const auto program = application->ActivePartProgram();
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->DefaultMember(), "GEH\xC3\x84USE");
    EXPECT_EQ(program->PartName(), "Geh\xC3\xA4use \xC3\x84" "1");
    EXPECT_EQ(program->Directory(), "D:\\Me\xC3\x9F" "daten");
    EXPECT_EQ(program->RevisionNumber(), "B");
    EXPECT_EQ(program->SerialNumber(), "4711");
    EXPECT_EQ(program->FileName(), "GEH\xC3\x84USE.PRG");

    const auto commands = program->Commands();
    EXPECT_EQ(commands->Count(), 5);
    const auto enumerator = commands->Enumerate();
    const auto comment = enumerator->Next();
    const auto single = enumerator->Next();
    ASSERT_TRUE(comment && single);
    EXPECT_TRUE(comment->HasComment());
    EXPECT_EQ(comment->Comment()->CommentKind(), 1);
    EXPECT_EQ(comment->Comment()->Text(), "Bore check");
    EXPECT_EQ(single->CommandType(), 1106);
    EXPECT_EQ(single->Id(), "DIM1");
    EXPECT_TRUE(single->IsDimension());
    EXPECT_TRUE(single->ValueValid());
    EXPECT_FALSE(single->HasComment());
    EXPECT_TRUE(single->HasNamedValue());
    const auto named = single->NamedValue();
    EXPECT_EQ(named->Name(), "K1101");
    EXPECT_EQ(named->Value(), "Zeichnung \xC3\x9C");

    const auto data = single->DimensionData();
    EXPECT_EQ(data->Id(), "DIM1");
    EXPECT_EQ(data->Feature1(), "CIR1");
    EXPECT_EQ(data->Feature2(), "PLN\xE2\x82\xAC");
    EXPECT_EQ(data->Feature3(), "");
    EXPECT_EQ(data->Nominal(), 25.0);
    EXPECT_EQ(data->Measured(), 25.03124);
    EXPECT_EQ(data->MinusTolerance(), 0.05);
    EXPECT_EQ(data->PlusTolerance(), 0.1);
    EXPECT_EQ(data->PositionResult(), -0.125);
    EXPECT_EQ(data->OutputSelector(), 2);
    EXPECT_EQ(data->UnitCode(), 70000);
    EXPECT_FALSE(data->IsAxisLine());
    EXPECT_FALSE(data->IsPositionLine());

    // The server refuses a read of the wrong kind: some members are methods, the others properties.
    EXPECT_EQ(server->counters().unknownMembers, 0u);
    // One call per read, nothing cached and nothing read twice.
    for (int i = 0; i < source::kMemberCount; ++i) {
        const auto member = static_cast<Member>(i);
        std::uint64_t expected = 1;
        if (member == Member::CommandComment || member == Member::CommandHasComment)
            expected = 2; // asked of both commands
        if (member == Member::ApplicationUpdatesEnabled || member == Member::ApplicationSetUpdatesEnabled ||
            member == Member::CommandsVisitCommand)
            expected = 0;
        SCOPED_TRACE(std::string(source::memberName(member)));
        EXPECT_EQ(count(member), expected);
    }
}

TEST_F(AutomationSourceTest, ACommentWithoutTextIsNullAndReadsAsEmpty)
{
    auto record = testing_support::exampleApplication();
    record.activePartProgram->commands[0].comment->text.clear();
    server = std::make_unique<testserver::TestAutomationServer>(record);
    EXPECT_EQ(connect()->ActivePartProgram()->Commands()->Enumerate()->Next()->Comment()->Text(), "");
}

// The enumerator hands every command once in order, and VisitCommand gets the very command back.
TEST_F(AutomationSourceTest, EnumeratesEveryCommandOnceAndVisitsTheCommandItself)
{
    server = std::make_unique<testserver::TestAutomationServer>(testing_support::exampleApplication());
    const auto commands = connect()->ActivePartProgram()->Commands();
    const auto enumerator = commands->Enumerate();
    std::vector<std::shared_ptr<source::Command>> all;
    while (auto command = enumerator->Next())
        all.push_back(std::move(command));
    EXPECT_EQ(enumerator->Next(), nullptr);
    ASSERT_EQ(all.size(), 5u);
    server->application().log().startTrace();
    std::vector<std::int32_t> types;
    for (const auto& command : all)
        types.push_back(command->CommandType());
    EXPECT_EQ(types, (std::vector<std::int32_t>{300, 1106, 1000, 1002, 1001}));
    commands->VisitCommand(*all[2]);
    const auto& trace = server->application().log().trace();
    ASSERT_EQ(trace.size(), 6u);
    EXPECT_EQ(trace[5].member, Member::CommandsVisitCommand);
    EXPECT_EQ(trace[5].commandIndex, 2u);
}

TEST_F(AutomationSourceTest, PutsUpdatesEnabled)
{
    server = std::make_unique<testserver::TestAutomationServer>(testing_support::exampleApplication());
    const auto application = connect();
    EXPECT_TRUE(application->UpdatesEnabled());
    application->SetUpdatesEnabled(false);
    EXPECT_FALSE(server->application().record().updatesEnabled);
    EXPECT_FALSE(application->UpdatesEnabled());
    application->SetUpdatesEnabled(true);
    EXPECT_TRUE(server->application().record().updatesEnabled);
    EXPECT_EQ(server->application().updatesEnabledWrites(), 2);
}

TEST_F(AutomationSourceTest, NoPartProgramIsNothing)
{
    server = std::make_unique<testserver::TestAutomationServer>(source::ApplicationRecord{});
    EXPECT_EQ(connect()->ActivePartProgram(), nullptr);
}

// A refused call is a read error that names the member and the server's reason; the object stays usable.
TEST_F(AutomationSourceTest, AFailedCallNamesTheMemberAndTheServersReason)
{
    auto record = testing_support::exampleApplication();
    record.activePartProgram->commands[0].failingReads.add(Member::CommandValueValid);
    record.failingReads.add(Member::ApplicationSetUpdatesEnabled);
    server = std::make_unique<testserver::TestAutomationServer>(record);
    const auto application = connect();
    const auto first = application->ActivePartProgram()->Commands()->Enumerate()->Next();
    const struct {
        std::function<void()> call;
        const char* member;
    } cases[] = {
        {[&] { first->ValueValid(); }, "Command.ValueValid"},
        {[&] { application->SetUpdatesEnabled(false); }, "Application.UpdatesEnabled (write)"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.member;
        } catch (const source::ReadError& error) {
            EXPECT_EQ(error.member(), c.member);
            EXPECT_EQ(std::string(error.what()), "Cannot read " + std::string(c.member) +
                                                     " from the measuring application: the measuring application refused the call");
        }
    }
    EXPECT_TRUE(first->HasComment());
}

TEST_F(AutomationSourceTest, AnUnknownApplicationIsRefusedWithTheSystemsReason)
{
    try {
        source::AutomationSource::requestRunning("Nowhere.Application");
        FAIL() << "no error";
    } catch (const source::ConnectionError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("Cannot reach the automation server \"Nowhere.Application\": ", 0), 0u) << message;
        EXPECT_NE(message.find("0x800401F3"), std::string::npos) << message; // CO_E_CLASSSTRING
    }
}

TEST_F(AutomationSourceTest, AClassFactoryAloneServesTheRunningApplication)
{
    testserver::ServerOptions options;
    options.useRunningObjectTable = false;
    server = std::make_unique<testserver::TestAutomationServer>(testing_support::exampleApplication(), options);
    EXPECT_EQ(connect()->ActivePartProgram()->FileName(), "PUMP1.PRG");
    EXPECT_GE(server->counters().applicationRequests, 1u);
}
