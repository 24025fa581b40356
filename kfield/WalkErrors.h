#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "source/ReadError.h"

namespace kfield {

// Runs the work on one command; a failed read comes out naming the command's position, so the
// operator can find it in the part program.
template <class Work>
decltype(auto) onCommand(int commandIndex, Work&& work)
{
    try {
        return std::forward<Work>(work)();
    } catch (const source::ReadError& error) {
        throw source::ReadError(error.member() + " of command " + std::to_string(commandIndex), error.reason());
    }
}

// A number of the dimension data rendered with the given places; a value that is no finite number
// is a failed read of that member.
std::string formatDimensionValue(double value, int places, std::string_view decimalSeparator, std::string_view member);

} // namespace kfield
