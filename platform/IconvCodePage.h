#pragma once

#include <iconv.h>

#include "CodePage.h"

namespace config {

// A Windows code page through the C library's iconv.
class IconvCodePage final : public CodePage {
public:
    // Throws PlatformError when iconv does not know the code page.
    explicit IconvCodePage(int number);
    ~IconvCodePage() override;
    IconvCodePage(const IconvCodePage&) = delete;
    IconvCodePage& operator=(const IconvCodePage&) = delete;

    std::string encode(std::string_view utf8) const override;
    std::string decode(std::string_view bytes) const override;
    std::string name() const override;

private:
    int m_number;
    iconv_t m_toCodePage;
    iconv_t m_fromCodePage;
};

} // namespace config
