#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "CountingMessages.h"
#include "FloorFile.h"
#include "SilentProgress.h"

#include "config/LanguageTexts.h"
#include "kfield/TransferJob.h"
#include "source/MemoryApplication.h"

namespace config {
class CodePage;
class RegionalSettings;
} // namespace config

namespace bench {

// What every case converts with: comments, position axes and position groups on, so that every kind
// of line is written; the stamp is fixed, so every run writes the same bytes.
kfield::TransferSettings benchmarkSettings(bool combined);
inline constexpr const char* kMeasurementStamp = "05.12.2026/14:03:12";

// One synthetic part program and everything a conversion of it needs. On construction it converts
// the program once for real, separate and combined, first and second measurement, and keeps those
// bytes: the floors write them, and every case checks that it wrote exactly them.
class Workload {
public:
    // Throws std::runtime_error when the reference conversion does not write cleanly.
    Workload(std::size_t commandCount, std::filesystem::path directory, const std::filesystem::path& languageFile);
    ~Workload();
    Workload(const Workload&) = delete;
    Workload& operator=(const Workload&) = delete;

    std::size_t commandCount() const { return m_commandCount; }
    std::int64_t characteristicCount() const { return m_characteristicCount; }
    source::MemoryApplication& application() { return m_application; }
    const std::shared_ptr<source::PartProgram>& partProgram() const { return m_partProgram; }
    const std::filesystem::path& directory() const { return m_directory; }
    const CountingMessages& messages() const { return m_messages; }

    // The files of the part program in the given directory: PART.dfd, .dfx, .tmp, .dfq.
    static kfield::OutputPaths paths(const std::filesystem::path& directory);
    kfield::TransferJob job(const std::filesystem::path& directory, bool combined);
    kfield::TransferServices services(kfield::FileSystem& files);

    const FloorFile& description() const { return *m_description; }       // .dfd of the first conversion
    const FloorFile& valueBlock() const { return *m_valueBlock; }         // .dfx of the first; every append adds it again
    const FloorFile& combined() const { return *m_combined; }             // .dfq of the first conversion
    const FloorFile& combinedBlock() const { return *m_combinedBlock; }   // what the second adds to the .dfq

    // The part program as a snapshot file, written on first use; norda-cli reads the same document.
    const std::filesystem::path& snapshotFile();

private:
    void convertReference();

    std::size_t m_commandCount;
    std::filesystem::path m_directory;
    source::MemoryApplication m_application;
    std::shared_ptr<source::PartProgram> m_partProgram;
    std::unique_ptr<config::CodePage> m_codePage;
    std::unique_ptr<config::RegionalSettings> m_regional;
    config::LanguageTexts m_texts;
    CountingMessages m_messages;
    SilentProgress m_progress;
    std::int64_t m_characteristicCount = 0;
    std::optional<FloorFile> m_description;
    std::optional<FloorFile> m_valueBlock;
    std::optional<FloorFile> m_combined;
    std::optional<FloorFile> m_combinedBlock;
    std::optional<std::filesystem::path> m_snapshotFile;
};

} // namespace bench
