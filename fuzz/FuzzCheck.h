#pragma once

#include <cstdlib>

// A broken property stops the fuzzer at once, with the input that broke it.
inline void check(bool condition)
{
    if (!condition)
        std::abort();
}
