// Picks the platform's implementation of the code page and the regional settings.
#include "CodePage.h"
#include "LocaleCodePage.h"
#include "RegionalSettings.h"

#ifdef _WIN32
#include "WindowsCodePage.h"
#include "WindowsRegionalSettings.h"
#else
#include "IconvCodePage.h"
#include "LocaleRegionalSettings.h"
#include "platform/PlatformError.h"

#include <cstdlib>
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

const char* firstSetVariable(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<CodePage> codePageByNumber(int number)
{
    return std::make_unique<IconvCodePage>(number);
}

std::unique_ptr<CodePage> systemCodePage()
{
    if (const char* named = firstSetVariable({"NORDA_CODEPAGE"})) {
        const auto number = parseCodePageName(named);
        if (!number)
            throw PlatformError(std::string("NORDA_CODEPAGE names no code page: \"") + named + "\"");
        return codePageByNumber(*number);
    }
    const char* locale = firstSetVariable({"LC_ALL", "LC_CTYPE", "LANG"});
    return codePageByNumber(windowsCodePageForLocale(locale ? locale : "C"));
}

std::unique_ptr<RegionalSettings> systemRegionalSettings()
{
    return std::make_unique<LocaleRegionalSettings>();
}
#endif

} // namespace config
