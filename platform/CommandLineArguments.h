#pragma once

#include <string>
#include <vector>

namespace app {

// The program's arguments after its own name, as UTF-8 texts. On Windows they come from the wide
// command line: argv holds them in the ANSI code page, which cannot hold every file name.
std::vector<std::string> commandLineArguments(int argc, char** argv);

} // namespace app
