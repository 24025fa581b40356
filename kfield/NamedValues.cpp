#include "NamedValues.h"

#include "DescriptionState.h"
#include "KeywordMatch.h"
#include "OperatorMessages.h"
#include "Utf8.h"
#include "mdl_Allgemein.h"

#include "config/LanguageTexts.h"
#include "config/TextLines.h"

#include <array>
#include <string>

namespace kfield {
namespace {

namespace tl = config::textline;

constexpr std::array kKeywordTable{tl::kKeywordK2060, tl::kKeywordK2005, tl::kKeywordK2022, tl::kKeywordK1101,
                                   tl::kKeywordK1303, tl::kKeywordK1007, tl::kKeywordK1011, tl::kKeywordK2404};

class Checks {
public:
    Checks(int keyword, const config::LanguageTexts& texts, OperatorMessages& messages)
        : m_keyword(keyword), m_texts(texts), m_messages(messages)
    {
    }

    // line 58, blank, the keyword, then blank and each further line.
    std::string message(std::initializer_list<int> lines) const
    {
        std::string text = m_texts.line(tl::kNamedValueStart) + " " + m_texts.line(m_keyword);
        for (int line : lines)
            text += " " + m_texts.line(line);
        return text;
    }
    // The messages for K2022, which end in the replacement value 4.
    std::string replacedByFour(int reasonLine) const
    {
        return message({reasonLine, tl::kReplacementStart}) + " 4 " + m_texts.line(tl::kReplacementEnd);
    }
    void inform(const std::string& text) const { m_messages.show(text, MessageIcon::Information); }
    void stop(const std::string& text) const { m_messages.show(text, MessageIcon::Critical); }

    // A value longer than allowed is cut after a message.
    void cut(std::string& value, std::int16_t length) const
    {
        if (!FitsLength(value, length)) {
            inform(message({tl::kValueCut}));
            value = firstCharacters(value, static_cast<std::size_t>(length));
        }
    }

private:
    int m_keyword;
    const config::LanguageTexts& m_texts;
    OperatorMessages& m_messages;
};

} // namespace

std::optional<int> matchDescriptionKeyword(std::string_view name, const config::LanguageTexts& texts)
{
    return matchKeyword(name, kKeywordTable, texts);
}

NamedValueOutcome handleNamedValue(int keyword, std::string_view rawValue, std::int64_t next, DescriptionState& state,
                                   const config::LanguageTexts& texts, OperatorMessages& messages, const NumberSeparators& separator)
{
    std::string value = trimBlanks(rawValue);
    const Checks checks(keyword, texts, messages);

    switch (keyword) {
    case tl::kKeywordK2060:
        if (!FitsLength(value, 5)) {
            checks.inform(texts.line(tl::kK2060Rejected));
            value = "0";
        }
        if (!IsIntegerText(value, separator)) {
            checks.inform(texts.line(tl::kK2060Rejected));
            value = "0";
        }
        state.TableK2060[next] = value;
        break;
    case tl::kKeywordK2005: {
        const auto number = wholeNumberOf(value, separator);
        if (!number) {
            checks.stop(checks.message({tl::kValueNotNumber}));
            return NamedValueOutcome::AbortRun;
        }
        if (*number > 4) {
            checks.inform(checks.message({tl::kValueAboveFour}));
            value = "1";
        }
        checks.cut(value, 1);
        state.TableK2005[next] = value;
        break;
    }
    case tl::kKeywordK2022:
        if (!IsIntegerText(value, separator)) {
            checks.inform(checks.replacedByFour(tl::kValueNotNumber));
            value = "4";
        }
        if (!FitsLength(value, 1)) {
            checks.inform(checks.replacedByFour(tl::kValueTooLong));
            value = "4";
        }
        state.TableK2022[next] = value;
        break;
    case tl::kKeywordK1101:
        checks.cut(value, 40);
        state.PartFieldK1101 = "K1101 " + value;
        break;
    case tl::kKeywordK1303:
        checks.cut(value, 20);
        state.PartFieldK1303 = "K1303 " + value;
        break;
    case tl::kKeywordK1007:
        checks.cut(value, 20);
        state.PartFieldK1007 = "K1007 " + value;
        break;
    case tl::kKeywordK1011:
        checks.cut(value, 20);
        state.PartFieldK1011 = "K1011 " + value;
        break;
    case tl::kKeywordK2404:
        if (!IsNumericText(value, separator)) {
            checks.stop(checks.message({tl::kValueNotNumber, tl::kConversionStops}));
            return NamedValueOutcome::AbortRun;
        }
        checks.cut(value, 22);
        state.PartFieldK2404 = "K2404/0 " + value;
        break;
    }
    return NamedValueOutcome::Continue;
}

} // namespace kfield
