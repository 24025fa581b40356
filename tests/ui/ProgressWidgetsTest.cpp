// The progress display: what the walks set, and how often it is painted.
#include "app/ProgressWidgets.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QVBoxLayout>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Counts the paint events of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A window with a label and a bar, hidden as the main window keeps them between runs.
class ProgressWindow {
public:
    ProgressWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(bar);
        bar->setMinimumWidth(400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        label->hide();
        bar->hide();
    }
    QWidget window;
    QLabel* label = new QLabel(&window);
    QProgressBar* bar = new QProgressBar(&window);
};

} // namespace

class ProgressWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void showSetsCaptionAndMaximum()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label);
        progress.show("L11", 250);
        QVERIFY(w.label->isVisible());
        QVERIFY(w.bar->isVisible());
        QCOMPARE(w.label->text(), QStringLiteral("L11"));
        QCOMPARE(w.bar->maximum(), 250);
        QCOMPARE(w.bar->value(), 0);
        progress.hide();
        QVERIFY(!w.label->isVisible());
        QVERIFY(!w.bar->isVisible());
        QCOMPARE(w.label->text(), QString());
    }

    void aPartProgramWithoutCommandsShowsAnEmptyBar()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label);
        progress.show("L10", 0);
        QVERIFY(w.bar->maximum() > w.bar->minimum()); // not a busy indicator
        QCOMPARE(w.bar->value(), 0);
    }

    void betweenPaintsTheBarWaitsButTheLastValueComesAtOnce()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label, 1h);
        progress.show("L11", 100);
        for (int value = 1; value < 100; ++value)
            progress.setValue(value);
        QCOMPARE(progress.value(), 99);
        QCOMPARE(w.bar->value(), 0);
        progress.setValue(100);
        QCOMPARE(w.bar->value(), 100);
    }

    void withoutIntervalEveryValueGoesThrough()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label, 0ms);
        progress.show("L11", 10);
        for (int value = 1; value <= 10; ++value) {
            progress.setValue(value);
            QCOMPARE(w.bar->value(), value);
        }
    }

    void paintsAtMostAboutEvery30ms()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label);
        // The value follows the clock in microseconds, so every interval brings a visible change.
        progress.show("L11", 400'000);
        PaintCounter counter(*w.bar);
        QElapsedTimer clock;
        clock.start();
        int calls = 0;
        while (clock.elapsed() < 300) {
            progress.setValue(static_cast<int>(clock.nsecsElapsed() / 1000));
            ++calls;
        }
        const qint64 elapsed = clock.elapsed();
        // The event loop never ran: every paint counted was one the display made itself.
        QVERIFY2(counter.paints <= elapsed / 30 + 2, qPrintable(QStringLiteral("%1 paints in %2 ms").arg(counter.paints).arg(elapsed)));
        QVERIFY2(counter.paints >= 3, qPrintable(QStringLiteral("%1 paints in %2 ms").arg(counter.paints).arg(elapsed)));
        QVERIFY(calls > 1000);
        QVERIFY(w.bar->value() > 0);
    }

    void aHundredThousandCommandsCostLittle()
    {
        ProgressWindow w;
        app::ProgressWidgets progress(*w.bar, *w.label);
        PaintCounter counter(*w.bar);
        QElapsedTimer clock;
        clock.start();
        progress.show("L10", 100'000);
        for (int value = 1; value <= 100'000; ++value)
            progress.setValue(value);
        progress.hide();
        const qint64 elapsed = clock.elapsed();
        qInfo("100000 values: %lld ms, %d paints of the bar", elapsed, counter.paints);
        QVERIFY2(elapsed < 500, qPrintable(QString::number(elapsed)));
        QCOMPARE(w.bar->value(), 100'000);
    }
};

QTEST_MAIN(ProgressWidgetsTest)
#include "ProgressWidgetsTest.moc"
