#include "run/SnapshotConnector.h"

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

} // namespace

// Each connection reads the file anew: after a change that keeps its size and time, a change beyond
// its first pieces, and a repair; and gets an application of its own.
TEST(SnapshotConnector, GivesEveryConnectionTheFileAsItIsNow)
{
    TemporaryDirectory dir;
    const auto file = dir / "veltrum.json";
    const std::string longName(200000, 'P');
    writeBytes(file, snapshotOf("PUMP1"));
    const auto written = std::filesystem::last_write_time(file);
    app::SnapshotConnector connector(file);
    const auto first = connector.requestObject("Veltrum.Application");
    first->SetUpdatesEnabled(false);
    EXPECT_EQ(first->ActivePartProgram()->PartName(), "PUMP1");

    for (const std::string& name : {std::string("PUMP2"), longName + "1", longName + "2", std::string("PUMP1")}) {
        if (name == "PUMP1") {
            writeBytes(file, "{\"activePartProgram\": ");
            EXPECT_THROW(connector.requestObject("Veltrum.Application"), source::SnapshotError);
        }
        writeBytes(file, snapshotOf(name));
        if (name == "PUMP2")
            std::filesystem::last_write_time(file, written);
        const auto next = connector.requestObject("Veltrum.Application");
        EXPECT_EQ(next->ActivePartProgram()->PartName(), name);
        EXPECT_TRUE(next->UpdatesEnabled());
        EXPECT_NE(next, first);
    }
}
