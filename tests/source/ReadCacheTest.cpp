// The read cache keeps what the application answered, a refusal too, but never a lost connection.
#include "source/Member.h"
#include "source/MemoryApplication.h"
#include "source/ReadCache.h"
#include "source/ReadError.h"

#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

using source::Member;

namespace {

// The example's axis block alone, its start refusing a read.
source::ApplicationRecord blockStartRefusing(Member member)
{
    source::ApplicationRecord record = testing_support::exampleApplication();
    auto& commands = record.activePartProgram->commands;
    commands.erase(commands.begin(), commands.begin() + 2);
    commands.front().failingReads.add(member);
    return record;
}

// The first command, behind the read cache, of an axis block whose start refuses a read.
struct CachedBlock {
    explicit CachedBlock(Member refused) : application(blockStartRefusing(refused)) {}
    source::MemoryApplication application;
    std::shared_ptr<source::Commands> commands = source::cacheReads(application.ActivePartProgram())->Commands();
    std::shared_ptr<source::Command> first = commands->Enumerate()->Next();
};

} // namespace

TEST(ReadCache, KeepsARefusalAndRefusesAgainWithoutAsking)
{
    CachedBlock cached(Member::CommandId);
    EXPECT_THROW(cached.first->Id(), source::ReadError);
    EXPECT_THROW(cached.first->Id(), source::ReadError);
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 1u);
}

TEST(ReadCache, AsksAgainAfterALostConnection)
{
    CachedBlock cached(Member::CommandValueValid);
    cached.application.log().failAtCall(1, source::ReadLog::Fault::ConnectionLost);
    EXPECT_THROW(cached.first->Id(), source::ConnectionError);
    EXPECT_EQ(cached.first->Id(), "AX1");
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 2u);
}
