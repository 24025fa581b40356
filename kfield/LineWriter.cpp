#include "LineWriter.h"

#include "platform/CodePage.h"
#include "platform/TextChecks.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace kfield {
namespace {

bool breaksLines(char c)
{
    return c == '\r' || c == '\n' || c == '\0' || c == '\x1A' || c == '\x14' || c == '\x0F';
}

} // namespace

LineWriter::LineWriter(std::ostream& out, const config::CodePage& codePage) : m_out(out), m_codePage(codePage) {}

void LineWriter::text(std::string_view utf8)
{
    // Every ANSI code page keeps ASCII as it is, so most text needs no conversion and no copy.
    if (config::isAscii(utf8)) {
        m_out.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
        return;
    }
    const std::string encoded = m_codePage.encode(utf8);
    m_out.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
}

void LineWriter::endLine()
{
    m_out.write(kLineEnd.data(), static_cast<std::streamsize>(kLineEnd.size()));
}

void LineWriter::line(std::string_view utf8)
{
    text(utf8);
    endLine();
}

void LineWriter::keyLine(std::string_view key, std::string_view value)
{
    m_line.assign(key);
    m_line += ' ';
    appendLineSafe(m_line, value);
    writeLine();
}

void LineWriter::characteristicLine(std::string_view key, long long number, std::string_view value)
{
    std::array<char, 24> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    m_line.assign(key);
    m_line += '/';
    m_line.append(digits.data(), end);
    m_line += ' ';
    appendLineSafe(m_line, value);
    writeLine();
}

void LineWriter::writeLine()
{
    if (!config::isAscii(m_line)) {
        line(m_line);
        return;
    }
    m_line += kLineEnd; // one write for the whole line
    m_out.write(m_line.data(), static_cast<std::streamsize>(m_line.size()));
}

std::string lineSafe(std::string_view value)
{
    std::string safe;
    appendLineSafe(safe, value);
    return safe;
}

void appendLineSafe(std::string& text, std::string_view value)
{
    const std::size_t start = text.size();
    text += value;
    std::replace_if(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), breaksLines, ' ');
}

} // namespace kfield
