// The start-up window: texts before captions, its captions, its time, and the hand-over.
#include "support/DesktopWorld.h"
#include "support/LanguageFiles.h"
#include "support/ModalBoxes.h"

#include "app/frm_Hauptfenster.h"
#include "app/frm_Start.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>

using ui_testing::DesktopWorld;
using ui_testing::ModalBoxes;
using ui_testing::settle;

namespace {

QString caption(QWidget* window, const char* name)
{
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

int visibleWindows()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += window->isVisible() ? 1 : 0;
    return count;
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    void showsItsCaptionsFromTheLoadedTexts()
    {
        DesktopWorld world;
        QVERIFY(world.start());
        app::frm_Start* window = world.program->startUpWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(caption(window, "lblProductName"), QStringLiteral("L1"));
        QCOMPARE(caption(window, "lblVersion"), QStringLiteral("L2 1.3.3"));
        QCOMPARE(caption(window, "lblCompany"), QStringLiteral("L3"));
        QCOMPARE(caption(window, "lblWarning"), QStringLiteral("L4"));
        QVERIFY(!window->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
        // Every other control sits in Frame1.
        auto* frame = window->findChild<QFrame*>(QStringLiteral("Frame1"));
        QVERIFY(frame);
        for (const char* name : {"Picture1", "lblProductName", "lblVersion", "lblCompany", "lblWarning"})
            QCOMPARE(window->findChild<QLabel*>(QString::fromLatin1(name))->parentWidget(), frame);
        QCOMPARE(world.program->mainWindow(), nullptr);
    }

    void withoutResourceFileNoWindowOpens()
    {
        DesktopWorld world;
        std::filesystem::remove(world.programDirectory / "resource.dll");
        ModalBoxes boxes;
        QVERIFY(!world.start());
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("resource.dll")), qPrintable(boxes.texts().front()));
        QCOMPARE(world.program->startUpWindow(), nullptr);
        QCOMPARE(world.program->mainWindow(), nullptr);
        QCOMPARE(visibleWindows(), 0);
        QCOMPARE(world.connector.windowLookups, 0);
    }

    void aShortResourceFileIsAFileError()
    {
        DesktopWorld world;
        ui_testing::writeLanguageFile(world.programDirectory / "resource.dll", "L", 164);
        ModalBoxes boxes;
        QVERIFY(!world.start());
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("164 lines")), qPrintable(boxes.texts().front()));
        QCOMPARE(visibleWindows(), 0);
    }

    void aLongerResourceFileLoadsItsFirst165Lines()
    {
        DesktopWorld world;
        ui_testing::writeLanguageFile(world.programDirectory / "resource.dll", "L", 170);
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
    }

    void itsTimerTicksOnceAfter3000ms()
    {
        DesktopWorld world;
        QVERIFY(world.start());
        auto* timer = world.program->startUpWindow()->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 3000);
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    }

    void slashAShortensItTo10ms_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("interval");
        QTest::newRow("/a") << "/a" << 10;
        QTest::newRow("/A") << "/A" << 10;
        QTest::newRow("/s") << "/s" << 3000;
        QTest::newRow("-a") << "-a" << 3000;
        QTest::newRow("/a /s") << "/a /s" << 3000;
    }

    void slashAShortensItTo10ms()
    {
        QFETCH(QString, argument);
        QFETCH(int, interval);
        DesktopWorld world(argument.toStdString());
        world.connector.running = false;
        ModalBoxes boxes;
        QVERIFY(world.start());
        QCOMPARE(world.program->startUpWindow()->findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), interval);
    }

    void theMainWindowComesAfter3000ms()
    {
        DesktopWorld world;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(world.start());
        QTest::qWait(2900);
        QVERIFY(world.program->startUpWindow() && world.program->startUpWindow()->isVisible());
        QCOMPARE(world.program->mainWindow(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(world.program->mainWindow() != nullptr, 2000);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 3000 && elapsed < 4500, qPrintable(QString::number(elapsed)));
        QCOMPARE(world.program->startUpWindow(), nullptr);
        QVERIFY(world.mainWindow()->isVisible());
    }

    void withSlashAItComesAfter10msAndConverts()
    {
        DesktopWorld world("/a");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(world.start());
        QTRY_VERIFY_WITH_TIMEOUT(!world.endRequests.empty(), 2000);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(world.endRequests, std::vector<int>{0});
        QCOMPARE(world.outputListing(), std::string("PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx"));
    }

    void theStartUpWindowIsGoneBeforeTheMainWindowLoads()
    {
        DesktopWorld world;
        world.connector.running = false;
        QVERIFY(world.start());
        QPointer<QWidget> startUp(world.program->startUpWindow());
        bool startUpVisibleDuringLoad = true;
        ModalBoxes boxes([&](const ModalBoxes::Box&) { startUpVisibleDuringLoad = startUp && startUp->isVisible(); });
        world.fireStartUpTimer();
        QCOMPARE(boxes.texts(), QStringList{"L46"}); // shown by the main window's load
        QVERIFY(!startUpVisibleDuringLoad);
        settle();
        QVERIFY(startUp.isNull());
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
