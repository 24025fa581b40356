#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Process.h"

#include <gtest/gtest.h>

namespace testing_support {

inline const std::filesystem::path kCli = std::filesystem::path(NORDA_PROGRAM_DIR) / "norda-cli";

// norda-cli in child processes. Everything lives under one root: the output directory out/, the
// inputs in in/ and an empty settings store in config/, so a test sees anything written elsewhere.
class CliFixture : public ::testing::Test {
protected:
    TemporaryDirectory root;
    std::filesystem::path out = root / "out";
    std::filesystem::path in = root / "in";
    EnvironmentChanges environment{{"LC_ALL", "en_US.UTF-8"},
                                   {"VELTRUM_SNAPSHOT", ""},
                                   {"NORDA_CODEPAGE", ""},
                                   {"XDG_CONFIG_HOME", (root / "config").string()}};

    void SetUp() override
    {
        for (const char* folder : {"out", "in", "config"})
            std::filesystem::create_directories(root / folder);
    }
};

// Empty when the texts are equal, else where they first differ; keeps failures of large files short.
inline std::string firstDifference(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return {};
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    const std::size_t from = at < 40 ? 0 : at - 40;
    return std::to_string(actual.size()) + " bytes instead of " + std::to_string(expected.size()) + ", first difference at byte " +
           std::to_string(at) + ":\n  actual:   " + actual.substr(from, 80) + "\n  expected: " + expected.substr(from, 80);
}

} // namespace testing_support
