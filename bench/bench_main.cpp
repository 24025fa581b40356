// norda-bench: the conversion cases beside their floors on synthetic part programs. Google Benchmark's
// own options apply (--benchmark_filter, --benchmark_repetitions, --benchmark_out, ...); besides:
//   --sizes=1000,10000,...   command counts of the part programs (default 1000,10000,100000,1000000)
//   --snapshot-size=N        the size whose snapshot loading is measured (default 100000; 0: none)
//   --peak-memory            report the peak heap use of each case; its times are then not comparable
//   --workdir=DIR            where the scratch directory goes (default: the system's temporary directory)
#include "AllocationMeter.h"
#include "ConversionCases.h"
#include "Workload.h"

#include "support/Files.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct BenchOptions {
    std::vector<std::size_t> sizes{1000, 10000, 100000, 1000000};
    std::size_t snapshotSize = 100000;
    bool peakMemory = false;
    std::filesystem::path workDirectory;
};

std::vector<std::size_t> parseSizes(std::string_view text)
{
    std::vector<std::size_t> sizes;
    std::istringstream in{std::string(text)};
    std::string item;
    while (std::getline(in, item, ','))
        sizes.push_back(std::stoul(item));
    return sizes;
}

// What Google Benchmark left of the command line; throws std::invalid_argument for anything else.
BenchOptions parseOptions(int argc, char** argv)
{
    BenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&](std::string_view name) { return argument.substr(name.size()); };
        if (argument.starts_with("--sizes="))
            options.sizes = parseSizes(value("--sizes="));
        else if (argument.starts_with("--snapshot-size="))
            options.snapshotSize = std::stoul(std::string(value("--snapshot-size=")));
        else if (argument == "--peak-memory")
            options.peakMemory = true;
        else if (argument.starts_with("--workdir="))
            options.workDirectory = std::string(value("--workdir="));
        else
            throw std::invalid_argument("unknown option " + std::string(argument));
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    try {
        const BenchOptions options = parseOptions(argc, argv);
        const testing_support::TemporaryDirectory scratch(options.workDirectory);
        const std::filesystem::path languageFile = std::filesystem::path(NORDA_PROGRAM_DIR) / "English.dll";

        std::vector<std::unique_ptr<bench::Workload>> workloads;
        for (const std::size_t size : options.sizes) {
            std::cerr << "norda-bench: generating and converting " << size << " commands\n";
            workloads.push_back(std::make_unique<bench::Workload>(size, scratch.path() / std::to_string(size), languageFile));
            bench::registerConversionCases(*workloads.back());
            if (size == options.snapshotSize)
                bench::registerSnapshotCase(*workloads.back());
        }

        bench::AllocationMeter meter;
        if (options.peakMemory) {
            if (!bench::AllocationMeter::isAvailable())
                throw std::runtime_error("this C library cannot tell the size of a heap block");
            benchmark::RegisterMemoryManager(&meter);
        }
        benchmark::RunSpecifiedBenchmarks();
        benchmark::RegisterMemoryManager(nullptr);
        benchmark::Shutdown();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "norda-bench: " << error.what() << '\n';
        return 1;
    }
}
