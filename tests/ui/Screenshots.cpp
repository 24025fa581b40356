// desktop_screenshots OUTPUT_DIR [SUFFIX]: opens each window of the desktop program with the shipped
// English texts and the example part program, and saves a picture of it as OUTPUT_DIR/<window><SUFFIX>.png.
// Run it on a real display or under Xvfb; it is a tool for the documentation, not a test.
#include "support/DesktopWorld.h"
#include "support/ModalBoxes.h"

#include "app/frm_Hauptfenster.h"
#include "app/frm_Start.h"
#include "config/SettingKeys.h"
#include "ui/frm_About.h"
#include "ui/frm_Konfiguration.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <cstdio>

namespace {

bool save(QWidget* window, const QString& directory, const QString& name, const QString& suffix)
{
    QTest::qWait(200); // let the window manager, if any, and the first paint finish
    const QString file = directory + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    const bool saved = window && window->grab().save(file);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(file));
    return saved;
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
    const std::filesystem::path languages = std::filesystem::path(NORDA_SOURCE_DIR) / "lang";

    ui_testing::DesktopWorld world;
    for (const char* language : {"German", "English", "Czech", "Spanish", "French", "Portuguese", "Italian"}) {
        std::filesystem::copy_file(languages / (std::string(language) + ".dll"),
                                   world.programDirectory / (std::string(language) + ".dll"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::copy_file(languages / "English.dll", world.programDirectory / "resource.dll",
                               std::filesystem::copy_options::overwrite_existing);
    const std::filesystem::path measurements = world.output / "Messdaten";
    for (const char* line : {"Archiv", "Linie 1", "Linie 2", "Linie 3"})
        std::filesystem::create_directories(measurements / line);
    world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir,
                                measurements.string());
    world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kKommentare, "1");

    bool saved = world.start();
    saved = save(world.program->startUpWindow(), directory, QStringLiteral("start-up"), suffix) && saved;
    world.fireStartUpTimer();
    app::frm_Hauptfenster* window = world.mainWindow();
    saved = save(window, directory, QStringLiteral("main-window"), suffix) && saved;

    // A run in progress, as the walk shows it.
    auto* label = window->findChild<QLabel*>(QStringLiteral("Lbl_Fortschritt"));
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    label->setText(QString::fromStdString(world.program->texts().line(11)));
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
    ui_testing::settle();

    window->findChild<QAction*>(QStringLiteral("menKonfiguration"))->trigger();
    ui_testing::settle();
    ui::frm_Konfiguration* dialog = world.program->settingsDialog();
    dialog->findChild<QCheckBox*>(QStringLiteral("chkNordaPos"))->click();
    saved = save(dialog, directory, QStringLiteral("settings-dialog"), suffix) && saved;
    return saved ? 0 : 1;
}
