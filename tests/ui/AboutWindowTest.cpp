// The About window on its own: its texts, its fixed "OK", and closing.
#include "support/Files.h"
#include "support/TestTexts.h"
#include "ui/frm_About.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTexts67To71AndTheVersion()
    {
        const config::LanguageTexts texts = testing_support::numberedTexts();
        ui::frm_About window(texts);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("L67"));
        const auto label = [&](const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
        QCOMPARE(label("lblTitle"), QStringLiteral("L68"));
        QCOMPARE(label("lblVersion"), QStringLiteral("L69 1.3.3"));
        QCOMPARE(label("lblDescription"), QStringLiteral("L70"));
        QCOMPARE(label("lblInfo"), QStringLiteral("L71"));
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
        QVERIFY(!window.windowIcon().isNull());
    }

    void textsAreShownAsTheyAre()
    {
        config::LanguageTexts texts = testing_support::numberedTexts();
        texts.setLine(70, "<b>not bold</b> & more");
        ui::frm_About window(texts);
        auto* description = window.findChild<QLabel*>(QStringLiteral("lblDescription"));
        QCOMPARE(description->text(), QStringLiteral("<b>not bold</b> & more"));
        QCOMPARE(description->textFormat(), Qt::PlainText);
    }

    void okAndTheCloseBoxBothClose()
    {
        const config::LanguageTexts texts = testing_support::numberedTexts();
        ui::frm_About byButton(texts);
        byButton.show();
        QSignalSpy closedByButton(&byButton, &ui::frm_About::closed);
        QTest::mouseClick(byButton.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QCOMPARE(closedByButton.count(), 1);
        QVERIFY(!byButton.isVisible());

        ui::frm_About byCloseBox(texts);
        byCloseBox.show();
        QSignalSpy closedByBox(&byCloseBox, &ui::frm_About::closed);
        byCloseBox.close();
        QCOMPARE(closedByBox.count(), 1);
    }
};

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
