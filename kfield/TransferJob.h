#pragma once

#include <filesystem>
#include <string>

namespace config {
class CodePage;
class LanguageTexts;
class RegionalSettings;
} // namespace config

namespace source {
class Application;
class PartProgram;
} // namespace source

namespace kfield {

class FileSystem;
class OperatorMessages;
class ProgressDisplay;

// The four files of one part program: one directory, one stem, four extensions.
struct OutputPaths {
    std::filesystem::path DfdPath; // description
    std::filesystem::path DfxPath; // values
    std::filesystem::path TmpPath; // description while it is written
    std::filesystem::path DfqPath; // combined
};

// The settings the writers act on, each on or off.
struct TransferSettings {
    bool Kommentare = false; // characteristic comments into the description
    bool DFQ = false;        // one combined file
    bool PosAchse = false;   // every axis of a position block is a characteristic
    bool NordaPos = false;   // position groups
};

// What one conversion writes from: the attached application and part program, the file names, the
// measurement's stamp and the settings.
struct TransferJob {
    source::Application& application;
    source::PartProgram& partProgram;
    OutputPaths paths;
    std::string MeasurementDateTime; // "dd.mm.yyyy/time of day"
    TransferSettings settings;
};

// The services the writers reach the world through.
struct TransferServices {
    const config::LanguageTexts& texts;
    const config::RegionalSettings& regional;
    const config::CodePage& codePage;
    FileSystem& files;
    OperatorMessages& messages;
    ProgressDisplay& progress;
};

} // namespace kfield
