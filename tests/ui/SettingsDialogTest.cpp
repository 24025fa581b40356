// The settings dialog on its own: the rules between the check boxes, loading and saving the eleven
// settings, and the drive and directory lists.
#include "support/ModalBoxes.h"

#include "config/MemorySettingsStore.h"
#include "config/QtSettingsStore.h"
#include "config/SettingKeys.h"
#include "support/Files.h"
#include "support/TestTexts.h"
#include "desktop/DirectoryList.h"
#include "desktop/DriveList.h"
#include "desktop/frm_Konfiguration.h"

#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <map>

using ui_testing::ModalBoxes;
namespace key = config::setting;

namespace {

struct Dialog {
    explicit Dialog(config::SettingsStore& store) : window(store, texts)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the settings dialog was not exposed");
    }

    QCheckBox* box(const QString& name) const { return window.findChild<QCheckBox*>(name); }
    QString label() const { return window.findChild<QLabel*>(QStringLiteral("Label_Verzeichnis"))->text(); }
    ui::DirectoryList* directories() const { return window.findChild<ui::DirectoryList*>(QStringLiteral("Dir_DFQ")); }
    ui::DriveList* drives() const { return window.findChild<ui::DriveList*>(QStringLiteral("Drive_DFQ")); }
    void pressOK() { window.findChild<QPushButton*>(QStringLiteral("OKButton"))->click(); }

    config::LanguageTexts texts = testing_support::numberedTexts();
    ui::frm_Konfiguration window;
};

