#pragma once

#include <string>
#include <vector>

#include "platform/CalendarTime.h"
#include "platform/RegionalSettings.h"
#include "kfield/OperatorMessages.h"
#include "kfield/ProgressDisplay.h"

namespace testing_support {

// Records the progress display's state and its history.
class RecordingProgress final : public kfield::ProgressDisplay {
public:
    void show(const std::string& caption, int maximum) override
    {
        visible = true;
        this->maximum = maximum;
        captions.push_back(caption);
    }
    void setValue(int value) override { this->value = value; ++updates; }
    void hide() override
    {
        visible = false;
        ++hides;
    }

    bool visible = false;
    int maximum = 0;
    int value = 0;
    int updates = 0;
    int hides = 0;
    std::vector<std::string> captions;
};

// Records every message the operator would see, in order, and whether the progress display was up.
class RecordingMessages final : public kfield::OperatorMessages {
public:
    struct Message {
        std::string text;
        kfield::MessageIcon icon;
        bool progressShown;
    };
    explicit RecordingMessages(const RecordingProgress* progress = nullptr) : m_progress(progress) {}
    void show(const std::string& text, kfield::MessageIcon icon) override
    {
        messages.push_back({text, icon, m_progress && m_progress->visible});
    }
    std::vector<Message> messages;

private:
    const RecordingProgress* m_progress;
};

// Regional settings set directly: the decimal separator (the grouping separator is the other one of
// "." and ","), and dates and times as dd.mm.yyyy and hh:mm:ss with the given separators.
class FixedRegionalSettings final : public config::RegionalSettings {
public:
    explicit FixedRegionalSettings(std::string decimal = ".", std::string dateSeparator = ".", std::string timeSeparator = ":")
        : m_decimal(std::move(decimal)), m_dateSeparator(std::move(dateSeparator)), m_timeSeparator(std::move(timeSeparator))
    {
    }
    std::string decimalSeparator() const override { return m_decimal; }
    std::string groupingSeparator() const override { return m_decimal == "," ? "." : ","; }
    std::string shortDate(const config::CalendarTime& t) const override
    {
        return two(t.day) + m_dateSeparator + two(t.month) + m_dateSeparator + std::to_string(t.year);
    }
    std::string longTime(const config::CalendarTime& t) const override
    {
        return two(t.hour) + m_timeSeparator + two(t.minute) + m_timeSeparator + two(t.second);
    }

private:
    static std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
    std::string m_decimal;
    std::string m_dateSeparator;
    std::string m_timeSeparator;
};

} // namespace testing_support
