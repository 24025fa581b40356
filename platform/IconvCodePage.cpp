#include "IconvCodePage.h"

#include "TextChecks.h"
#include "platform/PlatformError.h"

#include <algorithm>
#include <cerrno>

namespace config {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

std::string iconvName(int number)
{
    switch (number) {
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "BIG5";
    default: return "WINDOWS-" + std::to_string(number);
    }
}

// Length of the UTF-8 character at the start of the text; 1 for a stray or broken byte.
std::size_t characterLength(const char* text, std::size_t available)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    std::size_t whole = 1;
    while (whole < length && whole < available && (static_cast<unsigned char>(text[whole]) & 0xC0) == 0x80)
        ++whole;
    return whole == length ? length : 1;
}

// Converts with iconv; where a character cannot be converted, appends the replacement and skips
// the offending input (one character, or one byte for single-byte input).
std::string convert(iconv_t cd, std::string_view input, std::string_view replacement, bool inputIsUtf8)
{
    std::string output;
    output.resize(input.size() * 4 + 16);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: an unconvertible or incomplete character.
        const std::size_t skip = inputIsUtf8 ? characterLength(in, inLeft) : 1;
        in += skip;
        inLeft -= skip;
        if (output.size() - written < replacement.size())
            output.resize(output.size() * 2 + replacement.size());
        output.replace(written, replacement.size(), replacement);
        written += replacement.size();
    }
    output.resize(written);
    return output;
}

} // namespace

IconvCodePage::IconvCodePage(int number) : m_number(number)
{
    const std::string name = iconvName(number);
    m_toCodePage = iconv_open(name.c_str(), "UTF-8");
    m_fromCodePage = iconv_open("UTF-8", name.c_str());
    if (m_toCodePage == kNoConversion || m_fromCodePage == kNoConversion) {
        if (m_toCodePage != kNoConversion)
            iconv_close(m_toCodePage);
        if (m_fromCodePage != kNoConversion)
            iconv_close(m_fromCodePage);
        throw PlatformError("The code page windows-" + std::to_string(number) + " is not available on this system");
    }
}

IconvCodePage::~IconvCodePage()
{
    iconv_close(m_toCodePage);
    iconv_close(m_fromCodePage);
}

std::string IconvCodePage::encode(std::string_view utf8) const
{
    // Most texts are plain ASCII, which every supported code page keeps as it is.
    if (isAscii(utf8))
        return std::string(utf8);
    return convert(m_toCodePage, utf8, "?", true);
}

std::string IconvCodePage::decode(std::string_view bytes) const
{
    if (isAscii(bytes))
        return std::string(bytes);
    return convert(m_fromCodePage, bytes, "\xEF\xBF\xBD", false);
}

std::string IconvCodePage::name() const
{
    return "windows-" + std::to_string(m_number);
}

} // namespace config
