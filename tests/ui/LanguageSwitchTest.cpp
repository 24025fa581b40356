// The language menu: a new resource.dll, installed safely, new captions at once and at the next start.
#include "support/DesktopWorld.h"
#include "support/LanguageFiles.h"
#include "support/ModalBoxes.h"
#include "support/ReadOnlyDirectory.h"

#include "app/frm_Hauptfenster.h"
#include "app/frm_Start.h"
#include "support/Files.h"
#include "ui/frm_About.h"
#include "ui/frm_Konfiguration.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using ui_testing::DesktopWorld;
using ui_testing::ModalBoxes;
using ui_testing::settle;
using testing_support::readBytes;

namespace {

void choose(QWidget* window, const char* entry)
{
    window->findChild<QAction*>(QString::fromLatin1(entry))->trigger();
}

QString buttonText(QWidget* window, const char* name)
{
    return window->findChild<QPushButton*>(QString::fromLatin1(name))->text();
}

} // namespace

class LanguageSwitchTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    void theNewCaptionsShowAtOnce()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        choose(window, "menGerman");
        QCOMPARE(world.mainWindow(), window); // the same window, loaded again
        QCOMPARE(window->windowTitle(), QStringLiteral("G6 1.3.3"));
        QCOMPARE(buttonText(window, "cmd_Start_Konvertierung"), QStringLiteral("G8"));
        QCOMPARE(window->findChild<QMenu*>(QStringLiteral("menLanguage"))->title(), QStringLiteral("G17"));
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("menInfo"))->text(), QStringLiteral("G28"));
        QVERIFY(readBytes(world.programDirectory / "resource.dll") == readBytes(world.programDirectory / "German.dll"));
        QCOMPARE(world.connector.windowLookups, 2); // the load ran again and connected
        QVERIFY(!std::filesystem::exists(world.programDirectory / "resource.dll.part"));
    }

    void theChoiceLastsAcrossARestart()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        choose(world.mainWindow(), "menEnglish");
        world.stop();

        QVERIFY(world.start());
        QCOMPARE(world.program->startUpWindow()->findChild<QLabel*>(QStringLiteral("lblProductName"))->text(),
                 QStringLiteral("E1"));
        world.fireStartUpTimer();
        QCOMPARE(world.mainWindow()->windowTitle(), QStringLiteral("E6 1.3.3"));
    }

    void eachEntryInstallsItsFile_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("language");
        QTest::newRow("menGerman") << "menGerman" << "German";
        QTest::newRow("menEnglish") << "menEnglish" << "English";
        QTest::newRow("menTschechisch") << "menTschechisch" << "Czech";
        QTest::newRow("menSpanisch") << "menSpanisch" << "Spanish";
        QTest::newRow("menFrench") << "menFrench" << "French";
        QTest::newRow("menPort") << "menPort" << "Portuguese";
        QTest::newRow("menItalien") << "menItalien" << "Italian";
    }

    void eachEntryInstallsItsFile()
    {
        QFETCH(QString, entry);
        QFETCH(QString, language);
        DesktopWorld world;
        ui_testing::writeLanguageFile(world.programDirectory / (language.toStdString() + ".dll"), "X");
        QVERIFY(world.startToMainWindow());
        choose(world.mainWindow(), entry.toLatin1().constData());
        QCOMPARE(buttonText(world.mainWindow(), "cmd_Ende"), QStringLiteral("X9"));
    }

    void aMissingLanguageFileChangesNothing()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        const std::string before = readBytes(world.programDirectory / "resource.dll");
        ModalBoxes boxes;
        choose(window, "menTschechisch");
        QCOMPARE(boxes.texts(), QStringList{"L54"});
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Information);
        QVERIFY(readBytes(world.programDirectory / "resource.dll") == before);
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
        QCOMPARE(world.connector.windowLookups, 1); // no new load
    }

    void aMissingResourceFileIsNotCreated()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        std::filesystem::remove(world.programDirectory / "resource.dll");
        ModalBoxes boxes;
        choose(window, "menGerman");
        QCOMPARE(boxes.texts(), QStringList{"L54"});
        QVERIFY(!std::filesystem::exists(world.programDirectory / "resource.dll"));
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
    }

    void aReadOnlyProgramDirectoryIsReported()
    {
        DesktopWorld world;
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        const std::string before = readBytes(world.programDirectory / "resource.dll");
        ui_testing::ReadOnlyDirectory readOnly(world.programDirectory.path());
        if (!readOnly.isReadOnly())
            QSKIP("this system lets the test write into any directory");
        ModalBoxes boxes;
        choose(window, "menGerman");
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("resource.dll")), qPrintable(boxes.texts().front()));
        QVERIFY(readBytes(world.programDirectory / "resource.dll") == before);
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
    }

    void aShortLanguageFileIsNotInstalled()
    {
        DesktopWorld world;
        ui_testing::writeLanguageFile(world.programDirectory / "Spanish.dll", "S", 100);
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        const std::string before = readBytes(world.programDirectory / "resource.dll");
        ModalBoxes boxes;
        choose(window, "menSpanisch");
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.texts().front().contains(QStringLiteral("100 lines")), qPrintable(boxes.texts().front()));
        QVERIFY(readBytes(world.programDirectory / "resource.dll") == before);
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
    }

    void withoutApplicationTheLoadTellsOnceMore()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        world.connector.running = false;
        ModalBoxes boxes;
        choose(world.mainWindow(), "menGerman");
        QCOMPARE(boxes.texts(), QStringList{"G46"});
    }

    void withSlashATheLoadConvertsAgain()
    {
        DesktopWorld world("/a");
        world.connector.running = false;
        {
            ModalBoxes boxes;
            QVERIFY(world.startToMainWindow());
        }
        world.connector.running = true;
        choose(world.mainWindow(), "menGerman");
        QCOMPARE(world.endRequests, std::vector<int>{0});
        QCOMPARE(world.outputListing(), std::string("PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx"));
    }

    void windowsOpenedLaterShowTheNewTexts()
    {
        DesktopWorld world;
        QVERIFY(world.startToMainWindow());
        choose(world.mainWindow(), "menGerman");
        choose(world.mainWindow(), "menInfo");
        ui::frm_About* about = world.mainWindow()->findChild<ui::frm_About*>();
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("G67"));
        about->close();
        settle();
        choose(world.mainWindow(), "menKonfiguration");
        settle();
        QCOMPARE(world.program->settingsDialog()->windowTitle(), QStringLiteral("G74"));
    }
};

QTEST_MAIN(LanguageSwitchTest)
#include "LanguageSwitchTest.moc"
