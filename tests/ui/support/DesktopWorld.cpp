#include "DesktopWorld.h"

#include "LanguageFiles.h"

#include "config/SettingKeys.h"
#include "desktop/DirectoryList.h"
#include "desktop/DriveList.h"
#include "source/MemoryApplication.h"
#include "support/ModelBuilder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace ui_testing {
namespace {

// Processes events, deferred deletions included, so windows closed by a handler are really gone.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Clicks the button or triggers the menu entry of that name in the window.
void press(QWidget* window, const QString& name)
{
    if (auto* button = window->findChild<QAbstractButton*>(name))
        button->click();
    else if (auto* action = window->findChild<QAction*>(name))
        action->trigger();
    else
        QFAIL(qPrintable("nothing to press named " + name));
}

// The captions of a window, as the operator reads them: its icon, the title, the menus entry by
// entry ("-" a separator), then the controls from top to bottom and left to right. Keeps the texts
// that come from a numbered line, the fixed "OK", the pictures and separators; a label that would
// read its text as markup shows as "markup".
QString captions(QWidget* window)
{
    QStringList texts{window->windowIcon().isNull() ? QString() : QStringLiteral("icon"), window->windowTitle()};
    // A menu's title and entries are its children in the order they were made: as the menu shows them.
    for (QAction* action : window->findChildren<QAction*>())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
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

// The settings dialog's folder and drive lists.
ui::DirectoryList* folderList(QWidget* window)
{
    return window->findChild<ui::DirectoryList*>(QStringLiteral("Dir_DFQ"));
}

ui::DriveList* driveList(QWidget* window)
{
    return window->findChild<ui::DriveList*>(QStringLiteral("Drive_DFQ"));
}

// The program's open window of that object name, or nullptr. Between steps, a window the program
// has let go is gone.
QWidget* window(const char* objectName)
{
    for (QWidget* candidate : QApplication::topLevelWidgets())
        if (candidate->objectName() == QLatin1String(objectName))
            return candidate;
    return nullptr;
}

// The settings dialog or the About window while one is open, else the main window, else the
// start-up window.
QWidget* frontWindow()
{
    for (const char* name : {"frm_Konfiguration", "frm_About", "frm_Hauptfenster", "frm_Start"})
        if (QWidget* found = window(name))
            return found;
    return nullptr;
}

} // namespace

DesktopWorld::DesktopWorld(std::string argumentText)
    : m_argumentText(std::move(argumentText))
{
    testing_support::writeBytes(m_programDirectory / "resource.dll", languageFileBytes("L"));
    testing_support::writeBytes(m_programDirectory / "German.dll", languageFileBytes("G"));
    testing_support::writeBytes(m_programDirectory / "English.dll", languageFileBytes("E"));
    m_settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, m_output.path().string());
    m_connector.application = std::make_shared<source::MemoryApplication>(testing_support::exampleApplication());
}

DesktopWorld::~DesktopWorld()
{
    m_program.reset();
    settle();
}

