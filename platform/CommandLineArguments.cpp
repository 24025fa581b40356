// Picks where the arguments come from on this system.
#include "CommandLineArguments.h"

#ifdef _WIN32
#include "WindowsText.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#endif

namespace app {

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
#ifdef _WIN32
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (wide) {
        std::vector<std::string> arguments;
        for (int i = 1; i < count; ++i)
            arguments.push_back(config::utf8FromWide(wide.get()[i]));
        return arguments;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace app
