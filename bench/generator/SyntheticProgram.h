#pragma once

#include <cstddef>
#include <cstdint>

#include "source/ModelRecords.h"

// Part programs made up for the benchmarks: as many commands as asked for, mixed as in a real
// program, and the same program for the same seed on every system and compiler.
namespace bench {

inline constexpr std::uint64_t kDefaultSeed = 20261205;

// Exactly commandCount commands: plain (non-dimension) commands, single dimensions, comments, named
// values of both walks, axis blocks, position blocks and a few blocks and dimensions that are not
// converted. Every named value passes its checks, every type has a type name and every comment fits,
// so a conversion of it shows no message.
source::ApplicationRecord syntheticApplication(std::size_t commandCount, std::uint64_t seed = kDefaultSeed);

} // namespace bench
