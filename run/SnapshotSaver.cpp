#include "SnapshotSaver.h"

#include "ConversionRun.h"
#include "PartProgramCapture.h"

#include "files/FileReplacement.h"
#include "kfield/OperatorMessages.h"
#include "source/Snapshot.h"

#include <exception>

namespace app {

bool saveSnapshot(const RunServices& services, const std::filesystem::path& file)
{
    ConversionRun run;
    run.ConnectToApplication(services);
    if (!run.Connected)
        return false;
    try {
        // The whole part program is read before the file is begun: a refused read leaves nothing behind.
        const std::string document =
            source::writeSnapshot(capturePartProgram(*run.Application, *run.PartProgram, services.messages)) + "\n";
        kfield::FileReplacement replacement(services.files, file);
        replacement.stream() << document;
        replacement.commit();
        return true;
    } catch (const std::exception& error) {
        services.messages.show(error.what(), kfield::MessageIcon::Critical);
        return false;
    }
}

} // namespace app
