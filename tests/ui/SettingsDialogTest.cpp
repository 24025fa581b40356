// The settings dialog: captions, loading and saving the eleven settings, the rules between the
// check boxes, and the drive and directory lists.
#include "support/LanguageFiles.h"
#include "support/ModalBoxes.h"

#include "config/MemorySettingsStore.h"
#include "config/SettingKeys.h"
#include "support/Files.h"
#include "support/TestTexts.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/frm_Konfiguration.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <stdexcept>

using ui_testing::ModalBoxes;
namespace key = config::setting;

namespace {

// "chk_ÄnderungInFileName"
const char* const kRevision = "chk_\xC3\x84nderungInFileName";

// Remembers every write, in order, and fails on cue.
class RecordingStore final : public config::SettingsStore {
public:
    std::string ReadSetting(std::string_view application, std::string_view section, std::string_view name,
                            std::string_view defaultValue) const override
    {
        return values.ReadSetting(application, section, name, defaultValue);
    }
    void WriteSetting(std::string_view application, std::string_view section, std::string_view name,
                      std::string_view value) override
    {
        if (failWrites)
            throw std::runtime_error("Cannot write the setting \"" + std::string(name) + "\": disk full");
        writes.emplace_back(std::string(name), std::string(value));
        values.WriteSetting(application, section, name, value);
    }
    void set(std::string_view name, std::string_view value) { values.WriteSetting(key::kApplication, key::kSection, name, value); }

    config::MemorySettingsStore values;
    std::vector<std::pair<std::string, std::string>> writes;
    bool failWrites = false;
};

class Dialog {
public:
    explicit Dialog(RecordingStore& store) : window(store, texts)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the settings dialog was not exposed");
    }

    QCheckBox* box(const char* name) const { return window.findChild<QCheckBox*>(QString::fromUtf8(name)); }
    bool checked(const char* name) const { return box(name)->isChecked(); }
    QString label() const { return window.findChild<QLabel*>(QStringLiteral("Label_Verzeichnis"))->text(); }
    ui::DirectoryList* directories() const { return window.findChild<ui::DirectoryList*>(QStringLiteral("Dir_DFQ")); }
    ui::DriveList* drives() const { return window.findChild<ui::DriveList*>(QStringLiteral("Drive_DFQ")); }
    void press(const char* button) { window.findChild<QPushButton*>(QString::fromLatin1(button))->click(); }

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
    void captionsComeFromTheirTextLines()
    {
        RecordingStore store;
        Dialog dialog(store);
        QCOMPARE(dialog.window.windowTitle(), QStringLiteral("L74"));
        QCOMPARE(dialog.window.findChild<QGroupBox*>("Frame_1")->title(), QStringLiteral("L75"));
        QCOMPARE(dialog.window.findChild<QLabel*>("Lbl_1")->text(), QStringLiteral("L76"));
        QCOMPARE(dialog.window.findChild<QGroupBox*>("Frame_2")->title(), QStringLiteral("L77"));
        const std::pair<const char*, const char*> boxes[] = {
            {"Chk_Kommentare", "L78"}, {"Chk_DFQ", "L79"},           {"Chk_Serien_Nr", "L80"},
            {"Chk_kurz_Dateiname", "L81"}, {"Chk_Positionsachsen", "L82"}, {"chk_ProgVerz", "L85"},
            {"chk_SingleFile", "L86"}, {kRevision, "L87"},                 {"chkNordaPos", "L88"}};
        for (const auto& [name, caption] : boxes)
            QCOMPARE(dialog.box(name)->text(), QString::fromLatin1(caption));
        QCOMPARE(dialog.window.findChild<QPushButton*>("OKButton")->text(), QStringLiteral("L83"));
        QCOMPARE(dialog.window.findChild<QPushButton*>("CancelButton")->text(), QStringLiteral("L84"));
        QVERIFY(!dialog.window.isModal());
        QCOMPARE(dialog.window.windowModality(), Qt::NonModal);
    }

    void theBoxesAreStackedInTheirOrder()
    {
        RecordingStore store;
        Dialog dialog(store);
        const char* const order[] = {"Chk_Kommentare", "Chk_DFQ", "chk_SingleFile", "Chk_kurz_Dateiname",
                                     "Chk_Positionsachsen", "chkNordaPos", "chk_ProgVerz", "Chk_Serien_Nr", kRevision};
        for (std::size_t i = 1; i < std::size(order); ++i)
            QVERIFY2(dialog.box(order[i - 1])->y() < dialog.box(order[i])->y(), order[i]);
        auto* ok = dialog.window.findChild<QPushButton*>("OKButton");
        auto* cancel = dialog.window.findChild<QPushButton*>("CancelButton");
        QVERIFY(ok->x() < cancel->x());
        QVERIFY(ok->y() > dialog.window.findChild<QGroupBox*>("Frame_2")->y());
    }

