#include "LanguageSwitch.h"

#include "config/mdl_Sprache_Laden.h"
#include "files/FileReplacement.h"
#include "files/FileSystem.h"
#include "files/FileError.h"

#include <array>
#include <istream>
#include <ostream>
#include <string>

namespace app {
namespace {

std::string readAll(kfield::FileSystem& files, const std::filesystem::path& path)
{
    const auto in = files.openForReading(path);
    std::string bytes;
    std::array<char, 4096> buffer{};
    while (*in) {
        in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        bytes.append(buffer.data(), static_cast<std::size_t>(in->gcount()));
    }
    if (in->bad())
        throw kfield::FileError("Cannot read the language file", path, "the file cannot be read");
    return bytes;
}

} // namespace

LanguageInstall installLanguageFile(kfield::FileSystem& files, const std::filesystem::path& programDirectory,
                                    std::string_view language, const config::CodePage& codePage)
{
    const std::filesystem::path target = programDirectory / config::kResourceFileName;
    const std::filesystem::path source = programDirectory / (std::string(language) + ".dll");
    // Both answers are taken before either is looked at.
    const bool targetExists = files.exists(target);
    const bool sourceExists = files.exists(source);
    if (!targetExists || !sourceExists)
        return LanguageInstall::FileMissing;

    // A short or unreadable file would leave the program without texts at its next start.
    config::loadLanguageFile(source, codePage);

    const std::string bytes = readAll(files, source);
    kfield::FileReplacement copy(files, target);
    copy.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    copy.commit();
    return LanguageInstall::Installed;
}

} // namespace app
