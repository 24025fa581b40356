// desktop_screenshots OUTPUT_DIR [SUFFIX]: opens each window of the desktop program with the shipped
// English texts and the example part program, and saves a picture of it as OUTPUT_DIR/<window><SUFFIX>.png.
// Run it on a real display or under Xvfb; the pictures are those of docs/screenshots.
#include "platform/Clock.h"
#include "desktop/DesktopEnvironment.h"
#include "desktop/DesktopProgram.h"
#include "run/SnapshotConnector.h"
#include "platform/CodePage.h"
#include "config/LanguageTexts.h"
#include "config/MemorySettingsStore.h"
#include "platform/RegionalSettings.h"
#include "config/SettingKeys.h"
#include "config/mdl_Sprache_Laden.h"
#include "files/FileLock.h"
#include "files/LocalFileSystem.h"
#include "desktop/frm_About.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

bool save(QWidget* window, const QString& directory, const QString& name, const QString& suffix)
{
    QTest::qWait(200); // let the window manager, if any, and the first paint finish
    const QString file = directory + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    const bool saved = window && window->grab().save(file);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(file));
    return saved;
}

// Lets a window that was closed or unloaded by a handler go.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program's visible window of that object name, or nullptr.
QWidget* openWindow(const char* objectName)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String(objectName) && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_screenshots OUTPUT_DIR [SUFFIX]\n");
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    // A program directory with the shipped language files, English installed, and an output
    // directory with a few measurement folders to show in the settings dialog.
    const QTemporaryDir work;
    const std::filesystem::path root = work.path().toStdString();
    const std::filesystem::path languages = std::filesystem::path(NORDA_SOURCE_DIR) / "lang";
    std::filesystem::create_directories(root / "program");
    for (const auto& file : std::filesystem::directory_iterator(languages)) {
        if (file.path().extension() == ".dll")
            std::filesystem::copy_file(file.path(), root / "program" / file.path().filename());
    }
    std::filesystem::copy_file(languages / "English.dll", root / "program" / "resource.dll");
    const std::filesystem::path measurements = root / "Messdaten";
    for (const char* line : {"Archiv", "Linie 1", "Linie 2", "Linie 3"})
        std::filesystem::create_directories(measurements / line);

    config::MemorySettingsStore settings;
    settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, measurements.string());
    settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kKommentare, "1");
    const auto codePage = config::codePageByNumber(1252);
    const auto regional = config::systemRegionalSettings();
    kfield::LocalFileSystem files;
    kfield::SystemFileLocks locks;
    app::SnapshotConnector connector(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / "pump-housing.json");
    const app::SystemClock clock;
    app::DesktopProgram program({root / "program", "", *codePage, *regional, files, locks, settings, connector, clock}, [](int) {});

    bool saved = program.start();
    QWidget* startUp = openWindow("frm_Start");
    saved = save(startUp, directory, QStringLiteral("start-up"), suffix) && saved;
    startUp->findChild<QTimer*>(QStringLiteral("Timer1"))->start(0);
    if (!QTest::qWaitFor([] { return openWindow("frm_Hauptfenster") != nullptr; }))
        return 1;
    QWidget* window = openWindow("frm_Hauptfenster");
    saved = save(window, directory, QStringLiteral("main-window"), suffix) && saved;

    // A run in progress, as the walk shows it.
    auto* label = window->findChild<QLabel*>(QStringLiteral("Lbl_Fortschritt"));
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    config::LanguageTexts texts;
    config::LoadResourceTexts(texts, root / "program", *codePage);
    label->setText(QString::fromStdString(texts.line(11)));
    label->show();
    bar->setRange(0, 120);
    bar->setValue(74);
    bar->show();
    saved = save(window, directory, QStringLiteral("main-window-running"), suffix) && saved;
    label->hide();
    bar->hide();

    window->findChild<QAction*>(QStringLiteral("menInfo"))->trigger();
    saved = save(window->findChild<ui::frm_About*>(), directory, QStringLiteral("about"), suffix) && saved;
    window->findChild<ui::frm_About*>()->close();
    settle();

    window->findChild<QAction*>(QStringLiteral("menKonfiguration"))->trigger();
    settle();
    QWidget* dialog = openWindow("frm_Konfiguration");
    dialog->findChild<QCheckBox*>(QStringLiteral("chkNordaPos"))->click();
    saved = save(dialog, directory, QStringLiteral("settings-dialog"), suffix) && saved;
    return saved ? 0 : 1;
}
