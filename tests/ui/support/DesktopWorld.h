#pragma once

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "desktop/DesktopEnvironment.h"
#include "desktop/DesktopProgram.h"
#include "platform/CodePage.h"
#include "config/QtSettingsStore.h"
#include "files/FileLock.h"
#include "files/LocalFileSystem.h"
#include "support/Doubles.h"
#include "support/Files.h"
#include "support/ModalBoxes.h"
#include "support/RunFixture.h"

#include <QPointer>
#include <QStringList>

class QJsonArray;

namespace ui_testing {

// Everything the desktop program meets in a test: a program directory with language files whose
// lines name their own number (resource.dll "L", German.dll "G", English.dll "E"), an empty output
// directory named by "DIR", an INI settings store of its own, the example part program open in the
// measuring application, 05.12.2026 14:03:12, a point as decimal separator and windows-1252. The
// steps of a flow act on the program or say what must hold (see run), and the message boxes are
// answered as they come.
class DesktopWorld {
public:
    explicit DesktopWorld(std::string argumentText);
    ~DesktopWorld();

    // One step: its name, then its arguments. Failures are reported to Qt Test.
    void run(const QJsonArray& step);

private:
    testing_support::TemporaryDirectory m_programDirectory;
    testing_support::TemporaryDirectory m_output;
    testing_support::TemporaryDirectory m_settingsDirectory;
    config::QtSettingsStore m_settings{m_settingsDirectory / "store"};
    testing_support::MemoryConnector m_connector; // counts the connections: each load and each run connects
    app::FixedClock m_clock{config::CalendarTime{2026, 12, 5, 14, 3, 12}};
    testing_support::FixedRegionalSettings m_regional{"."};
    std::unique_ptr<config::CodePage> m_codePage = config::codePageByNumber(1252);
    kfield::LocalFileSystem m_files;
    kfield::SystemFileLocks m_locks;
    std::string m_argumentText;
    QStringList m_endRequests; // exit codes, in order
    app::DesktopEnvironment m_environment{
        m_programDirectory.path(), m_argumentText, *m_codePage, m_regional, m_files, m_locks, m_settings, m_connector, m_clock};
    std::unique_ptr<app::DesktopProgram> m_program;
    QPointer<QWidget> m_firstMainWindow;
    ModalBoxes m_boxes;
};

} // namespace ui_testing
