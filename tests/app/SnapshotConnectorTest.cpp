#include "app/SnapshotConnector.h"

#include "source/MeasurementSource.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include "support/Files.h"
#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::string snapshotOf(const std::string& partName)
{
    source::ApplicationRecord application = exampleApplication();
    application.activePartProgram->partName = partName;
    return source::writeSnapshot(application);
}

std::string partNameSeenBy(app::SnapshotConnector& connector)
{
    return connector.requestObject("Veltrum.Application")->ActivePartProgram()->PartName();
}

} // namespace

TEST(SnapshotConnector, GivesEveryConnectionAnApplicationOfItsOwn)
{
    TemporaryDirectory dir;
    writeBytes(dir / "veltrum.json", snapshotOf("PUMP1"));
    app::SnapshotConnector connector(dir / "veltrum.json");

    const auto first = connector.requestObject("Veltrum.Application");
    first->SetUpdatesEnabled(false);
    const auto second = connector.requestObject("Veltrum.Application");
    EXPECT_NE(first, second);
    EXPECT_TRUE(second->UpdatesEnabled());
}

TEST(SnapshotConnector, ReadsAChangedFileAnewThoughItsSizeAndTimeStayTheSame)
{
    TemporaryDirectory dir;
    const auto file = dir / "veltrum.json";
    writeBytes(file, snapshotOf("PUMP1"));
    const auto written = std::filesystem::last_write_time(file);
    app::SnapshotConnector connector(file);
    EXPECT_EQ(partNameSeenBy(connector), "PUMP1");

    writeBytes(file, snapshotOf("PUMP2"));
    std::filesystem::last_write_time(file, written);
    EXPECT_EQ(partNameSeenBy(connector), "PUMP2");
}

TEST(SnapshotConnector, ReadsAFileChangedBeyondItsFirstPiecesAnew)
{
    TemporaryDirectory dir;
    const auto file = dir / "veltrum.json";
    const std::string longName(200000, 'P');
    writeBytes(file, snapshotOf(longName + "1"));
    app::SnapshotConnector connector(file);
    EXPECT_EQ(partNameSeenBy(connector), longName + "1");

    writeBytes(file, snapshotOf(longName + "2"));
    EXPECT_EQ(partNameSeenBy(connector), longName + "2");
}

TEST(SnapshotConnector, ReportsABrokenFileAndReadsItOnceRepaired)
{
    TemporaryDirectory dir;
    const auto file = dir / "veltrum.json";
    writeBytes(file, snapshotOf("PUMP1"));
    app::SnapshotConnector connector(file);
    EXPECT_EQ(partNameSeenBy(connector), "PUMP1");

    writeBytes(file, "{\"activePartProgram\": ");
    EXPECT_THROW(connector.requestObject("Veltrum.Application"), source::SnapshotError);

    writeBytes(file, snapshotOf("PUMP1"));
    EXPECT_EQ(partNameSeenBy(connector), "PUMP1");
}

TEST(SnapshotConnector, WithoutASnapshotFileTheApplicationCannotBeReached)
{
    app::SnapshotConnector connector(std::nullopt);
    EXPECT_FALSE(connector.findMainWindow("OrvianVeltrumWndClass"));
    EXPECT_THROW(connector.requestObject("Veltrum.Application"), source::ConnectionError);
}
