#pragma once

#include <array>
#include <string>

namespace config {

inline constexpr int kTextLineCount = 165;

// The program-wide table of captions, messages, type names and keywords, one slot per line of the
// language file (text line 1 to 165). The ignored lines have no slot and read as empty text.
class LanguageTexts {
public:
    // The text of line 1..165; throws std::out_of_range for any other number.
    const std::string& line(int number) const;
    // Ignored lines are dropped.
    void setLine(int number, std::string text);

    static bool isIgnoredLine(int number);

private:
    std::array<std::string, kTextLineCount> m_lines;
};

} // namespace config