// The files named are in the program directory unless the step says "output"; "resource.dll"
// compares with a numbered language file of that prefix.
void DesktopWorld::run(const QJsonArray& step)
{
    const QString name = step[0].toString();
    const auto text = [&step](int at) { return step[at].toString(); };
    const auto file = [&](int at) { return m_programDirectory / text(at).toStdString(); };
    // "{started}" the directory the program was started in, else a path, a relative one inside the output directory.
    const auto place = [&](int at) {
        const std::filesystem::path inOutput = m_output / text(at).toStdString();
        return text(at) == "{started}" ? QDir::currentPath() : QDir::cleanPath(QString::fromStdString(inOutput.string()));
    };
    QWidget* front = frontWindow();
    if (name == "language file")
        testing_support::writeBytes(file(1), languageFileBytes(text(2).toStdString(), step[3].toInt(165)));
    else if (name == "remove")
        std::filesystem::remove(file(1));
    else if (name == "settings cannot be written") { // a file where the store's directory would be
        std::filesystem::remove_all(m_settingsDirectory / "store");
        testing_support::writeBytes(m_settingsDirectory / "store", "");
    } else if (name == "store")
        m_settings.WriteSetting(config::setting::kApplication, config::setting::kSection, text(1).toStdString(), text(2).toStdString());
    else if (name == "application")
        m_connector.running = text(1) == "running";
    else if (name == "start") {
        const auto end = [this](int exitCode) { m_endRequests.append(QString::number(exitCode)); };
        m_program = std::make_unique<app::DesktopProgram>(m_environment, end);
        QCOMPARE(m_program->start(), text(1) != "refused");
    } else if (name == "timer") { // the start-up window's time is up now
        window("frm_Start")->findChild<QTimer*>(QStringLiteral("Timer1"))->start(0);
        QTRY_VERIFY(window("frm_Hauptfenster"));
        m_firstMainWindow = window("frm_Hauptfenster");
    } else if (name == "press")
        press(front, text(1));
    else if (name == "close")
        front->close();
    else if (name == "boxes") { // one pattern a box, in which "*" stands for any text
        QJsonArray patterns = step;
        patterns.removeFirst();
        const QString pattern = QVariant(patterns.toVariantList()).toStringList().join(QLatin1Char('\n'));
        const QString seen = m_boxes.take().join(QLatin1Char('\n'));
        const QString expected = QRegularExpression::escape(pattern).replace(QStringLiteral("\\*"), QStringLiteral(".*"));
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(seen).hasMatch(), qPrintable(seen));
    } else if (name == "windows") {
        QCOMPARE(visibleWindows(), text(1));
        QVERIFY(!QApplication::activeModalWidget());
    } else if (name == "main window")
        QCOMPARE(window("frm_Hauptfenster") == m_firstMainWindow, text(1) == "first");
    else if (name == "captions")
        QCOMPARE(captions(front), text(1));
    else if (name == "part program name")
        QCOMPARE(front->findChild<QLabel*>(QStringLiteral("Lbl_VELTRUM_NAME"))->text(), text(1));
    else if (name == "hidden") {
        for (int control = 1; control < step.size(); ++control)
            QVERIFY(!front->findChild<QWidget*>(text(control))->isVisible());
    } else if (name == "ends") // the exit codes asked for, waiting up to 5 s for the last to come
        QTRY_COMPARE(m_endRequests.join(QLatin1Char(' ')), text(1));
    else if (name == "connections")
        QCOMPARE(m_connector.requests, step[1].toInt());
    else if (name == "folders") // made inside the output directory
        for (int folder = 1; folder < step.size(); ++folder)
            std::filesystem::create_directories(m_output / text(folder).toStdString());
    else if (name == "open") { // an entry of the folder list, ".." the folder above: by a double click or by Enter
        ui::DirectoryList* list = folderList(front);
        QTreeWidgetItem* entry = text(1) == ".." ? list->currentItem()->parent()
                                                 : list->findItems(text(1), Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(entry);
        if (text(2) == "Enter") {
            list->setCurrentItem(entry);
            QTest::keyClick(list, Qt::Key_Return);
        } else { // the widget overload of mouseDClick sends no press of its own
            const QPoint place = list->visualItemRect(entry).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
        }
    } else if (name == "folder") { // the folder shown, on the drive chosen, and, if given, the folders in it
        QCOMPARE(front->findChild<QLabel*>(QStringLiteral("Label_Verzeichnis"))->text(), place(1));
        QCOMPARE(driveList(front)->drive(), driveList(front)->driveOf(place(1)));
        const QTreeWidgetItem* shown = folderList(front)->currentItem();
        QStringList inside;
        for (int child = 0; child < shown->childCount(); ++child)
            inside.append(shown->child(child)->text(0));
        if (step.size() > 2)
            QCOMPARE(inside.join(QLatin1Char('|')), text(2));
    } else if (name == "add drive") { // and choose it, as when a USB stick comes
        driveList(front)->addItem(place(1));
        driveList(front)->setCurrentIndex(driveList(front)->count() - 1);
    } else if (name == "checked") { // the object names of the boxes checked, sorted
        QStringList checked;
        for (QCheckBox* box : front->findChildren<QCheckBox*>())
            if (box->isChecked())
                checked.append(box->objectName());
        checked.sort();
        QCOMPARE(checked.join(QLatin1Char(' ')), text(1));
    } else if (name == "setting") { // "{output}" the output directory, "{drive}" the volume it is on
        QString expected = text(2).replace(QStringLiteral("{output}"), QString::fromStdString(m_output.path().string()));
        expected.replace(QStringLiteral("{drive}"), ui::DriveList().driveOf(QString::fromStdString(m_output.path().string())));
        const std::string stored =
            m_settings.ReadSetting(config::setting::kApplication, config::setting::kSection, text(1).toStdString(), "(none)");
        QCOMPARE(QString::fromStdString(stored), expected);
    } else if (name == "stored settings") {
        const QSettings stored(QString::fromStdString(m_settings.iniFile(config::setting::kApplication).string()), QSettings::IniFormat);
        QCOMPARE(stored.allKeys().size(), step[1].toInt());
    } else if (name == "resource.dll")
        QVERIFY(testing_support::readBytes(m_programDirectory / "resource.dll") == languageFileBytes(text(1).toStdString()));
    else if (name == "output" || name == "program directory")
        QCOMPARE(QString::fromStdString((name == "output" ? m_output : m_programDirectory).listing()), text(1));
    else if (name == "output file") { // the files under tests/data that make it up, in order
        std::string expected;
        for (int piece = 2; piece < step.size(); ++piece)
            expected += testing_support::readBytes(testing_support::testDataDir() / text(piece).toStdString());
        QVERIFY(testing_support::readBytes(m_output / text(1).toStdString()) == expected);
    } else
        QFAIL(qPrintable("no such step: " + name));
    settle();
}

} // namespace ui_testing
