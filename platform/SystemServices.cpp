// Picks the platform's implementation of the code page and the regional settings.
#include "CodePage.h"
#include "LocaleCodePage.h"
#include "RegionalSettings.h"

#ifdef _WIN32
#include "WindowsCodePage.h"
#include "WindowsRegionalSettings.h"
#else
#include "Environment.h"
#include "IconvCodePage.h"
#include "LocaleRegionalSettings.h"
#include "platform/PlatformError.h"

#include <optional>
#include <string>
#endif

namespace config {

#ifdef _WIN32
std::unique_ptr<CodePage> codePageByNumber(int number)
{
    return std::make_unique<WindowsCodePage>(static_cast<unsigned>(number));
}

// The ANSI code page of the system, as Windows itself converts; NORDA_CODEPAGE is a stand-in for
// systems without one and has no say here.
std::unique_ptr<CodePage> systemCodePage()
{
    return std::make_unique<WindowsCodePage>();
}

std::unique_ptr<RegionalSettings> systemRegionalSettings()
{
    return std::make_unique<WindowsRegionalSettings>();
}
#else
namespace {

std::optional<std::string> firstSetVariable(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (auto value = platform::environmentText(name))
            return value;
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<CodePage> codePageByNumber(int number)
{
    return std::make_unique<IconvCodePage>(number);
}

std::unique_ptr<CodePage> systemCodePage()
{
    if (const auto named = firstSetVariable({"NORDA_CODEPAGE"})) {
        const auto number = parseCodePageName(*named);
        if (!number)
            throw PlatformError("NORDA_CODEPAGE names no code page: \"" + *named + "\"");
        return codePageByNumber(*number);
    }
    return codePageByNumber(windowsCodePageForLocale(firstSetVariable({"LC_ALL", "LC_CTYPE", "LANG"}).value_or("C")));
}

std::unique_ptr<RegionalSettings> systemRegionalSettings()
{
    return std::make_unique<LocaleRegionalSettings>();
}
#endif

} // namespace config
