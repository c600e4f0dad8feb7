#include "app/layout.h"
#include "preview/ledshape.h"
#include "sequence/cellbox.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnAnEmptySequence()
    {
        TestWindow t;
        const MainControls& ui = t.ui();
        QCOMPARE(t.window->windowTitle(),
                 QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - Rev4"));
        QCOMPARE(t.window->currentSequence(), SequenceData{});
        QVERIFY(eventValuesMatchCells(*t.window));
        for (int i = 0; i < 50; ++i)
            QCOMPARE(ui.TimeAxis[i]->text(), QString::number((i + 1) % 10));
        QCOMPARE(textColour(ui.TimeAxis[49]), QColor(Qt::red));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(ui.ServoControl[k]->currentText(), QStringLiteral("NONE"));
            QCOMPARE(textColour(ui.LEDlabel1[k]), QColor(Qt::white));
            QCOMPARE(ui.LED[k]->fillColour(), QColor(Qt::black));
        }
        for (QWidget* hidden : std::initializer_list<QWidget*>{
                 ui.RowOptionsList, ui.CopyList, ui.ColorList, ui.DLlabel, ui.ProgressBar1,
                 ui.ServoStick, ui.PulseWidthlabel1, ui.PulseWidth, ui.Label2, ui.Vspeed,
                 t.window->settingsForm()})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QCOMPARE(ui.TestButton->text(), QStringLiteral("&Test"));
        QCOMPARE(t.window->settingsForm()->PICSpeedcombo->currentText(), QStringLiteral(" 30"));
        QCOMPARE(t.window->settingsForm()->PCSpeedcombo->currentText(), QStringLiteral(" 20"));
    }

    // Logical screen sizes: 1x, 150 % on 1366 x 768, 200 % on 1600 x 1000, less a panel.
    void keepsTheDesignsLayoutAndFitsTheScreen_data()
    {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<double>("factor");
        QTest::newRow("1x") << QSize(1920, 1040) << 10.0;
        QTest::newRow("1.5x on 1366 x 768") << QSize(910, 485) << 10.75;
        QTest::newRow("2x on 1600 x 1000") << QSize(800, 480) << 12.26;
    }

    void keepsTheDesignsLayoutAndFitsTheScreen()
    {
        QFETCH(QSize, available);
        QFETCH(double, factor);
        const QSize decorations(16, 48);
        QVERIFY(qAbs(fittingTwipsPerPixel(available, decorations + QSize(0, 60)) - factor) < 0.01);
        setTwipsPerPixel(factor);
        TestWindow t;
        setTwipsPerPixel(kDesignTwipsPerPixel);
        const QSize frame = t.window->size() + decorations;
        QVERIFY2(frame.width() <= available.width() && frame.height() <= available.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(frame.width()).arg(frame.height())));
        const MainControls& ui = t.ui();
        QVERIFY(ui.OpenButton->font().pointSizeF() >= 9.5); // legible at every scale
        // Rows stack LED 1 on top; cells run left to right at one pitch and never overlap.
        const int rowPitch = ui.iSwitchLedX[1][0]->y() - ui.iSwitchLedX[0][0]->y();
        QVERIFY(rowPitch > 0 &&
                qAbs(ui.iSwitchLedX[3][0]->y() - ui.iSwitchLedX[2][0]->y() - rowPitch) <= 1);
        const int cellPitch = ui.iSwitchLedX[0][1]->x() - ui.iSwitchLedX[0][0]->x();
        QCOMPARE(ui.iSwitchLedX[0][49]->x() - ui.iSwitchLedX[0][0]->x(), 49 * cellPitch);
        QVERIFY(ui.iSwitchLedX[0][0]->width() <= cellPitch);
        for (int k = 0; k < 4; ++k) { // name, LED circle, options button, cells, selector
            QVERIFY(ui.LEDlabel1[k]->geometry().right() < ui.LED[k]->x());
            QVERIFY(ui.LED[k]->geometry().right() < ui.RowOptions[k]->x());
            QVERIFY(ui.RowOptions[k]->geometry().right() < ui.iSwitchLedX[k][0]->x());
            QVERIFY(ui.ServoControl[k]->x() >= ui.iSwitchLedX[k][49]->geometry().right());
            QCOMPARE(ui.LEDlabel1[k]->y(), ui.iSwitchLedX[k][0]->y());
        }
        QCOMPARE(ui.TimeAxis[7]->x(), ui.iSwitchLedX[0][7]->x());
        QVERIFY(ui.TimeAxis[0]->y() > ui.iSwitchLedX[3][0]->geometry().bottom());
        QVERIFY(ui.OpenButton->y() > ui.TimeAxis[0]->geometry().bottom());
        QCOMPARE(ui.TestButton->y(), ui.DownloadButton->y());
        QCOMPARE(ui.SaveButton->y(), ui.Exit_button->y());
        QCOMPARE(ui.Settings_button->x(), ui.TestButton->x());
        const QSize client = t.window->centralWidget()->size();
        QVERIFY(qAbs(double(client.width()) / client.height() - 9600.0 / 3825.0) < 0.01);
        for (QPushButton* b : {ui.OpenButton, ui.SaveButton, ui.TestButton, ui.Settings_button,
                               ui.DownloadButton, ui.Exit_button})
            QVERIFY(t.window->centralWidget()->rect().contains(b->geometry()));
    }

    void closeBoxEndsTheProgramWithoutAsking()
    {
        TestWindow t;
        t.window->setCell(2, 5, true); // unsaved work
        t.window->StopTest();          // with no run: nothing happens
        QVERIFY(t.window->close());
        QCOMPARE(t.platform.quitCalls, 1);
        QVERIFY(t.platform.messageBoxes.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
