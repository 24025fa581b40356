#include "StreamCopy.h"

#include <array>

namespace kfield {

bool copyStream(std::istream& in, std::ostream& out)
{
    std::array<char, 64 * 1024> buffer;
    while (in && out) {
        in.read(buffer.data(), buffer.size());
        out.write(buffer.data(), in.gcount());
    }
    return in.eof() && !in.bad();
}

} // namespace kfield
