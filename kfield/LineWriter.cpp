#include "LineWriter.h"

#include "config/CodePage.h"

#include <algorithm>

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
    std::string line(key);
    line += ' ';
    line += lineSafe(value);
    this->line(line);
}

void LineWriter::characteristicLine(std::string_view key, long long number, std::string_view value)
{
    std::string line(key);
    line += '/';
    line += std::to_string(number);
    line += ' ';
    line += lineSafe(value);
    this->line(line);
}

std::string lineSafe(std::string_view value)
{
    std::string safe(value);
    std::replace_if(safe.begin(), safe.end(), breaksLines, ' ');
    return safe;
}

} // namespace kfield
