#include "ConsoleOutput.h"

namespace app {

void StreamMessages::show(const std::string& text, kfield::MessageIcon icon)
{
    switch (icon) {
    case kfield::MessageIcon::Information: m_out << "Information: "; break;
    case kfield::MessageIcon::Critical: m_out << "Error: "; break;
    case kfield::MessageIcon::None: break;
    }
    m_out << text << '\n' << std::flush;
}

} // namespace app
