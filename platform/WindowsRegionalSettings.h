#pragma once

#include "RegionalSettings.h"

namespace config {

// The regional settings of the user's locale, as GetLocaleInfoEx reports them at each call, so a
// change in the control panel applies to the next number or date.
class WindowsRegionalSettings final : public RegionalSettings {
public:
    // Each throws PlatformError when the system cannot give the value.
    std::string decimalSeparator() const override;
    std::string groupingSeparator() const override;
    std::string shortDate(const CalendarTime& time) const override;
    std::string longTime(const CalendarTime& time) const override;
};

} // namespace config