    void anEmptyStoreLeavesEveryBoxUnchecked()
    {
        RecordingStore store;
        Dialog dialog(store);
        for (QCheckBox* box : dialog.window.findChildren<QCheckBox*>())
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        // "C:\" is no directory here: the list stays where the program was started.
        QCOMPARE(dialog.directories()->path(), QDir::toNativeSeparators(QDir::currentPath()));
        QCOMPARE(dialog.label(), dialog.directories()->path());
        QVERIFY(store.writes.empty());
    }

    void shortNamesClearSingleFileAndThemselves()
    {
        RecordingStore store;
        Dialog dialog(store);
        dialog.box("chk_SingleFile")->click();
        QVERIFY(dialog.checked("chk_SingleFile"));
        dialog.box("Chk_kurz_Dateiname")->click();
        QVERIFY(!dialog.checked("Chk_kurz_Dateiname"));
        QVERIFY(!dialog.checked("chk_SingleFile"));
        QVERIFY(!dialog.checked(kRevision));
    }

    void singleFileClearsShortNamesAndItself()
    {
        RecordingStore store;
        Dialog dialog(store);
        dialog.box("Chk_kurz_Dateiname")->click();
        QVERIFY(dialog.checked("Chk_kurz_Dateiname"));
        dialog.box("chk_SingleFile")->click();
        QVERIFY(!dialog.checked("Chk_kurz_Dateiname"));
        QVERIFY(!dialog.checked("chk_SingleFile"));

        dialog.box("chk_SingleFile")->click(); // short names unchecked: single file stays
        QVERIFY(dialog.checked("chk_SingleFile"));
    }

    void shortNamesRefuseTheRevision()
    {
        RecordingStore store;
        Dialog dialog(store);
        clickIndicator(dialog.box("Chk_kurz_Dateiname"));
        QVERIFY(dialog.checked("Chk_kurz_Dateiname"));
        clickIndicator(dialog.box(kRevision));
        QVERIFY(!dialog.checked(kRevision));
        QVERIFY(dialog.checked("Chk_kurz_Dateiname"));
    }

    void shortNamesClearACheckedRevision()
    {
        RecordingStore store;
        Dialog dialog(store);
        dialog.box(kRevision)->click();
        QVERIFY(dialog.checked(kRevision));
        QTest::keyClick(dialog.box("Chk_kurz_Dateiname"), Qt::Key_Space);
        QVERIFY(dialog.checked("Chk_kurz_Dateiname"));
        QVERIFY(!dialog.checked(kRevision));
    }

    void nordaPositionsNeedAllPositionAxes()
    {
        RecordingStore store;
        Dialog dialog(store);
        dialog.box("chkNordaPos")->click();
        QVERIFY(dialog.checked("Chk_Positionsachsen"));
        clickIndicator(dialog.box("Chk_Positionsachsen"));
        QVERIFY(dialog.checked("Chk_Positionsachsen"));
        dialog.box("chkNordaPos")->click(); // unchecking leaves the axes alone
        QVERIFY(!dialog.checked("chkNordaPos"));
        QVERIFY(dialog.checked("Chk_Positionsachsen"));
        dialog.box("Chk_Positionsachsen")->click();
        QVERIFY(!dialog.checked("Chk_Positionsachsen"));
    }

    void theOtherBoxesAreFree()
    {
        RecordingStore store;
        Dialog dialog(store);
        for (const char* name : {"Chk_Kommentare", "Chk_DFQ", "chk_ProgVerz", "Chk_Serien_Nr"}) {
            dialog.box(name)->click();
            QVERIFY(dialog.checked(name));
        }
        dialog.box("Chk_DFQ")->click();
        QVERIFY(!dialog.checked("Chk_DFQ"));
        QVERIFY(dialog.checked("Chk_Kommentare"));
    }

