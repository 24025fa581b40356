#pragma once

#include "kfield/ProgressDisplay.h"

namespace bench {

// The progress display of a run without windows, as norda-cli has it.
class SilentProgress final : public kfield::ProgressDisplay {
public:
    void show(const std::string&, int) override {}
    void setValue(int) override {}
    void hide() override {}
};

} // namespace bench
