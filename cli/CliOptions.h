#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/CalendarTime.h"

namespace app {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line of norda-cli asks for.
struct CliOptions {
    bool help = false;
    std::optional<std::string> snapshot;                   // --snapshot FILE
    std::optional<std::string> texts;                      // --texts FILE
    std::optional<std::string> saveSnapshot;               // --save-snapshot FILE
    std::vector<std::pair<std::string, std::string>> settings; // --set KEY=VALUE, by store key
    std::optional<config::CalendarTime> now;               // --now YYYY-MM-DDTHH:MM:SS
};

// Throws UsageError naming what is wrong.
CliOptions parseCliOptions(const std::vector<std::string>& arguments);

std::string usageText();

} // namespace app
