#include "app/commandline.h"
#include "platform/layout.h"
#include "platform/qtplatform.h"
#include "preview/ledshape.h"
#include "preview/testrun.h"
#include "ptycapture.h"
#include "sequence/cellbox.h"
#include "sequence/gridview.h"
#include "sequence/rowcontrols.h"
#include "settings/settingsdialog.h"
#include "testwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

using Trigger = std::function<void(TestWindow&)>;
using Effect = std::function<bool(TestWindow&)>;
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(Effect)
Q_DECLARE_METATYPE(Platform::Buttons)
Q_DECLARE_METATYPE(Platform::Answer)

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
        const Effect running = [](TestWindow& t) { return t.window->testRun()->running(); };
        const Effect settings = [](TestWindow& t) {
            return t.window->settingsDialog()->isVisible();
        };
        const Effect manual =
            shown("GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual");
        const Effect undone = [](TestWindow& t) {
            return !t.document().cell(0, 0) && t.ui().MENUredo->text() == "&Redo Cell Click";
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
        QTest::mouseClick(t.window->grid()->cell(0, 0), Qt::LeftButton); // something to undo
        QVERIFY(!effect(t));
        trigger(t);
        QVERIFY(effect(t));
    }

    // Which commands stop a running test, and which let it go on; Exit asks first, the
    // close box ends the program at once.
    void commandsThatStopATestRun_data()
    {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<bool>("stops");
        QTest::newRow("Merge") << Trigger([](TestWindow& t) { t.window->mergeSequence(); })
                               << false;
        QTest::newRow("Exit entry")
            << Trigger([](TestWindow& t) { t.window->askToExit(); }) << false;
        QTest::newRow("Open") << Trigger([](TestWindow& t) { t.window->openSequence(); }) << true;
        QTest::newRow("Save") << Trigger([](TestWindow& t) { t.window->saveSequence(); }) << true;
        QTest::newRow("Settings") << Trigger([](TestWindow& t) { t.window->showSettings(); })
                                  << true;
        QTest::newRow("Exit button")
            << Trigger([](TestWindow& t) { t.window->exitButton(); }) << true;
        QTest::newRow("Download") << Trigger([](TestWindow& t) { t.window->downloadSequence(); })
                                  << true;
    }

    void commandsThatStopATestRun()
    {
        QFETCH(Trigger, trigger);
        QFETCH(bool, stops);
        TestWindow t;
        t.document().setServoMode(0, 3);
        t.window->toggleTest();
        QVERIFY(t.ui().ServoStick->isVisible());
        trigger(t); // dialogs and questions are cancelled
        QCOMPARE(t.window->testRun()->running(), !stops);
        QCOMPARE(t.ui().ServoStick->isVisible(), !stops);
        QCOMPARE(t.ui().TestButton->text(), stops ? QStringLiteral("Test") : "Stop Test");
        QCOMPARE(t.platform.quitCalls, 0);
        const QString exitRow = QTest::currentDataTag();
        if (exitRow.startsWith("Exit")) {
            const auto box = t.platform.messageBoxes.value(0);
            QCOMPARE(box.prompt, kExitText);
            QCOMPARE(box.title, applicationTitle());
            QVERIFY(box.buttons == Platform::Buttons::OkCancel);
            t.platform.answers << Platform::Answer::Ok;
            trigger(t);
            QCOMPARE(t.platform.quitCalls, 1);
        }
        t.document().setCell(1, 5, true); // unsaved work, and the close box asks nothing
        const qsizetype boxes = t.platform.messageBoxes.size();
        QVERIFY(t.window->close());
        QCOMPARE(t.platform.messageBoxes.size(), boxes);
        QVERIFY(t.platform.quitCalls >= 1);
    }

    void usersManualOpensOnlyOnOk()
    {
        TestWindow t;
        t.window->showManual(); // unscripted: Cancel
        t.platform.answers << Platform::Answer::Ok;
        t.window->showManual();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        QVERIFY(t.platform.shownDocuments.isEmpty());
        const auto box = t.platform.messageBoxes.value(1);
        QVERIFY(box.prompt.startsWith("\r Click OK to view the Glimmeron Users' Manual on the "));
        QVERIFY(box.prompt.endsWith(" webpage..."));
        QVERIFY(box.icon == Platform::Icon::Exclamation);
        t.platform.browserWorks = false; // no browser: the built-in manual shows instead
        t.platform.answers << Platform::Answer::Ok;
        t.window->showManual();
        const auto [title, html] = t.platform.shownDocuments.value(0);
        QCOMPARE(title, box.title);
        QVERIFY(html.contains("<h2>Download</h2>"));
    }

    // The real message box: each button gives its own answer, Enter the default one and
    // Escape Cancel; carriage returns break lines.
    void qtMessageBoxAnswersAsPressed_data()
    {
        QTest::addColumn<Platform::Buttons>("buttons");
        QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or a key
        QTest::addColumn<Platform::Answer>("answer");
        using B = Platform::Buttons;
        using A = Platform::Answer;
        QTest::newRow("Yes") << B::YesNoCancel << int(QMessageBox::Yes) << A::Yes;
        QTest::newRow("No") << B::YesNoCancel << int(QMessageBox::No) << A::No;
        QTest::newRow("Cancel") << B::YesNoCancel << int(QMessageBox::Cancel) << A::Cancel;
        QTest::newRow("Enter on Yes/No") << B::YesNoCancel << int(Qt::Key_Return) << A::Yes;
        QTest::newRow("Escape on Yes/No") << B::YesNoCancel << int(Qt::Key_Escape) << A::Cancel;
        QTest::newRow("OK") << B::OkCancel << int(QMessageBox::Ok) << A::Ok;
        QTest::newRow("Escape on OK/Cancel") << B::OkCancel << int(Qt::Key_Escape) << A::Cancel;
        QTest::newRow("OK alone") << B::Ok << int(Qt::Key_Return) << A::Ok;
    }

    void qtMessageBoxAnswersAsPressed()
    {
        QFETCH(Platform::Buttons, buttons);
        QFETCH(int, press);
        QFETCH(Platform::Answer, answer);
        QtPlatform platform;
        QString text;
        QTimer poll; // the box runs its own loop: look for it from there
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            text = box->text();
            if (QAbstractButton* b = box->button(QMessageBox::StandardButton(press)))
                b->click();
            else
                QTest::keyClick(box, Qt::Key(press));
        });
        poll.start(10);
        const Platform::Answer got =
            platform.messageBox("one\rtwo", "Title", buttons, Platform::Icon::Question);
        QCOMPARE(got, answer);
        QCOMPARE(text, QStringLiteral("one\ntwo"));
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
        const GridView* grid = t.window->grid();
        const RowControls* rows = t.window->rows();
        QVERIFY(ui.OpenButton->font().pointSizeF() >= 9.5); // legible at every scale
        // Cells run at one whole-pixel pitch; rows line up with their name and selector.
        const int pitch = grid->cell(0, 1)->x() - grid->cell(0, 0)->x();
        QCOMPARE(grid->cell(0, 49)->x() - grid->cell(0, 0)->x(), 49 * pitch);
        QCOMPARE(grid->ruler(7)->x(), grid->cell(0, 7)->x());
        QList<QWidget*> apart{ui.OpenButton,     ui.SaveButton,  ui.TestButton,  ui.Settings_button,
                              ui.DownloadButton, ui.Exit_button, grid->ruler(0), grid->ruler(49)};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(rows->nameLabel(k)->y(), grid->cell(k, 0)->y());
            apart << rows->nameLabel(k) << ui.LED[k] << rows->optionsButton(k)
                  << rows->servoSelector(k) << grid->cell(k, 0) << grid->cell(k, 49);
        }
        for (QWidget* a : apart) { // every control whole and clickable, none on another
            QVERIFY(t.window->centralWidget()->rect().contains(a->geometry()));
            for (QWidget* b : apart)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " on " + b->objectName()));
        }
        // Tab runs through the grid, the rows, the commands, then the servo selectors.
        auto nextStop = [](QWidget* w) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
            return w;
        };
        QCOMPARE(nextStop(grid->cell(0, 0)), rows->nameLabel(0));
        QCOMPARE(nextStop(rows->nameLabel(0)), rows->optionsButton(0));
        QCOMPARE(nextStop(ui.Exit_button), rows->servoSelector(0));
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // compared whole where not empty
        QTest::addColumn<QString>("err");    // a part of what standard error says
        const QByteArray zeros(94, '0');
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
            << QStringList{"--download", "@", "--port", "20", "--yes"} << golden("start-up.dat")
            << 1 << QByteArray() << "No serial port has number 20.";
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
        QCOMPARE(result.status, 0);
        QVERIFY(result.askedForEnter);
        QVERIFY(pty.waitForBytes(171, 5000));
        QCOMPARE(pty.bytes(), streamOf("2a0d0a" + QByteArray(96, '0') + "0f0f0f0f6401"));
        QVERIFY(result.out.startsWith("Downloaded 171 bytes to the GLIMMERON on port 2 (" +
                                      pty.deviceName().toLocal8Bit() + ") at "));
        QVERIFY(result.err.contains("Cycle power"));
        QVERIFY(result.err.contains("Sent 50 of 57 records\nSent 57 of 57 records\n"));
        const CommandLine command = parseCommandLine({"glimmeron", "A.DAT"});
        QCOMPARE(command.action, CommandLine::Action::Window);
        QCOMPARE(command.file, QStringLiteral("A.DAT"));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
