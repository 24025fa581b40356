// norda-synth: writes the synthetic part program of the benchmarks as a snapshot file, so that
// norda-cli and the desktop program convert the very same data as the benchmark cases.
//   norda-synth COMMANDS FILE [SEED]
#include "bench/generator/SyntheticProgram.h"

#include "source/Snapshot.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: norda-synth COMMANDS FILE [SEED]\n";
        return 2;
    }
    try {
        const std::size_t commands = std::stoul(argv[1]);
        const std::uint64_t seed = argc == 4 ? std::stoull(argv[3]) : bench::kDefaultSeed;
        std::ofstream out(argv[2], std::ios::binary);
        out << source::writeSnapshot(bench::syntheticApplication(commands, seed));
        out.close();
        if (!out) {
            std::cerr << "norda-synth: cannot write \"" << argv[2] << "\"\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "norda-synth: " << error.what() << '\n';
        return 2;
    }
}
