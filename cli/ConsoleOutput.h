#pragma once

#include <ostream>

#include "run/ConversionRun.h"
#include "kfield/OperatorMessages.h"
#include "kfield/ProgressDisplay.h"

namespace app {

// Messages for a run without windows: one line each on the given stream, never waiting for anyone.
class StreamMessages final : public kfield::OperatorMessages {
public:
    explicit StreamMessages(std::ostream& out) : m_out(out) {}
    void show(const std::string& text, kfield::MessageIcon icon) override;

private:
    std::ostream& m_out;
};

// A run without windows shows no progress and no part-program label.
class NoProgressDisplay final : public kfield::ProgressDisplay, public PartProgramNameDisplay {
public:
    void show(const std::string&, int) override {}
    void setValue(int) override {}
    void hide() override {}
    void showPartProgramName(const std::string&) override {}
};

} // namespace app
