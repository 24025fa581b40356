#include "ConversionCases.h"

#include "AllocationMeter.h"
#include "Workload.h"

#include "kfield/ConvertPartProgram.h"
#include "files/DiskSync.h"
#include "files/LocalFileSystem.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/ReadCache.h"
#include "source/Snapshot.h"
#include "support/FaultyFileSystem.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>
#include <string>

namespace bench {
namespace {

enum class Mode { Separate, Combined };

struct CaseDefinition {
    const char* name;
    Mode mode;
    bool appends; // false: first conversion into an empty directory
};

constexpr CaseDefinition kCases[] = {
    {"FullWrite", Mode::Separate, false},
    {"Append", Mode::Separate, true},
    {"CombinedFirst", Mode::Combined, false},
    {"CombinedSecond", Mode::Combined, true},
};

bool isCombined(const CaseDefinition& definition)
{
    return definition.mode == Mode::Combined;
}

// The files a case leaves behind: the description and the values, or the combined file.
std::vector<std::filesystem::path> outputFiles(const CaseDefinition& definition, const std::filesystem::path& directory)
{
    const kfield::OutputPaths paths = Workload::paths(directory);
    if (isCombined(definition))
        return {paths.DfqPath};
    return {paths.DfdPath, paths.DfxPath};
}

// The file an append goes to.
std::filesystem::path appendTarget(const CaseDefinition& definition, const std::filesystem::path& directory)
{
    const kfield::OutputPaths paths = Workload::paths(directory);
    return isCombined(definition) ? paths.DfqPath : paths.DfxPath;
}

std::uintmax_t totalSize(const std::vector<std::filesystem::path>& files)
{
    std::uintmax_t bytes = 0;
    for (const auto& file : files)
        bytes += std::filesystem::file_size(file);
    return bytes;
}

// What one run of the case added: the whole new files, or the growth of the appended one.
std::uintmax_t writtenBytes(const CaseDefinition& definition, const std::vector<std::filesystem::path>& output,
                            const std::filesystem::path& target, std::uintmax_t sizeBefore)
{
    if (definition.appends)
        return std::filesystem::file_size(target) - sizeBefore;
    return totalSize(output);
}

// The bytes one run of the case writes, as the reference conversion wrote them.
std::uintmax_t expectedBytes(const CaseDefinition& definition, const Workload& workload)
{
    if (definition.appends)
        return isCombined(definition) ? workload.combinedBlock().size() : workload.valueBlock().size();
    return isCombined(definition) ? workload.combined().size() : workload.description().size() + workload.valueBlock().size();
}

std::filesystem::path freshDirectory(const Workload& workload, const std::string& name)
{
    const std::filesystem::path directory = workload.directory() / name;
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    return directory;
}

void removeAll(const std::vector<std::filesystem::path>& files)
{
    for (const auto& file : files)
        std::filesystem::remove(file);
}

void reportCounters(benchmark::State& state, const Workload& workload, std::uintmax_t bytes, std::uint64_t reads)
{
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["reads_per_command"] =
        iterations == 0 ? 0 : static_cast<double>(reads) / iterations / static_cast<double>(workload.commandCount());
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["characteristics"] = static_cast<double>(workload.characteristicCount());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// One conversion as the start command runs it: the full write behind a read cache of its own, or the
// values alone.
bool convert(const CaseDefinition& definition, Workload& workload, const kfield::TransferJob& job,
             const kfield::TransferServices& services)
{
    if (definition.appends)
        return kfield::WriteMeasuredValues(job, services) == kfield::ValuesOutcome::Written;
    const std::shared_ptr<source::PartProgram> cached = source::cacheReads(workload.partProgram());
    const kfield::TransferJob cachedJob{job.application, *cached, job.paths, job.MeasurementDateTime, job.settings};
    return kfield::ConvertPartProgram(cachedJob, services) == kfield::ValuesOutcome::Written;
}

void runCase(benchmark::State& state, Workload& workload, const CaseDefinition& definition)
{
    const std::filesystem::path directory = freshDirectory(workload, definition.name);
    const kfield::TransferJob job = workload.job(directory, isCombined(definition));
    kfield::LocalFileSystem files;
    const kfield::TransferServices services = workload.services(files);
    const auto output = outputFiles(definition, directory);
    const std::filesystem::path target = appendTarget(definition, directory);

    std::uintmax_t sizeBefore = 0;
    if (definition.appends) {
        kfield::ConvertPartProgram(job, services);
        sizeBefore = std::filesystem::file_size(target);
    }
    const int messagesBefore = workload.messages().count();
    std::uint64_t reads = 0;
    AllocationMeter::startOver();
    for (auto _ : state) {
        state.PauseTiming();
        if (definition.appends)
            std::filesystem::resize_file(target, sizeBefore);
        else
            removeAll(output);
        const std::uint64_t readsBefore = workload.application().log().total();
        state.ResumeTiming();

        const bool written = convert(definition, workload, job, services);

        reads += workload.application().log().total() - readsBefore;
        if (!written || workload.messages().count() != messagesBefore) {
            state.SkipWithError(("the conversion did not write cleanly: " + workload.messages().last()).c_str());
            return;
        }
    }
    const std::uintmax_t bytes = writtenBytes(definition, output, target, sizeBefore);
    if (bytes != expectedBytes(definition, workload)) {
        state.SkipWithError("the case wrote other bytes than the reference conversion");
        return;
    }
    reportCounters(state, workload, bytes, reads);
}

// The floor; a durable floor also stores each file it wrote on the disk, and after new files their
// directory, as a writer must whose files survive a power failure.
void runFloor(benchmark::State& state, Workload& workload, const CaseDefinition& definition, bool durable)
{
    const std::filesystem::path directory =
        freshDirectory(workload, std::string(definition.name) + (durable ? "DurableFloor" : "Floor"));
    const kfield::OutputPaths paths = Workload::paths(directory);
    const auto output = outputFiles(definition, directory);
    const std::filesystem::path target = appendTarget(definition, directory);
    const auto store = [durable](const std::filesystem::path& file) {
        if (durable)
            kfield::syncFileToDisk(file);
    };
    const auto writeFirst = [&] {
        if (isCombined(definition)) {
            workload.combined().writeTo(paths.DfqPath, std::ios::trunc);
            store(paths.DfqPath);
        } else {
            workload.description().writeTo(paths.DfdPath, std::ios::trunc);
            store(paths.DfdPath);
            workload.valueBlock().writeTo(paths.DfxPath, std::ios::trunc);
            store(paths.DfxPath);
        }
        if (durable)
            kfield::syncDirectoryToDisk(directory);
    };
    const FloorFile& block = isCombined(definition) ? workload.combinedBlock() : workload.valueBlock();

    std::uintmax_t sizeBefore = 0;
    if (definition.appends) {
        writeFirst();
        sizeBefore = std::filesystem::file_size(target);
    }
    AllocationMeter::startOver();
    for (auto _ : state) {
        state.PauseTiming();
        if (definition.appends)
            std::filesystem::resize_file(target, sizeBefore);
        else
            removeAll(output);
        state.ResumeTiming();

        if (definition.appends) {
            block.writeTo(target, std::ios::app);
            store(target);
        } else {
            writeFirst();
        }
    }
    reportCounters(state, workload, writtenBytes(definition, output, target, sizeBefore), 0);
}

// The case into files in memory that keep no bytes: what the walks, the formatting and the encoding
// cost without any storage.
void runWalk(benchmark::State& state, Workload& workload, const CaseDefinition& definition)
{
    testing_support::FaultyFileSystem files(testing_support::FaultyFileSystem::Storage::MemoryWithoutBytes);
    const kfield::TransferJob job = workload.job(workload.directory() / "nowhere", isCombined(definition));
    const kfield::TransferServices services = workload.services(files);
    const int messagesBefore = workload.messages().count();
    std::uint64_t reads = 0;
    for (auto _ : state) {
        const std::uint64_t readsBefore = workload.application().log().total();
        const bool written = convert(definition, workload, job, services);
        reads += workload.application().log().total() - readsBefore;
        if (!written || workload.messages().count() != messagesBefore) {
            state.SkipWithError(("the conversion did not run cleanly: " + workload.messages().last()).c_str());
            return;
        }
    }
    reportCounters(state, workload, 0, reads);
}

void registerOne(const std::string& name, Workload& workload, std::function<void(benchmark::State&)> run)
{
    benchmark::RegisterBenchmark((name + "/" + std::to_string(workload.commandCount())).c_str(), std::move(run))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime(); // the file system's time counts, not only this process's CPU time
}

} // namespace

void registerConversionCases(Workload& workload)
{
    for (const CaseDefinition& definition : kCases) {
        const std::string name = definition.name;
        registerOne(name, workload, [&workload, &definition](benchmark::State& state) { runCase(state, workload, definition); });
        registerOne(name + "Floor", workload,
                    [&workload, &definition](benchmark::State& state) { runFloor(state, workload, definition, false); });
        registerOne(name + "DurableFloor", workload,
                    [&workload, &definition](benchmark::State& state) { runFloor(state, workload, definition, true); });
        registerOne(name + "Walk", workload, [&workload, &definition](benchmark::State& state) { runWalk(state, workload, definition); });
    }
}

namespace {

// A SAX handler that takes every event and keeps nothing.
struct IgnoredEvents {
    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(std::int64_t) { return true; }
    bool number_unsigned(std::uint64_t) { return true; }
    bool number_float(double, const std::string&) { return true; }
    bool string(std::string&) { return true; }
    bool binary(nlohmann::json::binary_t&) { return true; }
    bool start_object(std::size_t) { return true; }
    bool end_object() { return true; }
    bool start_array(std::size_t) { return true; }
    bool end_array() { return true; }
    bool key(std::string&) { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) { throw error; }
};

} // namespace

void registerSnapshotCase(Workload& workload)
{
    const std::filesystem::path file = workload.snapshotFile();
    registerOne("LoadSnapshot", workload, [file, &workload](benchmark::State& state) {
        for (auto _ : state) {
            const source::ApplicationRecord record = source::readSnapshotFile(file);
            benchmark::DoNotOptimize(record.activePartProgram->commands.size());
        }
        reportCounters(state, workload, std::filesystem::file_size(file), 0);
    });
    // The floor of loading: the same file read and merely parsed by nlohmann's SAX parser, every
    // event ignored.
    registerOne("LoadSnapshotFloor", workload, [file, &workload](benchmark::State& state) {
        for (auto _ : state) {
            std::ifstream in(file, std::ios::binary);
            IgnoredEvents ignored;
            benchmark::DoNotOptimize(nlohmann::json::sax_parse(in, &ignored));
        }
        reportCounters(state, workload, std::filesystem::file_size(file), 0);
    });
}

} // namespace bench