    void loadingAppliesTheRules_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value
        QTest::addColumn<QStringList>("checkedBoxes");
        QTest::newRow("short names and revision") << QStringList{"NAMENSL\u00c4NGE=1", "VersionInFileName=1"}
                                                  << QStringList{"Chk_kurz_Dateiname"};
        QTest::newRow("short names and single file") << QStringList{"NAMENSL\u00c4NGE=1", "SingleFile=1", "VersionInFileName=1"}
                                                     << QStringList{};
        QTest::newRow("Norda positions without axes") << QStringList{"NordaPos=1", "POS_ACHSE=0"}
                                                      << QStringList{"Chk_Positionsachsen", "chkNordaPos"};
        QTest::newRow("every free box") << QStringList{"KOMMENTARE=1", "DFQ=1", "SERIENNUMMER=1", "ProgVerz=1"}
                                        << QStringList{"Chk_DFQ", "Chk_Kommentare", "Chk_Serien_Nr", "chk_ProgVerz"};
        QTest::newRow("flag texts") << QStringList{"KOMMENTARE= 1 ", "DFQ=2", "SERIENNUMMER=3", "ProgVerz=-1",
                                                   "POS_ACHSE=ja", "SingleFile=1.0", "NordaPos=", "VersionInFileName=+1"}
                                    << QStringList{"Chk_DFQ", "Chk_Kommentare", QString::fromUtf8(kRevision)};
    }

    void loadingAppliesTheRules()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, checkedBoxes);
        RecordingStore store;
        for (const QString& pair : stored)
            store.set(pair.section('=', 0, 0).toStdString(), pair.section('=', 1).toStdString());
        Dialog dialog(store);
        QStringList checked;
        for (QCheckBox* box : dialog.window.findChildren<QCheckBox*>()) {
            if (box->isChecked())
                checked.append(box->objectName());
        }
        checked.sort();
        checkedBoxes.sort();
        QCOMPARE(checked, checkedBoxes);
        QVERIFY(store.writes.empty());
    }

    void okWritesAllElevenKeysInOrder()
    {
        RecordingStore store;
        testing_support::TemporaryDirectory directory;
        store.set(key::kDir, directory.path().string());
        Dialog dialog(store);
        QSignalSpy closed(&dialog.window, &ui::frm_Konfiguration::closed);
        dialog.box("Chk_DFQ")->click();
        dialog.box("chkNordaPos")->click();
        dialog.press("OKButton");

        const std::string drive = dialog.drives()->drive().toStdString();
        QVERIFY(!drive.empty());
        const std::vector<std::pair<std::string, std::string>> expected{
            {"DRIVE", drive}, {"DIR", directory.path().string()}, {"KOMMENTARE", "0"}, {"DFQ", "1"},
            {"SERIENNUMMER", "0"}, {"NAMENSL\xC3\x84NGE", "0"}, {"POS_ACHSE", "1"}, {"ProgVerz", "0"},
            {"VersionInFileName", "0"}, {"SingleFile", "0"}, {"NordaPos", "1"}};
        QCOMPARE(store.writes, expected);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!dialog.window.isVisible());
    }

    void okWithoutChangesStoresWhatItShows()
    {
        RecordingStore store;
        Dialog dialog(store);
        dialog.press("OKButton");
        QCOMPARE(store.writes.size(), std::size_t(11));
        QCOMPARE(store.writes[1].second, QDir::toNativeSeparators(QDir::currentPath()).toStdString());
        for (std::size_t i = 2; i < store.writes.size(); ++i)
            QCOMPARE(store.writes[i].second, std::string("0"));
    }

    void cancelWritesNothingAndShowsTheStoredValuesAgain()
    {
        RecordingStore store;
        store.set(key::kKommentare, "1");
        Dialog dialog(store);
        QSignalSpy closed(&dialog.window, &ui::frm_Konfiguration::closed);
        dialog.box("Chk_Kommentare")->click();
        dialog.box("Chk_DFQ")->click();
        dialog.press("CancelButton");
        QVERIFY(store.writes.empty());
        QCOMPARE(closed.count(), 1);
        QVERIFY(dialog.checked("Chk_Kommentare"));
        QVERIFY(!dialog.window.isVisible());
    }

    void theCloseBoxIsCancel()
    {
        RecordingStore store;
        Dialog dialog(store);
        QSignalSpy closed(&dialog.window, &ui::frm_Konfiguration::closed);
        dialog.box("Chk_DFQ")->click();
        dialog.window.close();
        QVERIFY(store.writes.empty());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!dialog.checked("Chk_DFQ"));
    }

    void aStoreThatFailsKeepsTheDialogOpen()
    {
        RecordingStore store;
        Dialog dialog(store);
        QSignalSpy closed(&dialog.window, &ui::frm_Konfiguration::closed);
        store.failWrites = true;
        ModalBoxes boxes;
        dialog.press("OKButton");
        QCOMPARE(boxes.seen().size(), std::size_t(1));
        QCOMPARE(boxes.seen().front().icon, QMessageBox::Critical);
        QVERIFY(boxes.texts().front().contains(QStringLiteral("disk full")));
        QCOMPARE(closed.count(), 0);
        QVERIFY(dialog.window.isVisible());
    }

    void theStoredDirectoryIsShown()
    {
        RecordingStore store;
        testing_support::TemporaryDirectory directory;
        store.set(key::kDir, directory.path().string());
        Dialog dialog(store);
        QCOMPARE(dialog.directories()->path(), native(directory.path()));
        QCOMPARE(dialog.label(), native(directory.path()));
    }

    void aMissingDriveOrDirectoryIsSkipped()
    {
        RecordingStore store;
        store.set(key::kDrive, "Q:\\");
        store.set(key::kDir, "/no/such/directory");
        store.set(key::kDfq, "1");
        Dialog dialog(store);
        QCOMPARE(dialog.directories()->path(), QDir::toNativeSeparators(QDir::currentPath()));
        QCOMPARE(dialog.drives()->drive(), dialog.drives()->driveOf(QDir::currentPath()));
        QVERIFY(dialog.checked("Chk_DFQ"));
    }

    void choosingADriveMovesTheDirectoryList()
    {
        RecordingStore store;
        testing_support::TemporaryDirectory volume;
        Dialog dialog(store);
        // A second volume, as a USB stick would add one.
        dialog.drives()->addItem(native(volume.path()));
        dialog.drives()->setCurrentIndex(dialog.drives()->count() - 1);
        QCOMPARE(dialog.directories()->path(), native(volume.path()));
        QCOMPARE(dialog.label(), native(volume.path()));
    }

    void aDriveStoredInTheListsOwnFormIsSelected()
    {
        ui::DriveList drives;
        drives.clear();
        drives.addItems({QStringLiteral("C:\\"), QStringLiteral("D:\\")});
        QVERIFY(drives.selectDrive(QStringLiteral("d: [DATA]")));
        QCOMPARE(drives.drive(), QStringLiteral("D:\\"));
        QVERIFY(drives.selectDrive(QStringLiteral("c:")));
        QCOMPARE(drives.drive(), QStringLiteral("C:\\"));
        QVERIFY(!drives.selectDrive(QStringLiteral("e: [USB]")));
        QCOMPARE(drives.drive(), QStringLiteral("C:\\"));
    }

    void aDriveThatCannotBeReadKeepsTheDirectory()
    {
        RecordingStore store;
        testing_support::TemporaryDirectory directory;
        store.set(key::kDir, directory.path().string());
        Dialog dialog(store);
        const QString before = dialog.drives()->drive();
        dialog.drives()->addItem(QStringLiteral("/no/such/volume"));
        dialog.drives()->setCurrentIndex(dialog.drives()->count() - 1);
        QCOMPARE(dialog.directories()->path(), native(directory.path()));
        QCOMPARE(dialog.label(), native(directory.path()));
        QCOMPARE(dialog.drives()->drive(), before);
    }

    void openingAnEntryMakesItCurrent()
    {
        RecordingStore store;
        testing_support::TemporaryDirectory directory;
        std::filesystem::create_directories(directory / "Messdaten" / "Linie 2");
        std::filesystem::create_directories(directory / "Archiv");
        store.set(key::kDir, directory.path().string());
        Dialog dialog(store);
        ui::DirectoryList* list = dialog.directories();
        const auto entries = list->findItems(QStringLiteral("Messdaten"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(entries.size(), 1);
        // A double click: the widget overload of mouseDClick sends no press of its own.
        const QPoint place = list->visualItemRect(entries.front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place);
        QCOMPARE(list->path(), native(directory / "Messdaten"));
        QCOMPARE(dialog.label(), native(directory / "Messdaten"));
        QCOMPARE(list->findItems(QStringLiteral("Linie 2"), Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
        QCOMPARE(list->findItems(QStringLiteral("Archiv"), Qt::MatchExactly | Qt::MatchRecursive).size(), 0);

        // Up again through the entry of the directory above.
        const auto parent = list->findItems(QString::fromStdString(directory.path().filename().string()),
                                            Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(parent.size(), 1);
        list->setCurrentItem(parent.front());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->path(), native(directory.path()));

        dialog.press("OKButton");
        QCOMPARE(store.writes[1], (std::pair<std::string, std::string>{"DIR", directory.path().string()}));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
