#include "ConversionRun.h"

#include "ApplicationConnector.h"
#include "platform/Clock.h"
#include "FileNameText.h"

#include "config/MainWindowSettings.h"
#include "platform/PathText.h"
#include "platform/RegionalSettings.h"
#include "config/TextLines.h"
#include "config/LanguageTexts.h"
#include "kfield/ConvertPartProgram.h"
#include "files/FileLock.h"
#include "files/FileSystem.h"
#include "kfield/OperatorMessages.h"
#include "kfield/Utf8.h"
#include "files/FileError.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/MeasurementSource.h"
#include "source/ReadCache.h"
#include "source/ReadError.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace app {
namespace {

constexpr std::string_view kMainWindowClass = "OrvianVeltrumWndClass";
constexpr std::string_view kProgrammaticId = "Veltrum.Application";
constexpr std::size_t kShortNameLength = 8;

constexpr char kDirectorySeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// "dd.mm.yyyy/hh:mm:ss": the time of day is always written on the 24-hour clock with two digits each,
// whatever the system's time format, so every measurement stamp reads the same.
std::string stamp(const config::CalendarTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d/%02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return text;
}

RunOutcome outcomeOf(kfield::ValuesOutcome values)
{
    return values == kfield::ValuesOutcome::Written ? RunOutcome::ValuesWritten : RunOutcome::ValuesAborted;
}

} // namespace

void ConversionRun::ConnectToApplication(const RunServices& services)
{
    const config::LanguageTexts& texts = services.texts;
    if (!services.connector.findMainWindow(kMainWindowClass)) {
        services.messages.show(texts.line(config::textline::kApplicationNotRunning), kfield::MessageIcon::None);
        Connected = false;
        return;
    }
    try {
        Application = services.connector.requestObject(kProgrammaticId);
    } catch (const std::exception& error) {
        services.messages.show(error.what(), kfield::MessageIcon::Critical);
        Connected = false;
        return;
    }
    Connected = true;

    // No part program open shows as a failed read or as "Nothing"; the part program of an earlier
    // connection is never used in its place. A lost connection or a busy application says nothing
    // about the part program and is reported as what it is.
    bool usable = false;
    try {
        PartProgram = Application->ActivePartProgram();
        usable = PartProgram && PartProgram->DefaultMember() != "Nothing";
    } catch (const source::ReadError&) {
    } catch (const source::ConnectionError& error) {
        PartProgram.reset();
        services.messages.show(error.what(), kfield::MessageIcon::Critical);
        Connected = false;
        return;
    }
    if (!usable) {
        PartProgram.reset();
        services.messages.show(texts.line(config::textline::kNoPartProgram), kfield::MessageIcon::None);
        Connected = false;
        return;
    }

    try {
        const std::string fileName = PartProgram->FileName();
        const std::size_t length = kfield::characterCount(fileName);
        // A name of fewer than four characters has no extension to lose and gives the empty name.
        PartProgramName = length < 4 ? std::string() : kfield::firstCharacters(fileName, length - 4);
    } catch (const std::runtime_error& error) { // source::ReadError or source::ConnectionError
        services.messages.show(error.what(), kfield::MessageIcon::Critical);
        Connected = false;
    }
}

void ConversionRun::BuildOutputPaths(const RunServices& services)
{
    source::PartProgram& program = *PartProgram;
    BaseFileName = kfield::trimBlanks(config::isFlagOn(Settings.SettingSeriennummer) ? program.SerialNumber() : program.PartName());
    if (config::isFlagOn(Settings.SettingNamenslaenge))
        BaseFileName = kfield::firstCharacters(BaseFileName, kShortNameLength);
    if (config::isFlagOn(Settings.SettingProgVerz))
        Settings.SettingDir = program.Directory();

    const std::string stem = fileNameSafe(BaseFileName);
    std::string suffix;
    if (config::isFlagOn(Settings.SettingSingleFile)) {
        const config::CalendarTime now = services.clock.now();
        suffix = "_" + dateTimeForFileName(services.regional.shortDate(now)) + "_" + dateTimeForFileName(services.regional.longTime(now));
    }
    std::array<std::filesystem::path*, 4> paths{&DfdPath, &DfxPath, &TmpPath, &DfqPath};
    std::array<const char*, 4> extensions{".dfd", ".dfx", ".tmp", ".dfq"};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // The revision is read anew for each path, as each is formed on its own.
        const std::string revision = config::isFlagOn(Settings.SettingVersionInFileName) ? "_" + fileNameSafe(program.RevisionNumber()) : "";
        // Only a whole file name that Windows takes for a device changes: "AUX.dfd", never "AUX_B.dfd".
        *paths[i] = config::pathFromUtf8(Settings.SettingDir + kDirectorySeparator + notADeviceName(stem + revision + suffix + extensions[i]));
    }
}

RunResult ConversionRun::start(const RunServices& services)
{
    MeasurementDateTime = stamp(services.clock.now());
    ConnectToApplication(services);
    services.nameDisplay.showPartProgramName(PartProgramName);
    if (!Connected)
        return {RunOutcome::NotConnected, false};
    try {
        return convert(services);
    } catch (const std::exception& error) {
        services.messages.show(error.what(), kfield::MessageIcon::Critical);
        return {RunOutcome::Failed, false};
    }
}

RunResult ConversionRun::convert(const RunServices& services)
{
    BuildOutputPaths(services);
    const kfield::TransferServices transfer{services.texts, services.regional, services.codePage,
                                            services.files, services.messages, services.progress};
    const kfield::TransferJob job{*Application, *PartProgram, {DfdPath, DfxPath, TmpPath, DfqPath}, MeasurementDateTime,
                                  {config::isFlagOn(Settings.SettingKommentare), config::isFlagOn(Settings.SettingDFQ),
                                   config::isFlagOn(Settings.SettingPosAchse), Settings.SettingNordaPos}};

    // A missing directory is named as such, not as a file that cannot be opened.
    const std::filesystem::path directory = DfdPath.parent_path();
    if (!directory.empty() && !services.files.folderExists(directory))
        throw kfield::FileError("Cannot write into the output directory", directory, "the directory does not exist");

    // Conversions of one file set take turns, across processes too: a second run must neither decide
    // on files that the first is still writing nor write into them at the same time.
    const std::unique_ptr<kfield::FileLock> lock = services.locks.lockFileSet(DfdPath);
    // A folder is not a file: it neither starts an append nor may a full write go past it.
    for (const std::filesystem::path* path : {&DfdPath, &DfqPath}) {
        if (services.files.folderExists(*path))
            throw kfield::FileError("Cannot write", *path, "a folder has the name of the transfer file");
    }
    const bool descriptionExists = services.files.exists(DfdPath);
    const bool combinedExists = services.files.exists(DfqPath);
    if (descriptionExists || combinedExists) {
        return {outcomeOf(kfield::WriteMeasuredValues(job, transfer)), false};
    }
    if (services.files.exists(TmpPath))
        services.files.remove(TmpPath);
    // Both walks of a full write read the same commands: each member goes across to the application once.
    const std::shared_ptr<source::PartProgram> cachedProgram = source::cacheReads(PartProgram);
    const kfield::TransferJob cachedJob{job.application, *cachedProgram, job.paths, job.MeasurementDateTime, job.settings};
    const auto values = kfield::ConvertPartProgram(cachedJob, transfer);
    if (!values)
        return {RunOutcome::ConversionAborted, false};
    return {outcomeOf(*values), true};
}

} // namespace app
