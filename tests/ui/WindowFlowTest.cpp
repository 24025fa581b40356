// The desktop program's windows in flows, one per file in tests/data/desktop/flows: the command line,
// then the steps of DesktopWorld::run. Every message box must be expected by a "boxes" step. Then
// two widgets on their own: the progress bar and the drive list.
#include "support/DesktopWorld.h"

#include "desktop/DriveList.h"
#include "desktop/ProgressWidgets.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace std::chrono_literals;

class WindowFlowTest : public QObject {
    Q_OBJECT

private slots:
    void flows_data()
    {
        QTest::addColumn<QJsonObject>("flow");
        const QDir folder(QString::fromStdString((testing_support::testDataDir() / "desktop" / "flows").string()));
        for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(file.baseName()))
                << QJsonDocument::fromJson(QByteArray::fromStdString(testing_support::readBytes(file.filesystemFilePath()))).object();
    }

    void flows()
    {
        QFETCH(QJsonObject, flow);
        ui_testing::DesktopWorld world(flow[QStringLiteral("arguments")].toString().toStdString());
        for (const QJsonValue step : flow[QStringLiteral("steps")].toArray()) {
            world.run(step.toArray());
            if (QTest::currentTestFailed()) {
                qWarning("at the step %s", QJsonDocument(step.toArray()).toJson(QJsonDocument::Compact).constData());
                return;
            }
        }
        world.run(QJsonArray{QStringLiteral("boxes")}); // and no box more
    }

    void theBarWaitsBetweenPaintsButTheLastValueComesAtOnce()
    {
        QProgressBar bar;
        QLabel caption;
        app::ProgressWidgets progress(bar, caption, 1h);
        progress.show("L11", 100);
        QVERIFY(caption.isVisible() && bar.isVisible());
        QCOMPARE(caption.text(), QStringLiteral("L11"));
        for (int value = 1; value < 100; ++value)
            progress.setValue(value);
        QCOMPARE(bar.value(), 0);
        progress.setValue(100);
        QCOMPARE(bar.value(), 100);
        progress.hide();
        QVERIFY(!caption.isVisible() && !bar.isVisible());
        QCOMPARE(caption.text(), QString());
        progress.show("L10", 0); // a part program without commands: an empty bar, not a busy indicator
        QVERIFY(bar.maximum() > bar.minimum());
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

QTEST_MAIN(WindowFlowTest)
#include "WindowFlowTest.moc"
