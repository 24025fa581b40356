#include "WalkErrors.h"

#include "NumberFormat.h"

#include <stdexcept>

namespace kfield {

std::string formatDimensionValue(double value, int places, std::string_view decimalSeparator, std::string_view member)
{
    try {
        return formatFixed(value, places, decimalSeparator);
    } catch (const std::domain_error& error) {
        throw source::ReadError(std::string(member), error.what());
    }
}

} // namespace kfield
