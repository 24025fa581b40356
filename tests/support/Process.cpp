#include "Process.h"

#include "Files.h"

#include <cstdlib>
#include <sys/wait.h>

namespace testing_support {
namespace {

std::string quoted(const std::string& text)
{
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

} // namespace

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment)
{
    TemporaryDirectory capture;
    // env takes its options before the assignments.
    std::string command = "env";
    for (const auto& [name, value] : environment) {
        if (value.empty())
            command += " -u " + quoted(name);
    }
    for (const auto& [name, value] : environment) {
        if (!value.empty())
            command += " " + quoted(name + "=" + value);
    }
    command += " " + quoted(program.string());
    for (const auto& argument : arguments)
        command += " " + quoted(argument);
    command += " </dev/null >" + quoted((capture / "out").string()) + " 2>" + quoted((capture / "err").string());
    const int status = std::system(command.c_str());
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readBytes(capture / "out");
    result.err = readBytes(capture / "err");
    return result;
}

} // namespace testing_support
