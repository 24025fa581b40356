// Picks the platform's implementation of the code page and the regional settings.
#include "CodePage.h"
#include "LocaleCodePage.h"
#include "RegionalSettings.h"

#ifdef _WIN32
#error "The Windows code page and regional settings are not built yet"
#else
#include "IconvCodePage.h"
#include "LocaleRegionalSettings.h"

#include <cstdlib>
#include <stdexcept>
#endif

namespace config {

#ifndef _WIN32
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
            throw std::runtime_error(std::string("NORDA_CODEPAGE names no code page: \"") + named + "\"");
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
