// The main window: the start, the start command, the command line, the runs that stop early, the
// ways the program ends, and the windows it leads to.
#include "support/DesktopWorld.h"
#include "support/ModalBoxes.h"

#include "desktop/ProgressWidgets.h"
#include "desktop/frm_Hauptfenster.h"
#include "config/SettingKeys.h"
#include "support/ModelBuilder.h"
#include "desktop/frm_About.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace std::chrono_literals;
using namespace ui_testing;
using testing_support::readBytes;
namespace key = config::setting;

namespace {

const std::string kDfdAndDfx = "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx";

QLabel* label(QWidget* window, const char* name)
{
    return window->findChild<QLabel*>(QString::fromLatin1(name));
}

QProgressBar* bar(QWidget* window)
{
    return window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
}

// The measurements in the values file.
long valueLines(const DesktopWorld& world)
{
    const std::string values = readBytes(world.output / "PUMP HOUSING A1.dfx");
    return std::count(values.begin(), values.end(), '\n');
}

// The window in front: the settings dialog or the About window while one is open, else the main window.
QWidget* frontWindow(const DesktopWorld& world)
{
    if (QWidget* dialog = world.window("frm_Konfiguration"))
        return dialog;
    if (auto* about = world.mainWindow()->findChild<ui::frm_About*>(); about && about->isVisible())
        return about;
    return world.mainWindow();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    void withoutResourceFileNoWindowOpens()
    {
        DesktopWorld world;
        std::filesystem::remove(world.programDirectory / "resource.dll");
        ModalBoxes boxes;
        QVERIFY(!world.start());
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("resource.dll")), qPrintable(boxes.texts().front()));
        QCOMPARE(world.window("frm_Start"), nullptr);
        QCOMPARE(world.connector.requests, 0);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!window->isVisible());
    }

    void theStartCommandWritesWhatTheCommandLineConverterWrites()
    {
        DesktopWorld world;
        std::filesystem::copy_file(std::filesystem::path(NORDA_SOURCE_DIR) / "lang" / "English.dll",
                                   world.programDirectory / "resource.dll", std::filesystem::copy_options::overwrite_existing);
        world.store(key::kKommentare, "1");
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(world.connector.requests, 1); // the load connects, nothing converts
        QCOMPARE(world.output.listing(), std::string());

        press(window, "cmd_Start_Konvertierung");
        const std::filesystem::path golden = testing_support::testDataDir() / "golden";
        QVERIFY(readBytes(world.output / "PUMP HOUSING A1.dfd") == readBytes(golden / "cli" / "pump-housing.dfd"));
        QVERIFY(readBytes(world.output / "PUMP HOUSING A1.dfx") == readBytes(golden / "example-values-point.dfx"));

        press(window, "menNorda");
        QCOMPARE(valueLines(world), 2);
        QCOMPARE(world.connector.requests, 3);
        QVERIFY(world.endRequests.empty());
    }

    void slashAConvertsOnceWithoutWaitingAndEnds()
    {
        DesktopWorld world("/a");
        QVERIFY(world.start());
        QTRY_VERIFY_WITH_TIMEOUT(!world.endRequests.empty(), 2000); // no 3 s start-up window
        QCOMPARE(world.endRequests, std::vector<int>{0});
        QCOMPARE(world.output.listing(), kDfdAndDfx);
        QCOMPARE(valueLines(world), 1);
        QCOMPARE(world.connector.requests, 2); // the load, then the run
    }

    void slashSEndsAfterTheFirstRunTheOperatorStarts()
    {
        DesktopWorld world("/s");
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(world.output.listing(), std::string()); // no run of its own
        QVERIFY(world.endRequests.empty());
        press(window, "cmd_Start_Konvertierung");
        QCOMPARE(world.output.listing(), kDfdAndDfx);
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }

    // Without the application, the load and the automatic run each tell, behind the start-up window
    // that is gone by then, and the program stays. A reload runs the whole load again: with "/a" it
    // converts, and ends the program.
    void slashAWithoutApplicationTellsTwiceAndConvertsAtEachReload()
    {
        DesktopWorld world("/a");
        world.connector.running = false;
        QVERIFY(world.start());
        const QPointer<QWidget> startUp(world.window("frm_Start"));
        bool startUpShown = false;
        ModalBoxes boxes([&](const ModalBoxes::Box&) { startUpShown = startUpShown || (startUp && startUp->isVisible()); });
        world.fireStartUpTimer();
        QVERIFY(!startUpShown);
        settle();
        QVERIFY(startUp.isNull());
        QCOMPARE(boxes.texts(), (QStringList{"L46", "L46"}));
        for (const ModalBoxes::Box& box : boxes.seen()) {
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QVERIFY(box.isApplicationModal);
            QCOMPARE(box.title, QStringLiteral("L1"));
        }
        QVERIFY(world.endRequests.empty());
        QVERIFY(world.mainWindow()->isVisible());
        QCOMPARE(label(world.mainWindow(), "Lbl_VELTRUM_NAME")->text(), QString());
        QVERIFY(!label(world.mainWindow(), "Lbl_Fortschritt")->isVisible() && !bar(world.mainWindow())->isVisible());

        world.connector.running = true;
        press(world.mainWindow(), "menKonfiguration");
        settle();
        press(world.window("frm_Konfiguration"), "CancelButton");
        QCOMPARE(world.endRequests, std::vector<int>{0});
        press(world.mainWindow(), "menGerman");
        QCOMPARE(world.endRequests, (std::vector<int>{0, 0}));
        QCOMPARE(valueLines(world), 2);
    }

    void theProgressDisplayShowsDuringTheRunOnly()
    {
        DesktopWorld world;
        // A comment longer than 255 characters stops the description walk with a message: a moment
        // to look at the window in the middle of a run.
        world.store(key::kKommentare, "1");
        world.connector.application = std::make_shared<source::MemoryApplication>(testing_support::applicationWith({
            testing_support::commentCommand(std::string(300, 'c')),
            testing_support::singleDimension(1106, "DIM1", {25, 0.1, 0.05}, 25.03, "CIR1"),
            testing_support::plainCommand(100),
        }));
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QLabel* caption = label(window, "Lbl_Fortschritt");
        QString captionDuringRun;
        bool visibleDuringRun = false;
        int maximumDuringRun = 0;
        ModalBoxes boxes([&](const ModalBoxes::Box&) {
            captionDuringRun = caption->text();
            visibleDuringRun = caption->isVisible() && bar(window)->isVisible();
            maximumDuringRun = bar(window)->maximum();
        });
        press(window, "cmd_Start_Konvertierung");
        QCOMPARE(boxes.texts(), QStringList{"L30"});
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Information);
        QCOMPARE(captionDuringRun, QStringLiteral("L11"));
        QVERIFY(visibleDuringRun);
        QCOMPARE(maximumDuringRun, 3);
        QVERIFY(!caption->isVisible() && !bar(window)->isVisible());
        QCOMPARE(caption->text(), QString());
    }

    void betweenPaintsTheBarWaitsButTheLastValueComesAtOnce()
    {
        QProgressBar bar;
        QLabel caption;
        app::ProgressWidgets progress(bar, caption, 1h);
        progress.show("L11", 100);
        for (int value = 1; value < 100; ++value)
            progress.setValue(value);
        QCOMPARE(bar.value(), 0);
        progress.setValue(100);
        QCOMPARE(bar.value(), 100);
        progress.show("L10", 0); // a part program without commands: an empty bar, not a busy indicator
        QVERIFY(bar.maximum() > bar.minimum());
    }

    // Each way out of a window: those of the main window end the program, those of the settings
    // dialog load the main window again, those of the About window show it as it was.
    void eachWayOutOfAWindow_data()
    {
        QTest::addColumn<QString>("opens");  // the menu entry that opens a window, if any
        QTest::addColumn<QString>("closes"); // the button or entry that closes it, or the close box
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("reloads");
        QTest::addColumn<QString>("dfq"); // the run's setting afterwards: stored "1", then a click in the dialog
        QTest::newRow("close box") << "" << "" << true << false << "";
        QTest::newRow("cmd_Ende") << "" << "cmd_Ende" << true << false << "";
        QTest::newRow("menEnde") << "" << "menEnde" << true << false << "";
        QTest::newRow("settings OK") << "menKonfiguration" << "OKButton" << false << true << "0";
        QTest::newRow("settings Cancel") << "menKonfiguration" << "CancelButton" << false << true << "1";
        QTest::newRow("settings close box") << "menKonfiguration" << "" << false << true << "1";
        QTest::newRow("About OK") << "menInfo" << "cmdOK" << false << false << "0";
        QTest::newRow("About close box") << "menInfo" << "" << false << false << "0";
    }

    void eachWayOutOfAWindow()
    {
        QFETCH(QString, opens);
        QFETCH(QString, closes);
        QFETCH(bool, ends);
        QFETCH(bool, reloads);
        QFETCH(QString, dfq);
        DesktopWorld world;
        QPointer<QWidget> first(world.startToMainWindow());
        QVERIFY(first);
        world.store(key::kDfq, "1"); // seen by a load only
        if (!opens.isEmpty()) {
            press(first, qPrintable(opens));
            settle();
            QVERIFY(frontWindow(world) != first);
            QVERIFY(frontWindow(world)->isVisible() && !frontWindow(world)->isModal());
            QVERIFY(!first || !first->isVisible()); // unloaded for the settings, hidden for About
            if (QWidget* dialog = world.window("frm_Konfiguration"))
                press(dialog, "Chk_DFQ");
        }
        world.connector.running = false;
        ModalBoxes boxes;
        QWidget* window = frontWindow(world);
        if (closes.isEmpty())
            window->close();
        else
            press(window, qPrintable(closes));
        settle();
        QCOMPARE(world.endRequests, ends ? std::vector<int>{0} : std::vector<int>{});
        QCOMPARE(boxes.texts(), reloads ? QStringList{"L46"} : QStringList{}); // the reload connects again
        if (ends)
            return;
        QVERIFY(world.mainWindow()->isVisible());
        QCOMPARE(world.mainWindow() == first, opens == "menInfo");
        QCOMPARE(world.settings.size(), std::size_t(closes == "OKButton" ? 11 : 2));
        // The name of the part program reached before stays, as the run state does.
        QCOMPARE(label(world.mainWindow(), "Lbl_VELTRUM_NAME")->text(), QStringLiteral("PUMP1"));
        // The run works with the settings of the last load.
        world.connector.running = true;
        press(world.mainWindow(), "cmd_Start_Konvertierung");
        QCOMPARE(world.output.listing(), dfq == "1" ? "PUMP HOUSING A1.dfq" : kDfdAndDfx);
        world.mainWindow()->close(); // and now the close box ends the program again
        QCOMPARE(world.endRequests, std::vector<int>{0});
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
