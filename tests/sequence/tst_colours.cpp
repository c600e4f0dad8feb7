#include "app/layout.h"
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
        QTest::newRow("Blue") << 4 << QColor(0, 0, 255);
        QTest::newRow("Cyan") << 6 << QColor(0, 255, 255);
    }

    void choosingAColourRecoloursTheLabel()
    {
        QFETCH(int, entry);
        QFETCH(QColor, colour);
        TestWindow t;
        QList<int> highlighted;
        auto pick = [&](int row) {
            QTimer::singleShot(0, [&, row] {
                highlighted << t.ui().ColorList->currentRow();
                clickListEntry(t.ui().ColorList, row < 0 ? highlighted.last() : row);
            });
        };
        pick(entry);
        QTest::mouseClick(t.ui().LEDlabel1[1], Qt::LeftButton);
        QVERIFY(t.ui().ColorList->isHidden());
        QCOMPARE(textColour(t.ui().LEDlabel1[1]), colour);
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(Qt::white));
        pick(-1);
        t.window->LEDlabel1_Click(1);
        QCOMPARE(highlighted, QList<int>({7, entry})); // opens on the LED's colour
        QCOMPARE(t.window->ledColourIndex(1), entry);
    }

    // A second label clicked while the list is open: one choice, applied inner first.
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
        QCOMPARE(textColour(t.ui().LEDlabel1[2]), QColor(0, 255, 0));
    }

    void newReturnsToTheStartState()
    {
        TestWindow t;
        QByteArray file;
        for (int i = 0; i < 50; ++i)
            file += "\"15\"\r\n";
        writeFile(
            t.path("FULL.DAT"),
            file +
                "1\r\n2\r\n3\r\n0\r\n9\r\n9\r\n9\r\n9\r\n20\r\n0\r\n3\r\n5\r\n8\r\n99\r\n42\r\n");
        t.platform.fileChoices << t.path("FULL.DAT");
        t.window->MENUopen_Click();
        t.window->MENUtest_Click();

        t.window->MENUnew_Click();
        QCOMPARE(t.window->windowTitle(),
                 QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher"));
        QCOMPARE(memTexts(*t.window), QStringList(50, "0"));
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(textColour(t.ui().TimeAxis[20]), QColor(Qt::black));
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));
        QCOMPARE(t.ui().TimeAxis[49]->font().pointSizeF(), 8.0);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(textColour(t.ui().LEDlabel1[k]), QColor(Qt::white));
            QCOMPARE(t.ui().ServoControl[k]->currentText(), QStringLiteral("NONE"));
        }
        QCOMPARE(t.window->ledColourIndex(5), 9);          // entries 4..7 are not New's
        QCOMPARE(t.window->settings().sequencerDelay, 99); // settings untouched
        QVERIFY(t.window->testRunning());                  // a run goes on
        QVERIFY(t.platform.messageBoxes.isEmpty());
        t.window->MENUnew_Click(); // again, with the mark already at 49
        QCOMPARE(textColour(t.ui().TimeAxis[49]), QColor(Qt::red));

        // The remembered name survives New: Save proposes it again.
        t.window->MENUsave_Click(); // also stops the run
        QCOMPARE(t.platform.fileDialogs.last().request.initialName, QStringLiteral("FULL.DAT"));
        QTRY_VERIFY(!t.window->runVisible());
    }
};

QTEST_MAIN(TestColoursAndNew)
#include "tst_colours.moc"
