#include "ValueKeywords.h"

#include "KeywordMatch.h"
#include "Utf8.h"
#include "ValueBlock.h"
#include "mdl_Allgemein.h"

#include "config/LanguageTexts.h"
#include "config/TextLines.h"

#include <algorithm>
#include <array>

namespace kfield {
namespace {

namespace tl = config::textline;

constexpr std::array kValueKeywordLines{tl::kKeywordCodeList, tl::kKeywordRunIdent,  tl::kKeywordRunNumber6, tl::kKeywordRunNumber7,
                                        tl::kKeywordNumber,   tl::kKeywordK0053,     tl::kKeywordK0012};

// "line + blank + line 56": the end of every message after which the measurement is not written.
std::string stopMessage(const config::LanguageTexts& texts, int line)
{
    return texts.line(line) + " " + texts.line(tl::kConversionStops);
}

// A whole number of at most five characters, else the given messages.
std::optional<std::string> checkWholeNumber(std::string_view value, const NumberSeparators& separator, const config::LanguageTexts& texts,
                                            int notWholeLine, int tooLongLine)
{
    if (!IsIntegerText(value, separator))
        return stopMessage(texts, notWholeLine);
    if (!FitsLength(value, 5))
        return stopMessage(texts, tooLongLine);
    return std::nullopt;
}

std::string keywordMessage(const config::LanguageTexts& texts, int reasonLine)
{
    return texts.line(tl::kNamedValueStart) + " " + texts.line(tl::kKeywordK0012) + " " + texts.line(reasonLine) + " " +
           texts.line(tl::kConversionStops);
}

} // namespace

std::optional<int> matchValueKeyword(std::string_view name, const config::LanguageTexts& texts)
{
    return matchKeyword(name, kValueKeywordLines, texts);
}

std::optional<std::string> applyValueKeyword(int keyword, std::string_view rawValue, std::int64_t next, ValueTables& tables,
                                             const config::LanguageTexts& texts, const NumberSeparators& separator)
{
    const std::string value = trimBlanks(rawValue);
    switch (keyword) {
    case tl::kKeywordCodeList:
        if (!std::all_of(value.begin(), value.end(), [](char c) { return (c >= '0' && c <= '9') || c == ','; }))
            return stopMessage(texts, tl::kCodeListNotDigits);
        tables.CodeListTable[next] = value;
        return std::nullopt;
    case tl::kKeywordRunIdent:
        if (!FitsLength(value, 14))
            return stopMessage(texts, tl::kRunIdentTooLong);
        if (value.empty() || value.front() != '#')
            return stopMessage(texts, tl::kRunIdentWithoutHash);
        tables.RunIdentText = value;
        return std::nullopt;
    case tl::kKeywordRunNumber6:
        if (auto failure = checkWholeNumber(value, separator, texts, tl::kRunNumber6NotWhole, tl::kRunNumber6TooLong))
            return failure;
        tables.RunNumber6 = value;
        return std::nullopt;
    case tl::kKeywordRunNumber7:
        if (auto failure = checkWholeNumber(value, separator, texts, tl::kRunNumber7NotWhole, tl::kRunNumber7TooLong))
            return failure;
        tables.RunNumber7 = value;
        return std::nullopt;
    case tl::kKeywordNumber:
        if (auto failure = checkWholeNumber(value, separator, texts, tl::kNumberNotWhole, tl::kNumberTooLong))
            return failure;
        tables.NumberTable[next] = value;
        return std::nullopt;
    case tl::kKeywordK0053:
        if (!FitsLength(value, 20))
            return stopMessage(texts, tl::kK0053TooLong);
        tables.Line0053 = "K0053/0 " + value;
        return std::nullopt;
    case tl::kKeywordK0012:
        if (!IsIntegerText(value, separator))
            return keywordMessage(texts, tl::kValueNotNumber);
        if (!FitsLength(value, 5))
            return keywordMessage(texts, tl::kValueTooLong);
        tables.Line0012 = "K0012/0 " + value;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace kfield
