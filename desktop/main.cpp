// norda-converter: the desktop program beside the measuring application.
#include "run/ApplicationConnector.h"
#include "platform/Clock.h"
#include "platform/CommandLineArguments.h"
#include "CommandLineSwitches.h"
#include "DesktopEnvironment.h"
#include "DesktopProgram.h"
#include "MessageBoxes.h"
#include "platform/ProgramDirectory.h"
#include "config/SystemSettingsStore.h"

#include "platform/CodePage.h"
#include "platform/RegionalSettings.h"
#include "files/FileLock.h"
#include "files/LocalFileSystem.h"
#include "Artwork.h"

#include <QApplication>

#include <exception>
#include <string>

int main(int argc, char** argv)
{
    // Taken before Qt removes the options it knows: the switches compare the whole argument text.
    const std::string arguments = app::argumentText(app::commandLineArguments(argc, argv));

    QApplication application(argc, argv);
    // The program ends by its own commands only; closing the start-up window or unloading the main
    // window for the settings dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ui::programIcon());

    try {
        const auto codePage = config::systemCodePage();
        const auto regional = config::systemRegionalSettings();
        kfield::LocalFileSystem files;
        kfield::SystemFileLocks locks;
        const auto settings = app::systemSettingsStore();
        const auto connector = app::systemConnector();
        const app::SystemClock clock;
        const app::DesktopEnvironment environment{app::programDirectory(), arguments, *codePage, *regional,
                                                  files, locks, *settings, *connector, clock};

        // exit(), not quit(): the end is immediate, no window is asked to close first.
        app::DesktopProgram program(environment, [](int exitCode) { QCoreApplication::exit(exitCode); });
        if (!program.start())
            return 2;
        return QApplication::exec();
    } catch (const std::exception& error) {
        app::showStartFailure(error.what());
        return 1;
    }
}