// A click where a user clicks: on the box's indicator.
void clickIndicator(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

QString native(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    // What the store holds and the boxes then clicked -> the boxes left checked: the rows of
    // tests/data/desktop/check-box-rules.json.
    void theBoxRules_data()
    {
        QTest::addColumn<QJsonObject>("stored");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("checked");
        const std::string rules = testing_support::readBytes(testing_support::testDataDir() / "desktop" / "check-box-rules.json");
        for (const QJsonValue row : QJsonDocument::fromJson(QByteArray::fromStdString(rules)).array())
            QTest::newRow(qPrintable(row["row"].toString())) << row["stored"].toObject() << row["clicks"].toVariant().toStringList()
                                                             << row["checked"].toVariant().toStringList();
    }

    void theBoxRules()
    {
        QFETCH(QJsonObject, stored);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, checked);
        config::MemorySettingsStore store;
        for (auto value = stored.begin(); value != stored.end(); ++value)
            store.WriteSetting(key::kApplication, key::kSection, value.key().toStdString(), value->toString().toStdString());
        Dialog dialog(store);
        for (const QString& name : clicks)
            clickIndicator(dialog.box(name));
        QStringList checkedNow;
        for (QCheckBox* box : dialog.window.findChildren<QCheckBox*>())
            if (box->isChecked())
                checkedNow.append(box->objectName());
        checkedNow.sort();
        checked.sort();
        QCOMPARE(checkedNow, checked);
        QCOMPARE(store.size(), std::size_t(stored.size())); // nothing written before OK
    }

    // A directory opened in the list, the boxes clicked and OK: all eleven keys.
    void okWritesWhatTheDialogShows()
    {
        config::MemorySettingsStore store;
        testing_support::TemporaryDirectory directory;
        std::filesystem::create_directories(directory / "Messdaten" / "Linie 2");
        std::filesystem::create_directories(directory / "Archiv");
        store.WriteSetting(key::kApplication, key::kSection, key::kDir, directory.path().string());
        store.WriteSetting(key::kApplication, key::kSection, key::kSeriennummer, "2"); // the grey state, shown checked
        Dialog dialog(store);
        ui::DirectoryList* list = dialog.directories();
        QCOMPARE(dialog.label(), native(directory.path()));
        const auto find = [list](const QString& name) { return list->findItems(name, Qt::MatchExactly | Qt::MatchRecursive); };
        QCOMPARE(find(QStringLiteral("Messdaten")).size(), 1);
        // A double click: the widget overload of mouseDClick sends no press of its own.
        const QPoint place = list->visualItemRect(find(QStringLiteral("Messdaten")).front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
        QCOMPARE(dialog.label(), native(directory / "Messdaten"));
        QCOMPARE(find(QStringLiteral("Linie 2")).size(), 1);
        QCOMPARE(find(QStringLiteral("Archiv")).size(), 0);
        // Up again through the entry of the directory above, and down once more with Enter.
        list->setCurrentItem(find(QString::fromStdString(directory.path().filename().string())).front());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->path(), native(directory.path()));
        list->setCurrentItem(find(QStringLiteral("Archiv")).front());
        QTest::keyClick(list, Qt::Key_Return);

        dialog.box("Chk_DFQ")->click();
        dialog.box("chkNordaPos")->click();
        dialog.box("chk_ProgVerz")->click(); // unlike SingleFile, so that a swap of the two shows
        dialog.pressOK();
        const std::string drive = dialog.drives()->drive().toStdString();
        QVERIFY(!drive.empty());
        const std::map<std::string, std::string> expected{
            {"DRIVE", drive}, {"DIR", (directory / "Archiv").string()}, {"KOMMENTARE", "0"}, {"DFQ", "1"},
            {"SERIENNUMMER", "1"}, {"NAMENSL\xC3\x84NGE", "0"}, {"POS_ACHSE", "1"}, {"ProgVerz", "1"},
            {"VersionInFileName", "0"}, {"SingleFile", "0"}, {"NordaPos", "1"}};
        for (const auto& [name, value] : expected)
            QCOMPARE(store.ReadSetting(key::kApplication, key::kSection, name, "(none)"), value);
        QCOMPARE(store.size(), expected.size());
    }

    void aStoreThatFailsKeepsTheDialogOpen()
    {
        testing_support::TemporaryDirectory directory;
        testing_support::writeBytes(directory / "blocked", ""); // a file where the store's directory should be
        config::QtSettingsStore store(directory / "blocked");
        Dialog dialog(store);
        QSignalSpy closed(&dialog.window, &ui::frm_Konfiguration::closed);
        ModalBoxes boxes;
        dialog.pressOK();
        const QStringList seen = boxes.take();
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen.front().startsWith(QStringLiteral("Critical L1: Cannot write the setting \"DRIVE\"")), qPrintable(seen.front()));
        QCOMPARE(closed.count(), 0);
        QVERIFY(dialog.window.isVisible());
    }

    void drivesThatCannotBeReadAreSkipped()
    {
        config::MemorySettingsStore store;
        store.WriteSetting(key::kApplication, key::kSection, key::kDrive, "Q:\\");
        store.WriteSetting(key::kApplication, key::kSection, key::kDir, "/no/such/directory");
        Dialog dialog(store);
        // The lists stay where the program was started.
        const QString started = QDir::toNativeSeparators(QDir::currentPath());
        QCOMPARE(dialog.label(), started);
        QCOMPARE(dialog.drives()->drive(), dialog.drives()->driveOf(QDir::currentPath()));
        dialog.drives()->addItem(QStringLiteral("/no/such/volume"));
        dialog.drives()->setCurrentIndex(dialog.drives()->count() - 1);
        QCOMPARE(dialog.label(), started);
        QCOMPARE(dialog.drives()->drive(), dialog.drives()->driveOf(QDir::currentPath()));

        // A second volume, as a USB stick would add one.
        testing_support::TemporaryDirectory volume;
        dialog.drives()->addItem(native(volume.path()));
        dialog.drives()->setCurrentIndex(dialog.drives()->count() - 1);
        QCOMPARE(dialog.directories()->path(), native(volume.path()));
        QCOMPARE(dialog.label(), native(volume.path()));
    }

    // A path belongs to the longest volume it is inside; a stored drive may be in the list's own form.
    void theDriveListsVolumes()
    {
        ui::DriveList drives;
        drives.clear();
        drives.addItems({QStringLiteral("/"), QStringLiteral("/work")});
        QCOMPARE(drives.driveOf(QStringLiteral("/work")), QStringLiteral("/work"));
        QCOMPARE(drives.driveOf(QStringLiteral("/work/a")), QStringLiteral("/work"));
        QCOMPARE(drives.driveOf(QStringLiteral("/workshop")), QStringLiteral("/"));
        drives.clear();
        drives.addItems({QStringLiteral("C:\\"), QStringLiteral("D:\\")});
        QVERIFY(drives.selectDrive(QStringLiteral("d: [DATA]")));
        QCOMPARE(drives.drive(), QStringLiteral("D:\\"));
        QVERIFY(drives.selectDrive(QStringLiteral("c:")));
        QVERIFY(!drives.selectDrive(QStringLiteral("e: [USB]")));
        QCOMPARE(drives.drive(), QStringLiteral("C:\\"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
