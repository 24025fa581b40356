// norda-cli: one conversion run as the start button does it, for scripts, servers and tests.
#include "run/ApplicationConnector.h"
#include "CliOptions.h"
#include "platform/Clock.h"
#include "platform/CommandLineArguments.h"
#include "ConsoleOutput.h"
#include "run/ConversionRun.h"
#include "config/OverlaySettingsStore.h"
#include "platform/ProgramDirectory.h"
#include "run/SnapshotSaver.h"
#include "config/SystemSettingsStore.h"

#include "platform/CodePage.h"
#include "config/MainWindowSettings.h"
#include "platform/PathText.h"
#include "platform/RegionalSettings.h"
#include "config/SettingKeys.h"
#include "config/mdl_Sprache_Laden.h"
#include "files/FileLock.h"
#include "files/LocalFileSystem.h"
#include "files/FileError.h"

#include <iostream>

namespace {

// The files a finished run wrote, one line each.
void listWrittenFiles(const app::ConversionRun& run, const app::RunResult& result)
{
    const bool combined = config::isFlagOn(run.Settings.SettingDFQ);
    if (result.fullWrite)
        std::cout << "created  " << config::pathText(combined ? run.DfqPath : run.DfdPath) << '\n';
    if (result.outcome == app::RunOutcome::ValuesWritten)
        std::cout << "appended " << config::pathText(combined ? run.DfqPath : run.DfxPath) << '\n';
}

int runCli(const app::CliOptions& options)
{
    const auto codePage = config::systemCodePage();
    config::LanguageTexts texts;
    if (options.texts)
        texts = config::loadLanguageFile(config::pathFromUtf8(*options.texts), *codePage);
    else
        config::LoadResourceTexts(texts, app::programDirectory(), *codePage);

    const auto stored = app::systemSettingsStore();
    app::OverlaySettingsStore settings(*stored);
    for (const auto& [key, value] : options.settings)
        settings.WriteSetting(config::setting::kApplication, config::setting::kSection, key, value);

    app::ConversionRun run;
    run.Settings = config::readMainWindowSettings(settings);

    const auto regional = config::systemRegionalSettings();
    kfield::LocalFileSystem files;
    kfield::SystemFileLocks locks;
    app::StreamMessages messages(std::cerr);
    app::NoProgressDisplay display;
    const auto connector = app::systemConnector(options.snapshot ? options.snapshot->c_str() : nullptr);
    const app::SystemClock systemClock;
    const app::FixedClock fixedClock(options.now.value_or(config::CalendarTime{}));
    const app::Clock& clock = options.now ? static_cast<const app::Clock&>(fixedClock) : systemClock;

    const app::RunServices services{texts, *regional, *codePage, files, locks, messages, display, display, *connector, clock};
    if (options.saveSnapshot)
        return app::saveSnapshot(services, config::pathFromUtf8(*options.saveSnapshot)) ? 0 : 1;
    const app::RunResult result = run.start(services);
    listWrittenFiles(run, result);
    return result.outcome == app::RunOutcome::ValuesWritten ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const app::CliOptions options = app::parseCliOptions(app::commandLineArguments(argc, argv));
        if (options.help) {
            std::cout << app::usageText();
            return 0;
        }
        return runCli(options);
    } catch (const app::UsageError& error) {
        std::cerr << "norda-cli: " << error.what() << "\n\n" << app::usageText();
        return 2;
    } catch (const config::LanguageFileError& error) {
        std::cerr << "norda-cli: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "norda-cli: " << error.what() << '\n';
        return 1;
    }
}
