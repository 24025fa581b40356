#include "DesktopWorld.h"

#include "LanguageFiles.h"

#include "app/frm_Hauptfenster.h"
#include "app/frm_Start.h"
#include "config/SettingKeys.h"
#include "source/MemoryApplication.h"
#include "support/ModelBuilder.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

namespace ui_testing {

bool TestConnector::findMainWindow(std::string_view)
{
    ++windowLookups;
    return running;
}

std::shared_ptr<source::Application> TestConnector::requestObject(std::string_view)
{
    // Each request reaches the application as it is at that moment.
    return std::make_shared<source::MemoryApplication>(application.value_or(source::ApplicationRecord{}));
}

DesktopWorld::DesktopWorld(std::string argumentText)
    : codePage(config::codePageByNumber(1252))
    , argumentText(std::move(argumentText))
{
    writeLanguageFile(programDirectory / "resource.dll", "L");
    writeLanguageFile(programDirectory / "German.dll", "G");
    writeLanguageFile(programDirectory / "English.dll", "E");
    settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir,
                          output.path().string());
    connector.application = testing_support::exampleApplication();
}

DesktopWorld::~DesktopWorld()
{
    stop();
}

bool DesktopWorld::start()
{
    m_environment = std::make_unique<app::DesktopEnvironment>(app::DesktopEnvironment{
        programDirectory.path(), argumentText, *codePage, regional, files, settings, connector, clock});
    program = std::make_unique<app::DesktopProgram>(*m_environment, [this](int exitCode) { endRequests.push_back(exitCode); });
    return program->start();
}

void DesktopWorld::fireStartUpTimer()
{
    auto* timer = program->startUpWindow()->findChild<QTimer*>(QStringLiteral("Timer1"));
    timer->start(0);
    QTRY_VERIFY(program->mainWindow() != nullptr);
}

app::frm_Hauptfenster* DesktopWorld::startToMainWindow()
{
    if (!start())
        return nullptr;
    fireStartUpTimer();
    return program->mainWindow();
}

void DesktopWorld::stop()
{
    program.reset();
    settle();
}

app::frm_Hauptfenster* DesktopWorld::mainWindow() const
{
    return program ? program->mainWindow() : nullptr;
}

std::string DesktopWorld::setting(std::string_view key) const
{
    return settings.ReadSetting(config::setting::kApplication, config::setting::kSection, key, "<absent>");
}

std::string DesktopWorld::outputFile(const std::string& name) const
{
    return testing_support::readBytes(output / name);
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace ui_testing
