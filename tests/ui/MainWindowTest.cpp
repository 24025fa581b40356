// The main window: its captions and menus, the command line, the start command, the ways the
// program ends, and the windows it leads to.
#include "support/DesktopWorld.h"
#include "support/ModalBoxes.h"

#include "app/frm_Hauptfenster.h"
#include "config/SettingKeys.h"
#include "support/Files.h"
#include "support/ModelBuilder.h"
#include "ui/frm_About.h"
#include "ui/frm_Konfiguration.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using ui_testing::DesktopWorld;
using ui_testing::ModalBoxes;
using ui_testing::settle;

namespace {

const std::string kDfd = "PUMP HOUSING A1.dfd";
const std::string kDfx = "PUMP HOUSING A1.dfx";
const std::string kDfq = "PUMP HOUSING A1.dfq";

template <class T>
T* child(QWidget* window, const char* name)
{
    T* found = window ? window->findChild<T*>(QString::fromUtf8(name)) : nullptr;
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

QStringList actionNames(const QWidget* menu)
{
    QStringList names;
    for (const QAction* action : menu->actions())
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

int lineCount(const std::string& text)
{
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

ui::frm_About* aboutWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* about = qobject_cast<ui::frm_About*>(window); about && about->isVisible())
            return about;
    }
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    void captionsComeFromTheirTextLines()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
        QCOMPARE(child<QLabel>(window, "Lbl_Prog_Name")->text(), QStringLiteral("L7"));
        QCOMPARE(child<QPushButton>(window, "cmd_Start_Konvertierung")->text(), QStringLiteral("L8"));
        QCOMPARE(child<QPushButton>(window, "cmd_Ende")->text(), QStringLiteral("L9"));
        QCOMPARE(child<QLabel>(window, "Lbl_VELTRUM_NAME")->text(), QStringLiteral("PUMP1"));
        QCOMPARE(child<QLabel>(window, "Lbl_Fortschritt")->text(), QString());
        QVERIFY(!child<QLabel>(window, "Lbl_Fortschritt")->isVisible());
        QVERIFY(!child<QProgressBar>(window, "ProgressBar1")->isVisible());
        QVERIFY(window->isVisible());
        QVERIFY(!window->windowIcon().isNull());

        const std::pair<const char*, const char*> menus[] = {
            {"menDatei", "L13"}, {"menEinstellungen", "L16"}, {"menLanguage", "L17"}, {"menHilfe", "L26"}};
        for (const auto& [name, caption] : menus)
            QCOMPARE(child<QMenu>(window, name)->title(), QString::fromLatin1(caption));
        const std::pair<const char*, const char*> entries[] = {
            {"menNorda", "L14"},       {"menEnde", "L15"},    {"menKonfiguration", "L25"}, {"menGerman", "L18"},
            {"menEnglish", "L19"},     {"menTschechisch", "L20"}, {"menSpanisch", "L21"}, {"menFrench", "L24"},
            {"menPort", "L23"},        {"menItalien", "L22"}, {"menInfo", "L28"}};
        for (const auto& [name, caption] : entries)
            QCOMPARE(child<QAction>(window, name)->text(), QString::fromLatin1(caption));
    }

