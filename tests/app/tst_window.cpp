#include "app/layout.h"
#include "preview/ledshape.h"
#include "sequence/cellbox.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>

using Trigger = std::function<void(TestWindow&)>;
using Effect = std::function<bool(TestWindow&)>;
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(Effect)

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

const QString kExitText =
    blanks(23) + "OK to Really Exit ?\r\r" + blanks(12) + "(Be sure you have saved your files)";

Trigger action(QAction* MainControls::*entry)
{
    return [entry](TestWindow& t) { (t.ui().*entry)->trigger(); };
}

Trigger button(QPushButton* MainControls::*control)
{
    return [control](TestWindow& t) { QTest::mouseClick(t.ui().*control, Qt::LeftButton); };
}

Trigger keys(QKeySequence::StandardKey key)
{
    return [key](TestWindow& t) { QTest::keySequence(t.window.get(), QKeySequence(key)); };
}

Trigger key(Qt::Key k)
{
    return [k](TestWindow& t) { QTest::keyClick(t.window.get(), k); };
}

Effect dialog(const char* title)
{
    return [title](TestWindow& t) {
        return t.platform.fileDialogs.size() == 1 &&
               t.platform.fileDialogs[0].request.title.startsWith(QLatin1String(title));
    };
}

Effect box(const QString& text)
{
    return [text](TestWindow& t) {
        return t.platform.messageBoxes.size() == 1 &&
               (t.platform.messageBoxes[0].prompt.contains(text) ||
                t.platform.messageBoxes[0].title == text);
    };
}

} // namespace

class TestWindowShell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every menu entry, button and key reaches its own handler.
    void commandsReachTheirHandlers_data()
    {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<Effect>("effect");
        const Effect cleared = [](TestWindow& t) {
            return t.window->windowTitle() == "GLIMMERON  -  Programmable LED Sequencer/Flasher";
        };
        const Effect running = [](TestWindow& t) { return t.window->testRunning(); };
        const Effect settings = [](TestWindow& t) { return t.window->settingsForm()->isVisible(); };
        const Effect download = box("No serial port has number 1.");
        const Effect manual = box("GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual");
        QTest::newRow("New") << action(&MainControls::MENUnew) << cleared;
        QTest::newRow("Ctrl+N") << keys(QKeySequence::New) << cleared;
        QTest::newRow("Open") << action(&MainControls::MENUopen) << dialog("Open");
        QTest::newRow("Open button") << button(&MainControls::OpenButton) << dialog("Open");
        QTest::newRow("Ctrl+O") << keys(QKeySequence::Open) << dialog("Open");
        QTest::newRow("Merge") << action(&MainControls::MENUmerge) << dialog("Merge");
        QTest::newRow("Save") << action(&MainControls::MENUsave) << dialog("Save");
        QTest::newRow("Save button") << button(&MainControls::SaveButton) << dialog("Save");
        QTest::newRow("Ctrl+S") << keys(QKeySequence::Save) << dialog("Save");
        QTest::newRow("Exit") << action(&MainControls::MENUexit) << box(kExitText);
        QTest::newRow("Exit button") << button(&MainControls::Exit_button) << box(kExitText);
        QTest::newRow("Ctrl+Q") << Trigger([](TestWindow& t) {
            QTest::keyClick(t.window.get(), Qt::Key_Q, Qt::ControlModifier);
        }) << box(kExitText);
        QTest::newRow("Test") << action(&MainControls::MENUtest) << running;
        QTest::newRow("Test button") << button(&MainControls::TestButton) << running;
        QTest::newRow("F5") << key(Qt::Key_F5) << running;
        QTest::newRow("Download") << action(&MainControls::MENUdownload) << download;
        QTest::newRow("DOWNLOAD button") << button(&MainControls::DownloadButton) << download;
        QTest::newRow("Settings") << action(&MainControls::MENUsettings) << settings;
        QTest::newRow("Settings button") << button(&MainControls::Settings_button) << settings;
        QTest::newRow("About") << action(&MainControls::MENUabout) << box("G L I M M E R O N");
        QTest::newRow("Users' Manual") << action(&MainControls::MENUhowto) << manual;
        QTest::newRow("F1") << key(Qt::Key_F1) << manual;
        QTest::newRow("Ctrl+Z") << keys(QKeySequence::Undo) << Effect([](TestWindow& t) {
            return !t.window->cellOn(1, 0) && t.ui().MENUredo->text() == "&Redo Cell Click";
        });
    }

    void commandsReachTheirHandlers()
    {
        QFETCH(Trigger, trigger);
        QFETCH(Effect, effect);
        TestWindow t;
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QTest::mouseClick(t.ui().iSwitchLedX[0][0], Qt::LeftButton); // something to undo
        QVERIFY(!effect(t));
        trigger(t);
        QVERIFY(effect(t));
        t.window->settingsForm()->hide();
    }

    void exitAsksFirst_data()
    {
        QTest::addColumn<bool>("viaButton");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, OK") << false << int(Platform::Answer::Ok);
        QTest::newRow("menu, Cancel") << false << int(Platform::Answer::Cancel);
        QTest::newRow("button, OK") << true << int(Platform::Answer::Ok);
        QTest::newRow("button, Cancel") << true << int(Platform::Answer::Cancel);
    }

    // The button stops a running test before it asks; the menu entry does not.
    void exitAsksFirst()
    {
        QFETCH(bool, viaButton);
        QFETCH(int, answer);
        TestWindow t;
        t.ui().ServoControl[0]->setCurrentIndex(1);
        t.window->MENUtest_Click();
        t.platform.answers << Platform::Answer(answer);
        viaButton ? t.window->Exit_button_Click() : t.window->MENUexit_Click();
        QCOMPARE(t.platform.quitCalls, answer == int(Platform::Answer::Ok) ? 1 : 0);
        const auto box = t.platform.messageBoxes.value(0);
        QCOMPARE(box.prompt, kExitText);
        QCOMPARE(box.title, applicationTitle());
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::None);
        QCOMPARE(t.window->testRunning(), !viaButton);
        QCOMPARE(t.ui().ServoStick->isVisible(), !viaButton);
        QCOMPARE(t.ui().TestButton->text(),
                 viaButton ? QStringLiteral("Test") : QStringLiteral("Stop Test"));
    }

    void usersManualOpensOnlyOnOk()
    {
        TestWindow t;
        t.window->MENUhowto_Click(); // unscripted: Cancel
        QVERIFY(t.platform.openedUrls.isEmpty());
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        const auto box = t.platform.messageBoxes.value(1);
        QVERIFY(box.prompt.startsWith("\r Click OK to view the Glimmeron Users' Manual on the "));
        QVERIFY(box.prompt.endsWith(" webpage..."));
        QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
        QVERIFY(t.platform.shownDocuments.isEmpty());

        // No browser: the manual built into the program shows instead.
        t.platform.browserWorks = false;
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        QCOMPARE(t.platform.shownDocuments.size(), 1);
        QCOMPARE(t.platform.shownDocuments[0].first, box.title);
        QVERIFY(t.platform.shownDocuments[0].second.contains("<h2>Download</h2>"));
        QCOMPARE(t.platform.quitCalls, 0);
    }

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

QTEST_MAIN(TestWindowShell)
#include "tst_window.moc"
