#pragma once

#include "CodePage.h"

namespace config {

// A Windows code page through WideCharToMultiByte and MultiByteToWideChar.
class WindowsCodePage final : public CodePage {
public:
    // The system's ANSI code page (CP_ACP).
    WindowsCodePage();
    // A code page by number. Throws PlatformError when Windows does not have it.
    explicit WindowsCodePage(unsigned number);

    std::string encode(std::string_view utf8) const override;
    std::string decode(std::string_view bytes) const override;
    std::string name() const override;

private:
    unsigned m_conversion; // CP_ACP or the number
    unsigned m_number;
};

} // namespace config
