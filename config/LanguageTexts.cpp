#include "LanguageTexts.h"

#include <algorithm>
#include <stdexcept>

namespace config {
namespace {

constexpr std::array kIgnoredLines{5, 12, 29, 66, 73, 89, 96, 149};

void checkNumber(int number)
{
    if (number < 1 || number > kTextLineCount)
        throw std::out_of_range("There is no text line " + std::to_string(number));
}

} // namespace

const std::string& LanguageTexts::line(int number) const
{
    checkNumber(number);
    return m_lines[static_cast<std::size_t>(number - 1)];
}

void LanguageTexts::setLine(int number, std::string text)
{
    checkNumber(number);
    if (!isIgnoredLine(number))
        m_lines[static_cast<std::size_t>(number - 1)] = std::move(text);
}

bool LanguageTexts::isIgnoredLine(int number)
{
    return std::find(kIgnoredLines.begin(), kIgnoredLines.end(), number) != kIgnoredLines.end();
}

} // namespace config
