#include "WritePartHeader.h"

#include "files/CreatedFile.h"
#include "DescriptionState.h"
#include "files/FileReplacement.h"
#include "files/FileSystem.h"
#include "LineWriter.h"
#include "files/StreamCopy.h"
#include "files/TemporaryFile.h"
#include "files/FileError.h"

#include "config/ProgramVersion.h"
#include "source/MeasurementSource.h"

#include <string>

namespace kfield {
ValuesOutcome WritePartHeader(const TransferJob& job, const TransferServices& services, const DescriptionState& state,
                              TemporaryFile& body)
{
    const std::string serialNumber = job.partProgram.SerialNumber();
    const std::string partName = job.partProgram.PartName();
    const std::string revisionNumber = job.partProgram.RevisionNumber();

    const std::filesystem::path& target = job.settings.DFQ ? job.paths.DfqPath : job.paths.DfdPath;
    {
        FileReplacement description(services.files, target);
        LineWriter out(description.stream(), services.codePage);
        out.keyLine("K0100", std::to_string(state.CharacteristicCount));
        out.keyLine("K1001", serialNumber);
        out.keyLine("K1002", partName);
        out.keyLine("K1004", revisionNumber);
        for (const std::string* field : {&state.PartFieldK1007, &state.PartFieldK1011, &state.PartFieldK1303, &state.PartFieldK1101}) {
            if (!field->empty())
                out.line(lineSafe(*field));
        }
        out.line(std::string("K1900 ********* SENDING SYSTEM: Veltrum - Norda Converter Version ") + config::kProgramVersion + " *********");

        // The body is already in the code page and ends every line with CR LF: it follows byte for byte.
        const auto bodyText = body.openForReading();
        if (!copyStream(*bodyText, description.stream()))
            throw FileError("Cannot read", job.paths.TmpPath, "the file could not be read to its end");
        description.commit();
    }
    CreatedFile created(services.files, target);
    body.remove();
    const ValuesOutcome outcome = WriteMeasuredValues(job, services);
    created.release();
    return outcome;
}

} // namespace kfield
