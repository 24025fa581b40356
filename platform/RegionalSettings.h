#pragma once

#include <memory>
#include <string>

#include "CalendarTime.h"

namespace config {

// The user's regional settings: the decimal and grouping separators of numbers and the system's short
// date and long time formats. A German setting gives ",", ".", 05.12.2026 and 14:03:12.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;
    virtual std::string decimalSeparator() const = 0;
    // Empty where the settings group no digits.
    virtual std::string groupingSeparator() const = 0;
    virtual std::string shortDate(const CalendarTime& time) const = 0;
    virtual std::string longTime(const CalendarTime& time) const = 0;
};

// The settings of the user running the program: on Windows the user locale, elsewhere the locale
// environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG) as the C library reports it.
std::unique_ptr<RegionalSettings> systemRegionalSettings();

} // namespace config
