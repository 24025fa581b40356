#include "CliOptions.h"

#include "config/SettingKeys.h"

#include <cstdio>

namespace app {
namespace {

// The store keys --set accepts; NAMENSLAENGE is accepted for NAMENSLÄNGE where typing Ä is awkward.
std::string storeKey(const std::string& key)
{
    if (key == "NAMENSLAENGE")
        return std::string(config::setting::kNamenslaenge);
    for (std::string_view known : config::setting::kDialogOrder) {
        if (key == known)
            return key;
    }
    throw UsageError("--set: \"" + key + "\" is not a setting; the settings are DRIVE, DIR, KOMMENTARE, DFQ, SERIENNUMMER, "
                     "NAMENSL\xC3\x84NGE (or NAMENSLAENGE), POS_ACHSE, ProgVerz, VersionInFileName, SingleFile, NordaPos");
}

config::CalendarTime parseMoment(const std::string& text)
{
    config::CalendarTime t;
    char separator = 0;
    int consumed = 0;
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day, &separator, &t.hour,
                                   &t.minute, &t.second, &consumed);
    const bool valid = fields == 7 && separator == 'T' && static_cast<std::size_t>(consumed) == text.size() && t.month >= 1 &&
                       t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
                       t.minute <= 59 && t.second >= 0 && t.second <= 59;
    if (!valid)
        throw UsageError("--now: \"" + text + "\" is not a moment of the form YYYY-MM-DDTHH:MM:SS");
    return t;
}

} // namespace

CliOptions parseCliOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--snapshot") {
            options.snapshot = value();
        } else if (argument == "--save-snapshot") {
            options.saveSnapshot = value();
        } else if (argument == "--texts") {
            options.texts = value();
        } else if (argument == "--set") {
            const std::string& setting = value();
            const auto equals = setting.find('=');
            if (equals == std::string::npos)
                throw UsageError("--set: \"" + setting + "\" is not of the form KEY=VALUE");
            options.settings.emplace_back(storeKey(setting.substr(0, equals)), setting.substr(equals + 1));
        } else if (argument == "--now") {
            options.now = parseMoment(value());
        } else {
            throw UsageError("unknown argument \"" + argument + "\"");
        }
    }
    return options;
}

std::string usageText()
{
    return R"(Usage: norda-cli [--snapshot FILE] [--texts FILE] [--set KEY=VALUE]... [--now YYYY-MM-DDTHH:MM:SS]
       norda-cli --save-snapshot FILE [--snapshot FILE] [--texts FILE]

Converts the part program open in the measuring application Veltrum into K-field transfer files,
exactly as the start button of the Norda converter does: the first run for a part program writes
the description (.dfd, or .dfq in combined mode) and the values (.dfx); every later run appends
the values of one more measurement.

Options:
  --snapshot FILE  the simulated measuring application: a snapshot file of its state (overrides
                   the environment variable VELTRUM_SNAPSHOT)
  --texts FILE     the language file to use (default: resource.dll in the program's directory)
  --set KEY=VALUE  one setting for this run only, by its store name, for example
                   --set DIR=/data/out --set DFQ=1 --set KOMMENTARE=1; the stored settings are
                   read as the converter reads them and are never changed
  --now MOMENT     take the measurement's date and time (and the single-file names) from
                   MOMENT instead of the clock, for reproducible conversions
  --save-snapshot FILE
                   convert nothing: write the open part program, as the converter reads it, to
                   FILE as a snapshot, for reporting a problem; with --snapshot, a copy of that
                   snapshot
  --help           this text

Messages go to standard error; an information message does not stop the run. One line per file
written or appended goes to standard output.

Exit status: 0 the values (or the snapshot) were written; 1 the run stopped (no application, no part
program, a rejected named value, an error); 2 a usage error or an unusable language file.
)";
}

} // namespace app
