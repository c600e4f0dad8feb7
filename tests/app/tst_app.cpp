#include "app/commandline.h"
#include "platform/layout.h"
#include "preview/ledshape.h"
#include "ptycapture.h"
#include "sequence/cellbox.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>

using Trigger = std::function<void(TestWindow&)>;
using Effect = std::function<bool(TestWindow&)>;
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(Effect)

namespace {

const QString kExitText = QString(23, ' ') + "OK to Really Exit ?\r\r" + QString(12, ' ') +
                          "(Be sure you have saved your files)";

Trigger action(QAction* MainControls::*entry)
{
    return [entry](TestWindow& t) { (t.ui().*entry)->trigger(); };
}

Trigger button(QPushButton* MainControls::*control)
{
    return [control](TestWindow& t) { QTest::mouseClick(t.ui().*control, Qt::LeftButton); };
}

Trigger keys(QKeySequence sequence)
{
    return [sequence](TestWindow& t) { QTest::keySequence(t.window.get(), sequence); };
}

// The one file dialog opened, or the one message box shown, has this title or text.
Effect shown(const QString& text)
{
    return [text](TestWindow& t) {
        const auto& boxes = t.platform.messageBoxes;
        const auto& dialogs = t.platform.fileDialogs;
        return (dialogs.size() == 1 && dialogs[0].title.startsWith(text)) ||
               (boxes.size() == 1 && (boxes[0].prompt.contains(text) || boxes[0].title == text));
    };
}

struct Run
{
    int status;
    QByteArray out, err;
    bool askedForEnter = false;
};

// Runs the command line with "@" standing for a data file holding `file`, and an
// LED.cfg that names port 2.
Run run(QStringList arguments, const QByteArray& file, ScriptedPlatform& platform)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("SEQ.DAT"), file);
    writeFile(dir.filePath("LED.cfg"), "2\r\n");
    arguments.replaceInStrings("@", dir.filePath("SEQ.DAT")).prepend("glimmeron");
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run result{};
    Console console{out, err, false, [&] { result.askedForEnter = true; }};
    result.status =
        runCommand(parseCommandLine(arguments), platform, dir.filePath("LED.cfg"), console);
    result.out = out.data();
    result.err = err.data();
    return result;
}

} // namespace

