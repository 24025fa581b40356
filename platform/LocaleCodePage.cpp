#include "LocaleCodePage.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string>

namespace config {
namespace {

struct LanguageCodePage {
    std::string_view language;
    int codePage;
};

constexpr std::array<LanguageCodePage, 29> kCodePages{{
    {"cs", 1250}, {"pl", 1250}, {"hu", 1250}, {"sk", 1250}, {"sl", 1250}, {"hr", 1250},
    {"ro", 1250}, {"sq", 1250}, {"bs", 1250},
    {"ru", 1251}, {"uk", 1251}, {"be", 1251}, {"bg", 1251}, {"mk", 1251}, {"sr", 1251},
    {"el", 1253}, {"tr", 1254}, {"az", 1254}, {"he", 1255}, {"ar", 1256}, {"fa", 1256}, {"ur", 1256},
    {"et", 1257}, {"lv", 1257}, {"lt", 1257}, {"vi", 1258}, {"th", 874}, {"ja", 932}, {"ko", 949},
}};

} // namespace

int windowsCodePageForLocale(std::string_view localeName)
{
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
    if (language == "zh") {
        const bool traditional = localeName.find("_TW") != std::string_view::npos || localeName.find("_HK") != std::string_view::npos;
        return traditional ? 950 : 936;
    }
    for (const auto& entry : kCodePages) {
        if (entry.language == language)
            return entry.codePage;
    }
    return 1252;
}

std::optional<int> parseCodePageName(std::string_view name)
{
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string_view digits = lower;
    for (std::string_view prefix : {std::string_view("windows-"), std::string_view("cp")}) {
        if (digits.substr(0, prefix.size()) == prefix) {
            digits.remove_prefix(prefix.size());
            break;
        }
    }
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || number <= 0)
        return std::nullopt;
    return number;
}

} // namespace config
