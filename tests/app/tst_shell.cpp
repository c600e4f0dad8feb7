#include "testwindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

const QString kExitText =
    blanks(23) + "OK to Really Exit ?\r\r" + blanks(12) + "(Be sure you have saved your files)";

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exitAsksFirst_data()
    {
        QTest::addColumn<bool>("viaButton");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("quits");
        QTest::newRow("menu, OK") << false << int(Platform::Answer::Ok) << 1;
        QTest::newRow("menu, Cancel") << false << int(Platform::Answer::Cancel) << 0;
        QTest::newRow("button, OK") << true << int(Platform::Answer::Ok) << 1;
        QTest::newRow("button, Cancel") << true << int(Platform::Answer::Cancel) << 0;
    }

    void exitAsksFirst()
    {
        QFETCH(bool, viaButton);
        QFETCH(int, answer);
        QFETCH(int, quits);
        TestWindow t;
        t.platform.answers << Platform::Answer(answer);
        viaButton ? t.window->Exit_button_Click() : t.window->MENUexit_Click();
        QCOMPARE(t.platform.quitCalls, quits);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const auto& box = t.platform.messageBoxes[0];
        QCOMPARE(box.prompt, kExitText);
        QCOMPARE(box.title, applicationTitle());
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::None);
    }

    void exitDuringATestRun()
    {
        TestWindow t;
        t.ui().ServoControl[0]->setCurrentIndex(1);
        t.window->MENUtest_Click();
        t.window->MENUexit_Click(); // Cancel: the run goes on
        QVERIFY(t.window->testRunning());
        QVERIFY(t.ui().ServoStick->isVisible());
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Stop Test"));

        t.window->Exit_button_Click(); // the button stops the run before asking
        QVERIFY(!t.window->testRunning());
        QVERIFY(t.ui().ServoStick->isHidden());
        QCOMPARE(t.ui().TestButton->text(), QStringLiteral("Test"));
        QCOMPARE(t.platform.quitCalls, 0);
        QTRY_VERIFY(!t.window->runVisible());
    }

    void aboutShowsSixLines()
    {
        TestWindow t;
        t.window->MENUabout_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const auto& box = t.platform.messageBoxes[0];
        const QStringList lines = box.prompt.split('\r');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], blanks(25) + "G L I M M E R O N");
        QCOMPARE(lines[1], blanks(22) + QString(18, '='));
        QCOMPARE(lines[2], QStringLiteral("  Programmable LED Sequencer/Flasher  - Rev4"));
        QVERIFY(lines[3].startsWith(blanks(27) + "By:  "));
        QVERIFY(lines[3].size() > 32);
        QVERIFY(lines[4].startsWith(blanks(26)) && lines[4].size() > 26);
        QCOMPARE(lines[5], blanks(33) + "Jan 2011");
        QCOMPARE(box.buttons, Platform::Buttons::Ok);
        QCOMPARE(box.icon, Platform::Icon::None);
        QCOMPARE(box.title, applicationTitle());
    }

    void usersManualOpensOnlyOnOk()
    {
        TestWindow t;
        t.window->MENUhowto_Click(); // unscripted: Cancel
        QVERIFY(t.platform.openedUrls.isEmpty());
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        const auto& box = t.platform.messageBoxes[1];
        QCOMPARE(box.title,
                 QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual"));
        QVERIFY(box.prompt.startsWith("\r Click OK to view the Glimmeron Users' Manual on the "));
        QVERIFY(box.prompt.endsWith(" webpage..."));
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
        QCOMPARE(t.platform.quitCalls, 0);
        QVERIFY(t.platform.shownDocuments.isEmpty());

        // No browser: the manual built into the program shows instead.
        t.platform.browserWorks = false;
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        QCOMPARE(t.platform.shownDocuments.size(), 1);
        QCOMPARE(t.platform.shownDocuments[0].first, t.platform.messageBoxes[1].title);
        QVERIFY(t.platform.shownDocuments[0].second.contains("<h2>Download</h2>"));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
