#include "CommandLineSwitches.h"

namespace app {
namespace {

bool isAutoStart(std::string_view text)
{
    return text == "/a" || text == "/A";
}

} // namespace

std::string argumentText(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front())
            text += ' ';
        text += argument;
    }
    return text;
}

CommandLineSwitches evaluateCommandLine(std::string_view text)
{
    CommandLineSwitches switches;
    switches.AutoStart = isAutoStart(text);
    switches.EndAfterRun = switches.AutoStart;
    if (text == "/s" || text == "/S") {
        switches.AutoStart = false;
        switches.EndAfterRun = true;
    }
    return switches;
}

std::chrono::milliseconds startUpWindowDuration(std::string_view text)
{
    using namespace std::chrono_literals;
    return isAutoStart(text) ? 10ms : 3000ms;
}

} // namespace app
