#pragma once

#include <memory>

#include "MeasurementSource.h"
#include "ModelRecords.h"
#include "ReadLog.h"

namespace source {

// The measuring application held in memory: serves an ApplicationRecord through the MeasurementSource
// interfaces, counts every call in its ReadLog and fails the reads that the records or the log name.
// It stands in for the real application in tests, benchmarks and the simulated application.
class MemoryApplication final : public Application {
public:
    explicit MemoryApplication(ApplicationRecord record);
    // Serves a record that others hold too, without a copy of it: the write of UpdatesEnabled changes
    // it for all of them.
    explicit MemoryApplication(std::shared_ptr<ApplicationRecord> record);

    std::shared_ptr<source::PartProgram> ActivePartProgram() override;
    bool UpdatesEnabled() override;
    void SetUpdatesEnabled(bool enabled) override;

    ReadLog& log();
    const ApplicationRecord& record() const;
    // How often UpdatesEnabled was written, for checks that a walk put it back.
    int updatesEnabledWrites() const;

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace source
