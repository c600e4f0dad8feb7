#include "app/layout.h"
#include "files/sequencefile.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

class TestColoursAndNew : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosingAColourRecoloursTheLabel_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("Black") << 0 << QColor(0, 0, 0);
        QTest::newRow("Red") << 1 << QColor(255, 0, 0);
        QTest::newRow("Yellow") << 3 << QColor(255, 255, 0);
        QTest::newRow("Blue") << 4 << QColor(0, 0, 255);
        QTest::newRow("Cyan") << 6 << QColor(0, 255, 255);
        QTest::newRow("White") << 7 << QColor(255, 255, 255);
    }

    void choosingAColourRecoloursTheLabel()
    {
        QFETCH(int, entry);
        QFETCH(QColor, colour);
        TestWindow t;
        int highlighted = -1;
        QTimer::singleShot(0, [&] {
            highlighted = t.ui().ColorList->currentRow();
            clickListEntry(t.ui().ColorList, entry);
        });
        QTest::mouseClick(t.ui().LEDlabel1[1], Qt::LeftButton);
        QCOMPARE(highlighted, 7); // opens on White
        QVERIFY(t.ui().ColorList->isHidden());
        QCOMPARE(t.window->ledColourIndex(1), entry);
        QCOMPARE(textColour(t.ui().LEDlabel1[1]), colour);
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(Qt::white));

        QTimer::singleShot(0, [&] {
            highlighted = t.ui().ColorList->currentRow();
            clickListEntry(t.ui().ColorList, highlighted);
        });
        t.window->LEDlabel1_Click(1);
        QCOMPARE(highlighted, entry); // reopens on the LED's colour
        QCOMPARE(t.window->ledColourIndex(1), entry);
    }

    void secondLabelClickNestsInsideTheFirst()
    {
        TestWindow t;
        QList<int> appliedTo;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] { clickListEntry(t.ui().ColorList, 2); });
            t.window->LEDlabel1_Click(2);
            appliedTo << 3;
            QCOMPARE(t.window->ledColourIndex(0), 7); // LED 1 not yet
        });
        t.window->LEDlabel1_Click(0);
        appliedTo << 1;
        QCOMPARE(appliedTo, QList<int>({3, 1}));
        QCOMPARE(t.window->ledColourIndex(0), 2);
        QCOMPARE(t.window->ledColourIndex(2), 2);
        QCOMPARE(textColour(t.ui().LEDlabel1[2]), QColor(0, 255, 0));
    }

    void newReturnsToTheStartState()
    {
        TestWindow t;
        SequenceData file;
        file.events.fill(15);
        file.colourIndexes = {1, 2, 3, 0, 9, 9, 9, 9};
        file.lastEvent = 20;
        file.servoModes = {0, 3, 5, 8};
        file.sequencerDelay = 99;
        file.testSpeed = 42;
        writeFile(t.path("FULL.DAT"), writeSequenceFile(file));
        t.platform.fileChoices << t.path("FULL.DAT");
        t.window->MENUopen_Click();
        t.window->MENUtest_Click();

        t.window->MENUnew_Click();
        QCOMPARE(t.window->windowTitle(),
                 QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher"));
        QCOMPARE(memTexts(*t.window), QStringList(50, "0"));
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(t.window->lastEventIndex(), 49);
        QCOMPARE(t.ui().TimeAxis[20]->font().pointSizeF(), 6.0);
        QCOMPARE(textColour(t.ui().TimeAxis[20]), QColor(Qt::black));
        QCOMPARE(t.ui().TimeAxis[49]->font().pointSizeF(), 8.0);
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(t.window->ledColourIndex(k), 7);
            QCOMPARE(textColour(t.ui().LEDlabel1[k]), QColor(Qt::white));
            QCOMPARE(t.ui().ServoControl[k]->currentText(), QStringLiteral("NONE"));
        }
        QCOMPARE(t.window->ledColourIndex(5), 9);          // entries 4..7 are not New's
        QCOMPARE(t.window->settings().sequencerDelay, 99); // settings untouched
        QCOMPARE(t.window->settings().testSpeed, 42);
        QVERIFY(t.window->testRunning()); // a run goes on
        QVERIFY(t.platform.messageBoxes.isEmpty());

        // The remembered name survives New: Save proposes it again.
        t.window->MENUsave_Click(); // also stops the run
        QCOMPARE(t.platform.fileDialogs.last().request.initialName, QStringLiteral("FULL.DAT"));
        QTRY_VERIFY(!t.window->runVisible());
    }

    void newWithTheMarkAlreadyAt49KeepsItMarked()
    {
        TestWindow t;
        t.window->MENUnew_Click();
        QCOMPARE(t.ui().TimeAxis[49]->font().pointSizeF(), 8.0);
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));
    }
};

QTEST_MAIN(TestColoursAndNew)
#include "tst_colours.moc"
