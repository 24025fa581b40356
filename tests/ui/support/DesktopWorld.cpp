#include "DesktopWorld.h"

#include "LanguageFiles.h"

#include "desktop/frm_Hauptfenster.h"
#include "config/SettingKeys.h"
#include "source/MemoryApplication.h"
#include "support/ModelBuilder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>

namespace ui_testing {

DesktopWorld::DesktopWorld(std::string argumentText)
    : codePage(config::codePageByNumber(1252))
    , argumentText(std::move(argumentText))
{
    writeLanguageFile(programDirectory / "resource.dll", "L");
    writeLanguageFile(programDirectory / "German.dll", "G");
    writeLanguageFile(programDirectory / "English.dll", "E");
    store(config::setting::kDir, output.path().string());
    connector.application = std::make_shared<source::MemoryApplication>(testing_support::exampleApplication());
}

DesktopWorld::~DesktopWorld()
{
    stop();
}

bool DesktopWorld::start()
{
    m_environment = std::make_unique<app::DesktopEnvironment>(app::DesktopEnvironment{
        programDirectory.path(), argumentText, *codePage, regional, files, locks, settings, connector, clock});
    program = std::make_unique<app::DesktopProgram>(*m_environment, [this](int exitCode) { endRequests.push_back(exitCode); });
    return program->start();
}

void DesktopWorld::fireStartUpTimer()
{
    window("frm_Start")->findChild<QTimer*>(QStringLiteral("Timer1"))->start(0);
    QTRY_VERIFY(mainWindow() != nullptr);
}

app::frm_Hauptfenster* DesktopWorld::startToMainWindow()
{
    if (!start())
        return nullptr;
    fireStartUpTimer();
    return mainWindow();
}

void DesktopWorld::stop()
{
    program.reset();
    settle();
}

QWidget* DesktopWorld::window(const char* objectName) const
{
    if (!program)
        return nullptr;
    QWidget* found = nullptr;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        if (candidate->objectName() == QLatin1String(objectName) && (!found || (candidate->isVisible() && !found->isVisible())))
            found = candidate;
    }
    return found;
}

app::frm_Hauptfenster* DesktopWorld::mainWindow() const
{
    return qobject_cast<app::frm_Hauptfenster*>(window("frm_Hauptfenster"));
}

void DesktopWorld::store(std::string_view key, std::string_view value)
{
    settings.WriteSetting(config::setting::kApplication, config::setting::kSection, key, value);
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void press(QWidget* window, const char* name)
{
    const QString objectName = QString::fromUtf8(name);
    if (auto* button = window->findChild<QAbstractButton*>(objectName))
        button->click();
    else if (auto* action = window->findChild<QAction*>(objectName))
        action->trigger();
    else
        qWarning("nothing to press named %s", name);
}

} // namespace ui_testing
