#include "Workload.h"

#include "bench/generator/SyntheticProgram.h"

#include "platform/CodePage.h"
#include "platform/RegionalSettings.h"
#include "config/mdl_Sprache_Laden.h"
#include "kfield/ConvertPartProgram.h"
#include "files/LocalFileSystem.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Snapshot.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bench {
namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in)
        throw std::runtime_error("Cannot read \"" + path.string() + "\"");
    return std::move(content).str();
}

// "K0100 n": the first line of every description.
std::int64_t characteristicsOf(const std::string& description)
{
    const std::string key = "K0100 ";
    if (description.compare(0, key.size(), key) != 0)
        throw std::runtime_error("the description does not start with its K0100 line");
    return std::stoll(description.substr(key.size(), description.find('\r') - key.size()));
}

} // namespace

kfield::TransferSettings benchmarkSettings(bool combined)
{
    kfield::TransferSettings settings;
    settings.Kommentare = true;
    settings.DFQ = combined;
    settings.PosAchse = true;
    settings.NordaPos = true;
    return settings;
}

Workload::Workload(std::size_t commandCount, std::filesystem::path directory, const std::filesystem::path& languageFile)
    : m_commandCount(commandCount)
    , m_directory(std::move(directory))
    , m_application(syntheticApplication(commandCount))
    , m_partProgram(m_application.ActivePartProgram())
    , m_codePage(config::codePageByNumber(1252))
    , m_regional(config::systemRegionalSettings())
    , m_texts(config::loadLanguageFile(languageFile, *m_codePage))
{
    std::filesystem::create_directories(m_directory);
    convertReference();
    m_application.log().reset();
}

Workload::~Workload() = default;

kfield::OutputPaths Workload::paths(const std::filesystem::path& directory)
{
    return {directory / "PART.dfd", directory / "PART.dfx", directory / "PART.tmp", directory / "PART.dfq"};
}

kfield::TransferJob Workload::job(const std::filesystem::path& directory, bool combined)
{
    return {m_application, *m_partProgram, paths(directory), kMeasurementStamp, benchmarkSettings(combined)};
}

kfield::TransferServices Workload::services(kfield::FileSystem& files)
{
    return {m_texts, *m_regional, *m_codePage, files, m_messages, m_progress};
}

void Workload::convertReference()
{
    kfield::LocalFileSystem files;
    const auto check = [this](std::optional<kfield::ValuesOutcome> outcome, const char* what) {
        if (m_messages.count() != 0)
            throw std::runtime_error(std::string(what) + " showed a message: " + m_messages.last());
        if (outcome != kfield::ValuesOutcome::Written)
            throw std::runtime_error(std::string(what) + " did not write the values");
    };

    const std::filesystem::path separate = m_directory / "reference-separate";
    std::filesystem::create_directories(separate);
    check(kfield::ConvertPartProgram(job(separate, false), services(files)), "the first conversion");
    const std::string description = readFile(paths(separate).DfdPath);
    const std::string firstValues = readFile(paths(separate).DfxPath);
    check(kfield::WriteMeasuredValues(job(separate, false), services(files)), "the second conversion");
    m_valueBlock.emplace(readFile(paths(separate).DfxPath).substr(firstValues.size()));
    m_characteristicCount = characteristicsOf(description);
    m_description.emplace(description);

    const std::filesystem::path combined = m_directory / "reference-combined";
    std::filesystem::create_directories(combined);
    check(kfield::ConvertPartProgram(job(combined, true), services(files)), "the first combined conversion");
    const std::string firstCombined = readFile(paths(combined).DfqPath);
    check(kfield::WriteMeasuredValues(job(combined, true), services(files)), "the second combined conversion");
    m_combinedBlock.emplace(readFile(paths(combined).DfqPath).substr(firstCombined.size()));
    m_combined.emplace(firstCombined);

    std::filesystem::remove_all(separate);
    std::filesystem::remove_all(combined);
}

const std::filesystem::path& Workload::snapshotFile()
{
    if (!m_snapshotFile) {
        const std::filesystem::path path = m_directory / "snapshot.json";
        std::ofstream out(path, std::ios::binary);
        out << source::writeSnapshot(m_application.record());
        out.close();
        if (!out)
            throw std::runtime_error("Cannot write \"" + path.string() + "\"");
        m_snapshotFile = path;
    }
    return *m_snapshotFile;
}

} // namespace bench
