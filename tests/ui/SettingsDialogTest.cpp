// The settings dialog on its own: a store that cannot be written, and the drive list. The rules
// between the check boxes and what OK saves are window flows (tests/data/desktop/flows).
#include "support/ModalBoxes.h"

#include "config/MemorySettingsStore.h"
#include "config/QtSettingsStore.h"
#include "config/SettingKeys.h"
#include "support/Files.h"
#include "support/TestTexts.h"
#include "desktop/DirectoryList.h"
#include "desktop/DriveList.h"
#include "desktop/frm_Konfiguration.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

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

    QString label() const { return window.findChild<QLabel*>(QStringLiteral("Label_Verzeichnis"))->text(); }
    ui::DirectoryList* directories() const { return window.findChild<ui::DirectoryList*>(QStringLiteral("Dir_DFQ")); }
    ui::DriveList* drives() const { return window.findChild<ui::DriveList*>(QStringLiteral("Drive_DFQ")); }
    void pressOK() { window.findChild<QPushButton*>(QStringLiteral("OKButton"))->click(); }

    config::LanguageTexts texts = testing_support::numberedTexts();
    ui::frm_Konfiguration window;
};

QString native(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
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
