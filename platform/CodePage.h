#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace config {

// The system's ANSI code page: every transfer file is written in it and the language files are read
// in it. Texts inside the program are UTF-8.
class CodePage {
public:
    virtual ~CodePage() = default;
    // Characters the code page cannot represent become "?".
    virtual std::string encode(std::string_view utf8) const = 0;
    // Bytes the code page does not define become U+FFFD.
    virtual std::string decode(std::string_view bytes) const = 0;
    // The code page's name, such as "windows-1252".
    virtual std::string name() const = 0;
};

// The code page of this system: on Windows the active ANSI code page; elsewhere the Windows code page
// of the user's locale, or the one named by the environment variable NORDA_CODEPAGE ("1250",
// "windows-1250"). Throws PlatformError when the code page is not available.
std::unique_ptr<CodePage> systemCodePage();

// A Windows code page by number, such as 1252. Throws PlatformError when it is not available.
std::unique_ptr<CodePage> codePageByNumber(int number);

} // namespace config
