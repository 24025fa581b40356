// The language-file reader on any bytes, in a western and a central European code page: either the
// documented error or 165 texts of valid UTF-8.
#include "FuzzCheck.h"

#include "platform/CodePage.h"
#include "config/mdl_Sprache_Laden.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

// The JSON writer refuses a text that is no valid UTF-8.
bool isValidUtf8(const std::string& text)
{
    try {
        nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::unique_ptr<config::CodePage> western = config::codePageByNumber(1252);
    static const std::unique_ptr<config::CodePage> central = config::codePageByNumber(1250);
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("norda-language-fuzz-" + std::to_string(::getpid()) + ".dll");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    for (const config::CodePage* codePage : {western.get(), central.get()}) {
        try {
            const config::LanguageTexts texts = config::loadLanguageFile(file, *codePage);
            for (int number = 1; number <= config::kTextLineCount; ++number) {
                const std::string& text = texts.line(number);
                check(isValidUtf8(text));
                // A text is one line: a CR always ends it (a lone LF is text).
                check(text.find('\r') == std::string::npos);
            }
        } catch (const config::LanguageFileError& error) {
            check(std::string(error.what()).starts_with("Cannot use the language file \""));
        }
    }
    return 0;
}
