#include "source/MemoryApplication.h"
#include "source/ReadError.h"

#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

using namespace testing_support;
using source::Member;

TEST(MemoryApplication, CountsEveryCallPerMember)
{
    source::MemoryApplication application(exampleApplication());
    const auto program = application.ActivePartProgram();
    const auto commands = program->Commands();
    const auto enumerator = commands->Enumerate();
    int dimensions = 0;
    while (const auto command = enumerator->Next()) {
        if (command->IsDimension()) {
            ++dimensions;
            commands->VisitCommand(*command);
        }
    }
    EXPECT_EQ(dimensions, 3);
    const auto& log = application.log();
    EXPECT_EQ(log.count(Member::CommandIsDimension), 5u);
    EXPECT_EQ(log.count(Member::CommandsVisitCommand), 3u);
    EXPECT_EQ(log.count(Member::ApplicationActivePartProgram), 1u);
    EXPECT_EQ(log.total(), 1u + 1u + 1u + 5u + 3u);
}

TEST(MemoryApplication, FailsTheNthCall)
{
    source::MemoryApplication application(exampleApplication());
    application.log().failAtCall(2);
    const auto program = application.ActivePartProgram();
    try {
        program->PartName();
        FAIL() << "the second call did not fail";
    } catch (const source::ReadError& error) {
        EXPECT_EQ(error.member(), "PartProgram.PartName");
    }
    EXPECT_EQ(program->PartName(), "PUMP HOUSING A1"); // only that one call fails
}

TEST(MemoryApplication, FailsTheReadsARecordNames)
{
    auto record = exampleApplication();
    record.activePartProgram->commands[1].dimensionData->failingReads.add(Member::DimensionDataNominal);
    source::MemoryApplication application(record);
    const auto enumerator = application.ActivePartProgram()->Commands()->Enumerate();
    enumerator->Next();
    const auto dimension = enumerator->Next()->DimensionData();
    EXPECT_THROW(dimension->Nominal(), source::ReadError);
    EXPECT_DOUBLE_EQ(dimension->PlusTolerance(), 0.1);
    EXPECT_THROW(dimension->Nominal(), source::ReadError);
}

TEST(MemoryApplication, TracesWhichCommandEachCallWasFor)
{
    source::MemoryApplication application(exampleApplication());
    const auto enumerator = application.ActivePartProgram()->Commands()->Enumerate();
    application.log().startTrace();
    enumerator->Next();
    enumerator->Next()->DimensionData()->Id();
    ASSERT_EQ(application.log().trace().size(), 2u);
    EXPECT_EQ(application.log().trace()[0].member, Member::CommandDimensionData);
    EXPECT_EQ(application.log().trace()[1].member, Member::DimensionDataId);
    EXPECT_EQ(application.log().trace()[1].commandIndex, 1u);
}

TEST(MemoryApplication, KeepsWhatUpdatesEnabledWasSetTo)
{
    source::MemoryApplication application(exampleApplication());
    application.SetUpdatesEnabled(false);
    EXPECT_FALSE(application.UpdatesEnabled());
    EXPECT_EQ(application.updatesEnabledWrites(), 1);
}
