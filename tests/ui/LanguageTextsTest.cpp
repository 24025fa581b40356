// Where the windows take their texts from, and how the language menu replaces them.
#include "support/DesktopWorld.h"
#include "support/LanguageFiles.h"
#include "support/ModalBoxes.h"

#include "desktop/frm_Hauptfenster.h"
#include "support/Files.h"
#include "desktop/frm_About.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace ui_testing;
using testing_support::readBytes;

namespace {

// The captions of each window, as the operator reads them: its icon, the title, the menus entry by entry ("-"
// a separator), then the controls from top to bottom and left to right. "%" stands for the letter
// that the lines of the loaded language file begin with.
const char* const kStartUp = "icon|picture|%1|%2 1.3.3|%3|%4";
const char* const kMain = "icon|%6 1.3.3|%13|%14|-|%15|%16|%25|-|%17|%18|%19|%20|%21|%24|%23|%22|%26|%28|%7|%8|%9";
const char* const kAbout = "icon|%67|picture|%68|%69 1.3.3|%70|%71|OK";
const char* const kSettings = "icon|%74|%75|%76|%77|%78|%79|%86|%81|%82|%88|%85|%80|%87|%83|%84";

QString expected(const char* captions, const QString& prefix)
{
    return QString::fromLatin1(captions).replace(QLatin1Char('%'), prefix);
}

// Keeps the texts that come from a numbered line, the fixed "OK", the pictures and separators; a
// label that would read its text as markup shows as "markup".
QString captions(QWidget* window)
{
    QStringList texts{window->windowIcon().isNull() ? QString() : QStringLiteral("icon"), window->windowTitle()};
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->menu())
                walk(action->menu()->actions());
        }
    };
    if (auto* main = qobject_cast<QMainWindow*>(window))
        walk(main->menuBar()->actions());
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    const auto place = [window](QWidget* control) {
        const QPoint at = control->mapTo(window, QPoint());
        return std::pair(at.y(), at.x());
    };
    std::stable_sort(controls.begin(), controls.end(), [&](QWidget* a, QWidget* b) { return place(a) < place(b); });
    for (QWidget* control : controls) {
        if (!control->isVisible() || control->window() != window)
            continue;
        if (auto* label = qobject_cast<QLabel*>(control))
            texts.append(!label->pixmap().isNull()           ? QStringLiteral("picture")
                         : label->textFormat() != Qt::PlainText ? QStringLiteral("markup")
                                                                : label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            texts.append(button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            texts.append(group->title());
    }
    static const QRegularExpression kept(QStringLiteral("^([A-Z]\\d+( 1\\.3\\.3)?|-|OK|icon|picture|markup)$"));
    return texts.filter(kept).join(QLatin1Char('|'));
}

} // namespace

class LanguageTextsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    // Each language entry installs its file, whose texts show at once and at the next start.
    void everyCaptionComesFromItsTextLine_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("restart");
        QTest::newRow("resource.dll") << "" << "" << false;
        QTest::newRow("menGerman") << "menGerman" << "German" << false;
        QTest::newRow("menEnglish") << "menEnglish" << "English" << false;
        QTest::newRow("menTschechisch") << "menTschechisch" << "Czech" << false;
        QTest::newRow("menSpanisch") << "menSpanisch" << "Spanish" << false;
        QTest::newRow("menFrench") << "menFrench" << "French" << false;
        QTest::newRow("menPort") << "menPort" << "Portuguese" << false;
        QTest::newRow("menItalien") << "menItalien" << "Italian" << false;
        QTest::newRow("menEnglish, at the next start") << "menEnglish" << "English" << true;
    }

    void everyCaptionComesFromItsTextLine()
    {
        QFETCH(QString, entry);
        QFETCH(QString, language);
        QFETCH(bool, restart);
        const QString prefix = entry.isEmpty() ? QStringLiteral("L") : QStringLiteral("X");
        DesktopWorld world;
        const std::filesystem::path file = world.programDirectory / (language.toStdString() + ".dll");
        if (!entry.isEmpty()) {
            writeLanguageFile(file, "X");
            QPointer<QWidget> window(world.startToMainWindow());
            press(window, qPrintable(entry));
            QVERIFY(readBytes(world.programDirectory / "resource.dll") == readBytes(file));
            QVERIFY(!std::filesystem::exists(world.programDirectory / "resource.dll.part"));
            QCOMPARE(world.mainWindow(), window); // the same window, loaded again
            QCOMPARE(world.connector.requests, 2); // the load ran again and connected
            if (restart)
                world.stop();
        }
        if (!world.mainWindow()) {
            QVERIFY(world.start());
            QCOMPARE(captions(world.window("frm_Start")), expected(kStartUp, prefix));
            world.fireStartUpTimer();
        }
        QCOMPARE(captions(world.mainWindow()), expected(kMain, prefix));
        press(world.mainWindow(), "menInfo");
        auto* about = world.mainWindow()->findChild<ui::frm_About*>();
        QVERIFY(about);
        QCOMPARE(captions(about), expected(kAbout, prefix));
        about->close();
        settle();
        press(world.mainWindow(), "menKonfiguration");
        settle();
        QCOMPARE(captions(world.window("frm_Konfiguration")), expected(kSettings, prefix));
    }

    // How a failing copy leaves resource.dll is the language install's own test; here what the window shows.
    void aSwitchThatCannotBeDoneChangesNothing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text"); // a part of the message
        QTest::newRow("language file missing") << "menTschechisch" << "" << int(QMessageBox::Information) << "L54";
        QTest::newRow("resource.dll missing") << "menGerman" << "no resource.dll" << int(QMessageBox::Information) << "L54";
        QTest::newRow("short language file") << "menSpanisch" << "" << int(QMessageBox::Critical) << "100 lines";
    }

    void aSwitchThatCannotBeDoneChangesNothing()
    {
        QFETCH(QString, entry);
        QFETCH(QString, fault);
        QFETCH(int, icon);
        QFETCH(QString, text);
        DesktopWorld world;
        writeLanguageFile(world.programDirectory / "Spanish.dll", "S", 100);
        auto* window = world.startToMainWindow();
        QVERIFY(window);
        const std::filesystem::path resource = world.programDirectory / "resource.dll";
        if (fault == "no resource.dll")
            std::filesystem::remove(resource);
        const std::string before = fault == "no resource.dll" ? std::string() : readBytes(resource);
        ModalBoxes boxes;
        press(window, qPrintable(entry));
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(int(boxes.seen().front().icon), icon);
        QVERIFY2(boxes.texts().front().contains(text), qPrintable(boxes.texts().front()));
        QCOMPARE(std::filesystem::exists(resource), fault != "no resource.dll");
        QVERIFY(!std::filesystem::exists(resource) || readBytes(resource) == before);
        QVERIFY(!std::filesystem::exists(world.programDirectory / "resource.dll.part"));
        QCOMPARE(window->windowTitle(), QStringLiteral("L6 1.3.3"));
        QCOMPARE(world.connector.requests, 1); // no new load
    }
};

QTEST_MAIN(LanguageTextsTest)
#include "LanguageTextsTest.moc"
