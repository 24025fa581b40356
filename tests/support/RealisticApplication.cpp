// Apart from the builders, which the Windows suite builds too.
#include "ModelBuilder.h"

#include "source/Snapshot.h"
#include "support/Files.h"

namespace testing_support {

source::ApplicationRecord realisticApplication()
{
    return source::readSnapshotFile(testDataDir() / "conversions" / "realistic" / "program.json");
}

} // namespace testing_support
