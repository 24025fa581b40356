// The snapshot reader, and a whole conversion of every snapshot it accepts: no crash, no undefined
// behaviour, only the documented errors, and transfer files made of whole CR LF lines.
#include "FuzzCheck.h"

#include "platform/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "kfield/ConvertPartProgram.h"
#include "files/FileError.h"
#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"
#include "support/Doubles.h"
#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// Every byte of a transfer file belongs to a line that ends with CR LF, and no line holds a lone CR or LF.
void checkLines(const std::string& bytes)
{
    check(bytes.empty() || bytes.ends_with("\r\n"));
    check(std::ranges::count(bytes, '\r') == std::ranges::count(bytes, '\n'));
    for (std::size_t at = bytes.find('\r'); at != std::string::npos; at = bytes.find('\r', at + 1))
        check(bytes[at + 1] == '\n');
}

struct World {
    std::unique_ptr<config::CodePage> codePage = config::codePageByNumber(1252);
    config::LanguageTexts texts = config::loadLanguageFile(std::filesystem::path(NORDA_SOURCE_DIR) / "lang" / "English.dll", *codePage);
    testing_support::FixedRegionalSettings regional{","};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static World world;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    source::ApplicationRecord record;
    try {
        record = source::parseSnapshot(text, "fuzz");
    } catch (const source::SnapshotError&) {
        return 0;
    }
    // What the reader accepted, the writer writes back so that it reads the same again.
    const std::string written = source::writeSnapshot(record);
    check(source::writeSnapshot(source::parseSnapshot(written, "again")) == written);

    if (!record.activePartProgram)
        return 0;
    // The settings come from the input's length, so that every combination is reached.
    const kfield::TransferSettings settings{(size & 1) != 0, (size & 2) != 0, (size & 4) != 0, (size & 8) != 0};
    testing_support::FaultyFileSystem files(testing_support::FaultyFileSystem::Storage::Memory);
    testing_support::RecordingProgress progress;
    testing_support::RecordingMessages messages;
    source::MemoryApplication application(std::move(record));
    const kfield::TransferServices services{world.texts, world.regional, *world.codePage, files, messages, progress};
    try {
        const auto partProgram = application.ActivePartProgram();
        const kfield::TransferJob job{application, *partProgram, {"P.dfd", "P.dfx", "P.tmp", "P.dfq"}, "05.12.2026/14:03:12", settings};
        kfield::ConvertPartProgram(job, services);
        kfield::WriteMeasuredValues(job, services);
    } catch (const source::ReadError&) {
    } catch (const kfield::FileError&) {
    }
    for (const auto& [name, bytes] : files.memoryFiles()) {
        check(name != "P.tmp");
        checkLines(bytes);
    }
    return 0;
}
