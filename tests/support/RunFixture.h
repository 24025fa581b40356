#pragma once

#include <memory>
#include <string>

#include "run/ApplicationConnector.h"
#include "platform/Clock.h"
#include "run/ConversionRun.h"
#include "files/FileLock.h"
#include "source/MemoryApplication.h"
#include "support/ValuesFixture.h"

namespace testing_support {

// A measuring application in memory that the run connects to; counts the requests.
class MemoryConnector final : public app::ApplicationConnector {
public:
    bool running = true;
    std::shared_ptr<source::MemoryApplication> application;
    int requests = 0;

    bool findMainWindow(std::string_view className) override
    {
        lastClassName = std::string(className);
        return running;
    }
    std::shared_ptr<source::Application> requestObject(std::string_view id) override
    {
        ++requests;
        lastProgrammaticId = std::string(id);
        return application;
    }
    std::string lastClassName;
    std::string lastProgrammaticId;
};

class RecordingNameDisplay final : public app::PartProgramNameDisplay {
public:
    void showPartProgramName(const std::string& name) override { shown.push_back(name); }
    std::vector<std::string> shown;
};

// A conversion run against an in-memory application at 05.12.2026 14:03:12, writing into the
// fixture's directory.
class RunFixture : public ConversionFixture {
protected:
    MemoryConnector connector;
    RecordingNameDisplay nameDisplay;
    app::FixedClock clock{config::CalendarTime{2026, 12, 5, 14, 3, 12}};
    kfield::SystemFileLocks locks;
    app::ConversionRun run;

    void SetUp() override { run.Settings.SettingDir = dir.path().string(); }

    app::RunServices runServices()
    {
        return {texts, regional, *codePage, files, locks, messages, progress, nameDisplay, connector, clock};
    }
    void attach(source::ApplicationRecord record) { connector.application = std::make_shared<source::MemoryApplication>(std::move(record)); }
    app::RunResult start() { return run.start(runServices()); }
};

} // namespace testing_support
