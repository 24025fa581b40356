#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// What the command line asks of the desktop program.
struct CommandLineSwitches {
    bool AutoStart = false;   // convert once as soon as the main window has loaded
    bool EndAfterRun = false; // end the program when a conversion has reached the values writer
};

// The program's whole argument text: the arguments joined by single blanks, as the operator typed
// them behind the program name.
std::string argumentText(const std::vector<std::string>& arguments);

// "/a" or "/A" asks for both, "/s" or "/S" for the end after the first run. The whole argument text
// is compared exactly: two switches, "-a", "/a " or "/auto" are no switch at all.
CommandLineSwitches evaluateCommandLine(std::string_view argumentText);

// How long the start-up window stays: 10 ms with "/a" or "/A", else 3000 ms.
std::chrono::milliseconds startUpWindowDuration(std::string_view argumentText);

} // namespace app
