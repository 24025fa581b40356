#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "config/MainWindowSettings.h"

namespace config {
class CodePage;
class LanguageTexts;
class RegionalSettings;
} // namespace config

namespace kfield {
class FileLocks;
class FileSystem;
class OperatorMessages;
class ProgressDisplay;
} // namespace kfield

namespace source {
class Application;
class PartProgram;
} // namespace source

namespace app {

class ApplicationConnector;
class Clock;

// The label that shows the connected part program's name.
class PartProgramNameDisplay {
public:
    virtual ~PartProgramNameDisplay() = default;
    virtual void showPartProgramName(const std::string& name) = 0;
};

// Everything a run reaches the world through.
struct RunServices {
    const config::LanguageTexts& texts;
    const config::RegionalSettings& regional;
    const config::CodePage& codePage;
    kfield::FileSystem& files;
    kfield::FileLocks& locks;
    kfield::OperatorMessages& messages;
    kfield::ProgressDisplay& progress;
    PartProgramNameDisplay& nameDisplay;
    ApplicationConnector& connector;
    const Clock& clock;
};

enum class RunOutcome {
    NotConnected,      // no application or no usable part program; no file touched
    ConversionAborted, // a named value stopped the full write; no file written
    ValuesWritten,     // the measurement is in the files
    ValuesAborted,     // a named value stopped the values; the measurement is not written
    Failed             // the application or a file failed; the message was shown, no file changed
};

struct RunResult {
    RunOutcome outcome = RunOutcome::NotConnected;
    bool fullWrite = false; // the description was written anew

    // The values writer ran, whether or not a named value stopped it.
    bool reachedValues() const { return outcome == RunOutcome::ValuesWritten || outcome == RunOutcome::ValuesAborted; }
};

// The run state the main window holds from its first load to the end of the program, and the start
// command that works on it. A reload of the window keeps every field that it does not set anew.
class ConversionRun {
public:
    std::shared_ptr<source::Application> Application;
    std::shared_ptr<source::PartProgram> PartProgram;
    bool Connected = false;
    std::string PartProgramName;
    std::string MeasurementDateTime;

    std::string BaseFileName;
    std::filesystem::path DfdPath;
    std::filesystem::path DfxPath;
    std::filesystem::path TmpPath;
    std::filesystem::path DfqPath;

    // The settings as the main window last read them; the run sets Settings.SettingDir to the part
    // program's folder when SettingProgVerz is on.
    config::MainWindowSettings Settings;

    // Attaches to the running application and its open part program; shows text line 46 or 47, or
    // the error, and leaves Connected false when that fails.
    void ConnectToApplication(const RunServices& services);

    // Forms BaseFileName and the four paths from the settings and the part program. Throws
    // source::ReadError.
    void BuildOutputPaths(const RunServices& services);

    // The start command: stamps the measurement, connects, names the files, and either appends the
    // values (a description or combined file exists) or writes everything anew. Every failure is
    // shown to the operator and leaves the transfer files as they were.
    RunResult start(const RunServices& services);

private:
    RunResult convert(const RunServices& services);
};

} // namespace app
