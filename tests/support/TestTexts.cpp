#include "TestTexts.h"

#include <map>

namespace testing_support {

config::LanguageTexts numberedTexts()
{
    static const std::map<int, std::string> keywords{
        {150, "K2060"}, {151, "FIELD4"}, {152, "FIELD5"}, {153, "FIELD6"}, {154, "FIELD7"},
        {155, "FIELD8"}, {157, "K0053"}, {158, "K0012"}, {159, "K1007"}, {160, "K1101"},
        {161, "K1303"}, {162, "K2005"}, {163, "K2022"}, {164, "K2404"}, {165, "K1011"},
    };
    config::LanguageTexts texts;
    for (int line = 1; line <= config::kTextLineCount; ++line) {
        if (const auto keyword = keywords.find(line); keyword != keywords.end())
            texts.setLine(line, keyword->second);
        else if (line >= 97 && line <= 147)
            texts.setLine(line, "T" + std::to_string(line));
        else
            texts.setLine(line, "L" + std::to_string(line));
    }
    return texts;
}

} // namespace testing_support
