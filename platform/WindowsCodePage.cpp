#include "WindowsCodePage.h"

#include "TextChecks.h"
#include "WindowsText.h"
#include "platform/PlatformError.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace config {
namespace {

constexpr wchar_t kReplacementCharacter = 0xFFFD;

// One character of the code page: a lead byte and its trail byte in the double-byte code pages.
std::size_t characterLength(unsigned codePage, std::string_view bytes)
{
    const bool lead = bytes.size() > 1 && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes.front()));
    return lead ? 2 : 1;
}

std::wstring toWide(unsigned codePage, std::string_view bytes, DWORD flags)
{
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), needed);
    return wide;
}

} // namespace

WindowsCodePage::WindowsCodePage() : m_conversion(CP_ACP), m_number(GetACP()) {}

WindowsCodePage::WindowsCodePage(unsigned number) : m_conversion(number), m_number(number)
{
    if (!IsValidCodePage(number))
        throw PlatformError("The code page windows-" + std::to_string(number) + " is not available on this system");
}

std::string WindowsCodePage::encode(std::string_view utf8) const
{
    if (isAscii(utf8))
        return std::string(utf8);
    const std::wstring wide = wideFromUtf8(utf8);
    // No best-fit mapping: a character the code page lacks becomes "?", never a look-alike ("ł" is
    // not "l"), so the files say the same on every system.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(m_conversion, flags, wide.data(), length, nullptr, 0, "?", nullptr);
    if (needed <= 0)
        throw PlatformError("Cannot convert a text to the code page " + name());
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(m_conversion, flags, wide.data(), length, bytes.data(), needed, "?", nullptr);
    return bytes;
}

std::string WindowsCodePage::decode(std::string_view bytes) const
{
    if (isAscii(bytes))
        return std::string(bytes);
    std::wstring wide = toWide(m_conversion, bytes, MB_ERR_INVALID_CHARS);
    if (wide.empty()) {
        // Some byte is not defined: convert character by character and mark only that one.
        while (!bytes.empty()) {
            const std::size_t length = characterLength(m_conversion, bytes);
            const std::wstring one = toWide(m_conversion, bytes.substr(0, length), MB_ERR_INVALID_CHARS);
            wide += one.empty() ? std::wstring(1, kReplacementCharacter) : one;
            bytes.remove_prefix(length);
        }
    }
    return utf8FromWide(wide);
}

std::string WindowsCodePage::name() const
{
    return "windows-" + std::to_string(m_number);
}

} // namespace config
