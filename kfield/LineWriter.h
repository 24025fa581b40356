#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace config {
class CodePage;
}

namespace kfield {

// Writes the lines of a transfer file: text in the ANSI code page, every line ended by CR LF.
class LineWriter {
public:
    static constexpr std::string_view kLineEnd = "\r\n";

    LineWriter(std::ostream& out, const config::CodePage& codePage);

    // Part of a line; the text is encoded as it is.
    void text(std::string_view utf8);
    void endLine();
    void line(std::string_view utf8);
    // "K1001 value"
    void keyLine(std::string_view key, std::string_view value);
    // "K2001/3 value"
    void characteristicLine(std::string_view key, long long number, std::string_view value);

private:
    // Writes m_line, which holds one whole line without its end.
    void writeLine();

    std::ostream& m_out;
    const config::CodePage& m_codePage;
    std::string m_line; // reused for every line: a description has a dozen lines per characteristic
};

// A value text with the characters that would break a transfer file's lines (CR, LF, NUL, SUB and the
// field separators DC4 and SI) replaced by blanks.
std::string lineSafe(std::string_view value);
// The same, appended to the text.
void appendLineSafe(std::string& text, std::string_view value);

} // namespace kfield