class TestApp : public QObject
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
        const Effect manual =
            shown("GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual");
        const Effect undone = [](TestWindow& t) {
            return !t.window->cellOn(1, 0) && t.ui().MENUredo->text() == "&Redo Cell Click";
        };
        using M = MainControls;
        QTest::newRow("New") << action(&M::MENUnew) << cleared;
        QTest::newRow("Ctrl+N") << keys(QKeySequence::New) << cleared;
        QTest::newRow("Open") << action(&M::MENUopen) << shown("Open");
        QTest::newRow("Open button") << button(&M::OpenButton) << shown("Open");
        QTest::newRow("Ctrl+O") << keys(QKeySequence::Open) << shown("Open");
        QTest::newRow("Merge") << action(&M::MENUmerge) << shown("Merge");
        QTest::newRow("Save") << action(&M::MENUsave) << shown("Save");
        QTest::newRow("Save button") << button(&M::SaveButton) << shown("Save");
        QTest::newRow("Ctrl+S") << keys(QKeySequence::Save) << shown("Save");
        QTest::newRow("Exit") << action(&M::MENUexit) << shown(kExitText);
        QTest::newRow("Exit button") << button(&M::Exit_button) << shown(kExitText);
        QTest::newRow("Ctrl+Q") << keys(QKeySequence(Qt::CTRL | Qt::Key_Q)) << shown(kExitText);
        QTest::newRow("Test") << action(&M::MENUtest) << running;
        QTest::newRow("Test button") << button(&M::TestButton) << running;
        QTest::newRow("F5") << keys(Qt::Key_F5) << running;
        QTest::newRow("Download") << action(&M::MENUdownload)
                                  << shown("No serial port has number 1.");
        QTest::newRow("DOWNLOAD button")
            << button(&M::DownloadButton) << shown("No serial port has number 1.");
        QTest::newRow("Settings") << action(&M::MENUsettings) << settings;
        QTest::newRow("Settings button") << button(&M::Settings_button) << settings;
        QTest::newRow("About") << action(&M::MENUabout) << shown("G L I M M E R O N");
        QTest::newRow("Users' Manual") << action(&M::MENUhowto) << manual;
        QTest::newRow("F1") << keys(Qt::Key_F1) << manual;
        QTest::newRow("Ctrl+Z") << keys(QKeySequence::Undo) << undone;
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
    }

    // The button stops a running test before it asks; the menu entry does not; the close
    // box ends the program at once.
    void exitAsksFirst()
    {
        for (bool viaButton : {false, true}) {
            TestWindow t;
            t.ui().ServoControl[0]->setCurrentIndex(1);
            t.window->MENUtest_Click();
            t.platform.answers << (viaButton ? Platform::Answer::Ok : Platform::Answer::Cancel);
            viaButton ? t.window->Exit_button_Click() : t.window->MENUexit_Click();
            QCOMPARE(t.platform.quitCalls, viaButton ? 1 : 0);
            const auto box = t.platform.messageBoxes.value(0);
            QVERIFY(box.prompt == kExitText && box.title == applicationTitle() &&
                    box.buttons == Platform::Buttons::OkCancel && box.icon == Platform::Icon::None);
            QCOMPARE(t.window->testRunning(), !viaButton);
            QCOMPARE(t.ui().ServoStick->isVisible(), !viaButton);
        }
        TestWindow t;
        t.window->setCell(2, 5, true); // unsaved work, and the close box asks nothing
        QVERIFY(t.window->close());
        QVERIFY(t.platform.quitCalls == 1 && t.platform.messageBoxes.isEmpty());
    }

    void usersManualOpensOnlyOnOk()
    {
        TestWindow t;
        t.window->MENUhowto_Click(); // unscripted: Cancel
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        QVERIFY(t.platform.shownDocuments.isEmpty());
        const auto box = t.platform.messageBoxes.value(1);
        QVERIFY(box.prompt.startsWith("\r Click OK to view the Glimmeron Users' Manual on the ") &&
                box.prompt.endsWith(" webpage...") && box.icon == Platform::Icon::Exclamation);
        t.platform.browserWorks = false; // no browser: the built-in manual shows instead
        t.platform.answers << Platform::Answer::Ok;
        t.window->MENUhowto_Click();
        const auto [title, html] = t.platform.shownDocuments.value(0);
        QVERIFY(title == box.title && html.contains("<h2>Download</h2>"));
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
        QVERIFY(frame.width() <= available.width() && frame.height() <= available.height());
        const MainControls& ui = t.ui();
        QVERIFY(ui.OpenButton->font().pointSizeF() >= 9.5); // legible at every scale
        // Cells run at one whole-pixel pitch; rows line up with their name and selector.
        const int pitch = ui.iSwitchLedX[0][1]->x() - ui.iSwitchLedX[0][0]->x();
        QCOMPARE(ui.iSwitchLedX[0][49]->x() - ui.iSwitchLedX[0][0]->x(), 49 * pitch);
        QCOMPARE(ui.TimeAxis[7]->x(), ui.iSwitchLedX[0][7]->x());
        QList<QWidget*> apart{ui.OpenButton,     ui.SaveButton,  ui.TestButton,  ui.Settings_button,
                              ui.DownloadButton, ui.Exit_button, ui.TimeAxis[0], ui.TimeAxis[49]};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(ui.LEDlabel1[k]->y(), ui.iSwitchLedX[k][0]->y());
            apart << ui.LEDlabel1[k] << ui.LED[k] << ui.RowOptions[k] << ui.ServoControl[k]
                  << ui.iSwitchLedX[k][0] << ui.iSwitchLedX[k][49];
        }
        for (QWidget* a : apart) { // every control whole and clickable, none on another
            QVERIFY(t.window->centralWidget()->rect().contains(a->geometry()));
            for (QWidget* b : apart)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " on " + b->objectName()));
        }
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // compared whole where not empty
        QTest::addColumn<QString>("err");    // a part of what standard error says
        const QByteArray zeros(94, '0');
        // The data-file worked example.
        QTest::newRow("stream, file example")
            << QStringList{"--stream", "@"} << golden("worked-example.dat") << 0
            << streamOf("2a05020f" + zeros + "00010f0f1e02") << QString();
        QTest::newRow("stream, refused file")
            << QStringList{"--stream", "@"} << QByteArray("\"1\"\r\n\"99\"\r\n") << 2
            << QByteArray() << "Record 2: ";
        QTest::newRow("list ports")
            << QStringList{"--list-ports"} << QByteArray() << 0
            << QByteArray("1 /dev/ttyUSB0 FT232R USB UART\n2 /dev/ttyS0\n") << QString();
        QTest::newRow("download, no device")
            << QStringList{"--download", "@", "--port", "3", "--yes"} << golden("start-up.dat") << 1
            << QByteArray() << "No serial port has number 3.";
        QTest::newRow("download, refused file")
            << QStringList{"--download", "@", "--yes"} << QByteArray("junk") << 2 << QByteArray()
            << "not a valid sequence data file";
        QTest::newRow("bad port") << QStringList{"--download", "@", "--port", "21"} << QByteArray()
                                  << 2 << QByteArray() << "must be 1 to 20";
        QTest::newRow("two files") << QStringList{"A.DAT", "B.DAT"} << QByteArray() << 2
                                   << QByteArray() << "Unexpected argument: A.DAT";
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        ScriptedPlatform platform;
        platform.ports = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "FT232R USB UART"}};
        const Run result = run(arguments, file, platform);
        QCOMPARE(result.status, status);
        if (!out.isEmpty())
            QCOMPARE(result.out, out);
        QVERIFY2(result.err.contains(err.toLocal8Bit()), result.err.constData());
    }

    // Without --yes it waits for Enter; event values 13 and 10 go out raw.
    void downloadSendsTheFileToTheConfiguredPort()
    {
        PtyCapture pty;
        qputenv("GLIMMERON_PORT_2", pty.deviceName().toLocal8Bit());
        ScriptedPlatform platform;
        const Run result =
            run({"--download", "@"},
                golden("start-up.dat", {{1, "13"}, {2, "10"}, {59, "1"}, {64, "100"}}), platform);
        qunsetenv("GLIMMERON_PORT_2");
        QVERIFY(result.status == 0 && result.askedForEnter);
        QVERIFY(pty.waitForBytes(171, 2000));
        QCOMPARE(pty.bytes(), streamOf("2a0d0a" + QByteArray(96, '0') + "0f0f0f0f6401"));
        QVERIFY(result.out.startsWith("Downloaded 171 bytes to the GLIMMERON on port 2 (" +
                                      pty.deviceName().toLocal8Bit() + ") at "));
        QVERIFY(result.err.contains("Cycle power") &&
                result.err.contains("Sent 50 of 57 records\nSent 57 of 57 records\n"));
    }

    void fileArgumentOpensTheWindowWithIt()
    {
        const CommandLine command = parseCommandLine({"glimmeron", "A.DAT"});
        QCOMPARE(command.action, CommandLine::Action::Window);
        QCOMPARE(command.file, QStringLiteral("A.DAT"));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