    void menusAreInTheirOrder()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(actionNames(window->menuBar()), (QStringList{"menDatei", "menEinstellungen", "menHilfe"}));
        QCOMPARE(actionNames(child<QMenu>(window, "menDatei")), (QStringList{"menNorda", "Trennlinie1", "menEnde"}));
        QCOMPARE(actionNames(child<QMenu>(window, "menEinstellungen")),
                 (QStringList{"menKonfiguration", "Trennlinie3", "menLanguage"}));
        QCOMPARE(actionNames(child<QMenu>(window, "menLanguage")),
                 (QStringList{"menGerman", "menEnglish", "menTschechisch", "menSpanisch", "menFrench", "menPort", "menItalien"}));
        QCOMPARE(actionNames(child<QMenu>(window, "menHilfe")), QStringList{"menInfo"});
        QVERIFY(child<QAction>(window, "Trennlinie1")->isSeparator());
        QVERIFY(child<QAction>(window, "Trennlinie3")->isSeparator());
    }

    void withoutSwitchTheWindowWaits()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(world.connector.windowLookups, 1); // the load connects, nothing converts
        QCOMPARE(world.outputListing(), std::string());

        QTest::mouseClick(child<QPushButton>(window, "cmd_Start_Konvertierung"), Qt::LeftButton);
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QVERIFY(world.endRequests.empty());
        QVERIFY(window->isVisible());
        QVERIFY(!world.program->run().AutoStart);
        QVERIFY(!world.program->run().EndAfterRun);
    }

    void theWindowWritesWhatTheCommandLineConverterWrites()
    {
        DesktopWorld world;
        std::filesystem::copy_file(std::filesystem::path(NORDA_SOURCE_DIR) / "lang" / "English.dll",
                                   world.programDirectory / "resource.dll", std::filesystem::copy_options::overwrite_existing);
        world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kKommentare, "1");
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        const std::filesystem::path golden = testing_support::testDataDir() / "golden";
        QVERIFY(world.outputFile(kDfd) == testing_support::readBytes(golden / "cli" / "pump-housing.dfd"));
        QVERIFY(world.outputFile(kDfx) == testing_support::readBytes(golden / "example-values-point.dfx"));

        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        QCOMPARE(lineCount(world.outputFile(kDfx)), 2);
    }

    void menNordaRunsTheStartCommand()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        child<QAction>(window, "menNorda")->trigger();
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QCOMPARE(world.connector.windowLookups, 2);
    }

    void slashAConvertsOnceAndEnds()
    {
        DesktopWorld world("/a");
        QVERIFY(world.startToMainWindow());
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QCOMPARE(lineCount(world.outputFile(kDfx)), 1);
        QCOMPARE(world.endRequests, std::vector<int>{0});
        QCOMPARE(world.connector.windowLookups, 2); // the load, then the run
    }

    void capitalSlashAToo()
    {
        DesktopWorld world("/A");
        QVERIFY(world.startToMainWindow());
        QCOMPARE(world.endRequests, std::vector<int>{0});
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
    }

    void slashSEndsAfterTheFirstRunTheOperatorStarts_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("/s") << "/s";
        QTest::newRow("/S") << "/S";
    }

    void slashSEndsAfterTheFirstRunTheOperatorStarts()
    {
        QFETCH(QString, argument);
        DesktopWorld world(argument.toStdString());
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(world.outputListing(), std::string()); // no run of its own
        QVERIFY(world.endRequests.empty());
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }

    void slashSStaysWhenTheRunFindsNoApplication()
    {
        DesktopWorld world("/s");
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        world.connector.running = false;
        ModalBoxes boxes;
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        QCOMPARE(boxes.texts(), QStringList{"L46"});
        QVERIFY(world.endRequests.empty());
    }

    void anythingElseIsNoSwitch_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("two switches") << "/a /s";
        QTest::newRow("the same switch twice") << "/a /a";
        QTest::newRow("minus sign") << "-a";
        QTest::newRow("minus sign s") << "-s";
        QTest::newRow("trailing blank") << "/a ";
        QTest::newRow("longer word") << "/auto";
        QTest::newRow("no slash") << "a";
        QTest::newRow("other letter") << "/x";
    }

    void anythingElseIsNoSwitch()
    {
        QFETCH(QString, argument);
        DesktopWorld world(argument.toStdString());
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(world.outputListing(), std::string());
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QVERIFY(world.endRequests.empty());
    }

    void slashAWithoutApplicationTellsTwiceAndStaysOpen()
    {
        DesktopWorld world("/a");
        world.connector.running = false;
        ModalBoxes boxes;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(boxes.texts(), (QStringList{"L46", "L46"}));
        for (const auto& box : boxes.seen()) {
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QVERIFY(box.isApplicationModal);
            QCOMPARE(box.title, QStringLiteral("L1"));
        }
        QVERIFY(world.endRequests.empty());
        QVERIFY(window->isVisible());
        QCOMPARE(child<QLabel>(window, "Lbl_VELTRUM_NAME")->text(), QString());
        QCOMPARE(world.outputListing(), std::string());
    }

    void noPartProgramIsToldWithoutIcon()
    {
        DesktopWorld world;
        world.connector.application = source::ApplicationRecord{};
        ModalBoxes boxes;
        QVERIFY(world.startToMainWindow());
        QCOMPARE(boxes.texts(), QStringList{"L47"});
        QCOMPARE(boxes.seen().front().icon, QMessageBox::NoIcon);
    }

    void aFailedRunIsReportedAndDoesNotEndTheProgram()
    {
        DesktopWorld world("/a");
        world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir,
                                    (world.output / "missing").string());
        ModalBoxes boxes;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("missing")), qPrintable(boxes.texts().front()));
        QVERIFY(world.endRequests.empty());
        QVERIFY(!child<QProgressBar>(window, "ProgressBar1")->isVisible());
    }

    void theProgressDisplayShowsDuringTheRunOnly()
    {
        DesktopWorld world;
        // A comment longer than 255 characters stops the description walk with a message: a moment
        // to look at the window in the middle of a run.
        world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kKommentare, "1");
        world.connector.application = testing_support::applicationWith({
            testing_support::commentCommand(std::string(300, 'c')),
            testing_support::singleDimension(1106, "DIM1", {25, 0.1, 0.05}, 25.03, "CIR1"),
            testing_support::plainCommand(100),
        });
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        auto* label = child<QLabel>(window, "Lbl_Fortschritt");
        auto* bar = child<QProgressBar>(window, "ProgressBar1");
        QString captionDuringRun;
        bool visibleDuringRun = false;
        int maximumDuringRun = 0;
        ModalBoxes boxes([&](const ModalBoxes::Box&) {
            captionDuringRun = label->text();
            visibleDuringRun = label->isVisible() && bar->isVisible();
            maximumDuringRun = bar->maximum();
        });
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        QCOMPARE(boxes.texts(), QStringList{"L30"});
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Information);
        QCOMPARE(captionDuringRun, QStringLiteral("L11"));
        QVERIFY(visibleDuringRun);
        QCOMPARE(maximumDuringRun, 3);
        QVERIFY(!label->isVisible());
        QVERIFY(!bar->isVisible());
        QCOMPARE(label->text(), QString());
        QCOMPARE(bar->value(), 3);
    }

    void aLongRunPaintsTheBarAtMostEvery30ms()
    {
        const int count = qEnvironmentVariableIntValue("NORDA_LONG_RUN_COMMANDS") > 0
                              ? qEnvironmentVariableIntValue("NORDA_LONG_RUN_COMMANDS")
                              : 20'000;
        std::vector<source::CommandRecord> commands;
        for (int i = 0; i < count; ++i)
            commands.push_back(testing_support::singleDimension(1106, "D" + std::to_string(i), {25, 0.1, 0.05}, 25.01, "CIR1"));
        DesktopWorld world;
        world.connector.application = testing_support::applicationWith(std::move(commands));
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* bar = child<QProgressBar>(window, "ProgressBar1");
        struct PaintCounter final : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += event->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter;
        bar->installEventFilter(&counter);
        QElapsedTimer clock;
        clock.start();
        child<QPushButton>(window, "cmd_Start_Konvertierung")->click();
        const qint64 elapsed = clock.elapsed();
        qInfo("%d commands: %lld ms for the full write, %d paints of the bar", count, elapsed, counter.paints);
        QCOMPARE(lineCount(world.outputFile(kDfx)), 1);
        // Two walks, each shown and finished at once, and between those one paint per 30 ms at most.
        QVERIFY2(counter.paints <= elapsed / 30 + 6, qPrintable(QString::number(counter.paints)));
    }

    void closeBoxEndsTheProgram()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        window->close();
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }

    void cmdEndeAndMenEndeEndTheProgram()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        child<QPushButton>(window, "cmd_Ende")->click();
        QCOMPARE(world.endRequests, std::vector<int>{0});
        child<QAction>(window, "menEnde")->trigger();
        QCOMPARE(world.endRequests, (std::vector<int>{0, 0}));
        QCOMPARE(world.outputListing(), std::string());
    }

    void theSettingsDialogReplacesTheMainWindow()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QPointer<QWidget> first(window);
        child<QAction>(window, "menKonfiguration")->trigger();
        settle();
        QVERIFY(world.endRequests.empty());
        QVERIFY(first.isNull()); // unloaded
        QVERIFY(world.program->run().SwitchingWindow);
        ui::frm_Konfiguration* dialog = world.program->settingsDialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("L74"));

        child<QPushButton>(dialog, "CancelButton")->click();
        settle();
        QVERIFY(world.mainWindow() && world.mainWindow()->isVisible());
        QVERIFY(!world.program->run().SwitchingWindow);
        QCOMPARE(world.connector.windowLookups, 2); // the reload connected again
        QVERIFY(world.endRequests.empty());

        world.mainWindow()->close(); // and now the close box ends the program again
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }

    void theSettingsDialogsCloseBoxLoadsTheMainWindowToo()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        child<QAction>(world.mainWindow(), "menKonfiguration")->trigger();
        settle();
        world.program->settingsDialog()->close();
        settle();
        QVERIFY(world.mainWindow() && world.mainWindow()->isVisible());
        QVERIFY(world.endRequests.empty());
    }

    void theRunStateSurvivesTheReload()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        world.connector.running = false;
        child<QAction>(world.mainWindow(), "menKonfiguration")->trigger();
        settle();
        ModalBoxes boxes;
        child<QPushButton>(world.program->settingsDialog(), "CancelButton")->click();
        settle();
        QCOMPARE(boxes.texts(), QStringList{"L46"});
        // The name of the part program reached before stays, as the run state does.
        QCOMPARE(child<QLabel>(world.mainWindow(), "Lbl_VELTRUM_NAME")->text(), QStringLiteral("PUMP1"));
    }

    void okInTheSettingsDialogChangesTheNextRun()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        child<QAction>(world.mainWindow(), "menKonfiguration")->trigger();
        settle();
        ui::frm_Konfiguration* dialog = world.program->settingsDialog();
        child<QCheckBox>(dialog, "Chk_DFQ")->click();
        child<QPushButton>(dialog, "OKButton")->click();
        settle();
        QCOMPARE(world.settings.size(), std::size_t(11));
        QCOMPARE(world.setting(config::setting::kDfq), std::string("1"));
        QCOMPARE(world.setting(config::setting::kDir), world.output.path().string());

        child<QPushButton>(world.mainWindow(), "cmd_Start_Konvertierung")->click();
        QCOMPARE(world.outputListing(), kDfq);
    }

    void cancelLeavesTheStoredSettings()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        child<QAction>(world.mainWindow(), "menKonfiguration")->trigger();
        settle();
        child<QCheckBox>(world.program->settingsDialog(), "Chk_DFQ")->click();
        child<QPushButton>(world.program->settingsDialog(), "CancelButton")->click();
        settle();
        QCOMPARE(world.settings.size(), std::size_t(1)); // only the "DIR" the test put there
        child<QPushButton>(world.mainWindow(), "cmd_Start_Konvertierung")->click();
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
    }

    void slashARunsAgainWhenTheSettingsDialogCloses()
    {
        DesktopWorld world("/a");
        world.connector.running = false;
        {
            ModalBoxes boxes;
            QVERIFY(world.startToMainWindow());
            QCOMPARE(boxes.texts(), (QStringList{"L46", "L46"}));
        }
        world.connector.running = true;
        child<QAction>(world.mainWindow(), "menKonfiguration")->trigger();
        settle();
        child<QPushButton>(world.program->settingsDialog(), "CancelButton")->click();
        QCOMPARE(world.outputListing(), kDfd + " " + kDfx);
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }

    void aboutHidesAndShowsTheUnchangedMainWindow()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        child<QAction>(window, "menInfo")->trigger();
        QVERIFY(!window->isVisible());
        ui::frm_About* about = aboutWindow();
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("L67"));

        // Nothing that a load would read again is looked at when the About window closes.
        world.settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDfq, "1");
        world.connector.running = false;
        child<QPushButton>(about, "cmdOK")->click();
        settle();
        QVERIFY(window->isVisible());
        QCOMPARE(world.mainWindow(), window);
        QCOMPARE(world.connector.windowLookups, 1);
        QCOMPARE(world.program->run().SettingDFQ, std::string("0"));
        QCOMPARE(child<QLabel>(window, "Lbl_VELTRUM_NAME")->text(), QStringLiteral("PUMP1"));
        QVERIFY(world.endRequests.empty());
        QCOMPARE(aboutWindow(), nullptr);
    }

    void aboutsCloseBoxDoesTheSame()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        child<QAction>(window, "menInfo")->trigger();
        QVERIFY(aboutWindow());
        aboutWindow()->close();
        settle();
        QVERIFY(window->isVisible());
        QCOMPARE(aboutWindow(), nullptr);
        QVERIFY(world.endRequests.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
