#pragma once

#include <benchmark/benchmark.h>

namespace bench {

// Peak heap use of one benchmark run, as Google Benchmark's memory pass asks for it: the most bytes
// that were allocated at any moment above what was allocated when the run started. Counts through
// the replaced global operator new and delete in AllocationMeter.cpp, and only while a run is measured.
class AllocationMeter final : public benchmark::MemoryManager {
public:
    void Start() override;
    void Stop(Result& result) override;
    void Stop(Result* result) override; // the older form, still pure in this library version

    // False where the C library cannot tell the size of a block (the meter then reports nothing).
    static bool isAvailable();
    // From here on the peak counts from what is allocated now: a case's setup is no part of its peak.
    static void startOver();
};

} // namespace bench
