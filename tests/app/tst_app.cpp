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
Q_DECLARE_METATYPE(Trigger)
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

// What the window shows: its title, the one file dialog or message box, the settings.
QString shown(TestWindow& t)
{
    const auto& boxes = t.platform.messageBoxes;
    const auto& dialogs = t.platform.fileDialogs;
    if (t.window->settingsDialog()->isVisible())
        return "settings";
    if (t.ui().MENUredo->isEnabled() && !t.document().cell(0, 0))
        return "undone";
    return dialogs.size() == 1 ? dialogs[0].title
           : boxes.size() == 1 ? boxes[0].title + ": " + boxes[0].prompt
                               : t.window->windowTitle();
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
    // Every menu entry, button and key reaches its own handler, during a test run that
    // some of them stop first.
    void commandsReachTheirHandlers_data()
    {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<QString>("effect"); // the start of what shown() says
        QTest::addColumn<bool>("stops");
        const QString manual = "GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual";
        const QString exit = "GLIMMERON: " + kExitText, noPort = "GLIMMERON: No serial port";
        using M = MainControls;
        QTest::newRow("New") << action(&M::MENUnew)
                             << "GLIMMERON  -  Programmable LED Sequencer/Flasher" << false;
        QTest::newRow("Ctrl+N") << keys(QKeySequence::New)
                                << "GLIMMERON  -  Programmable LED Sequencer/Flasher" << false;
        QTest::newRow("Open") << action(&M::MENUopen) << "Open" << true;
        QTest::newRow("Open button") << button(&M::OpenButton) << "Open" << true;
        QTest::newRow("Ctrl+O") << keys(QKeySequence::Open) << "Open" << true;
        QTest::newRow("Merge") << action(&M::MENUmerge) << "Merge" << false;
        QTest::newRow("Save") << action(&M::MENUsave) << "Save" << true;
        QTest::newRow("Save button") << button(&M::SaveButton) << "Save" << true;
        QTest::newRow("Ctrl+S") << keys(QKeySequence::Save) << "Save" << true;
        QTest::newRow("Exit") << action(&M::MENUexit) << exit << false;
        QTest::newRow("Exit button") << button(&M::Exit_button) << exit << true;
        QTest::newRow("Ctrl+Q") << keys(QKeySequence(Qt::CTRL | Qt::Key_Q)) << exit << false;
        QTest::newRow("Test") << action(&M::MENUtest) << "GLIMMERON" << true;
        QTest::newRow("Test button") << button(&M::TestButton) << "GLIMMERON" << true;
        QTest::newRow("F5") << keys(Qt::Key_F5) << "GLIMMERON" << true;
        QTest::newRow("Download") << action(&M::MENUdownload) << noPort << true;
        QTest::newRow("DOWNLOAD button") << button(&M::DownloadButton) << noPort << true;
        QTest::newRow("Settings") << action(&M::MENUsettings) << "settings" << true;
        QTest::newRow("Settings button") << button(&M::Settings_button) << "settings" << true;
        QTest::newRow("About") << action(&M::MENUabout) << "GLIMMERON: " + QString(25, ' ')
                               << false;
        QTest::newRow("Users' Manual") << action(&M::MENUhowto) << manual << false;
        QTest::newRow("F1") << keys(Qt::Key_F1) << manual << false;
        QTest::newRow("Ctrl+Z") << keys(QKeySequence::Undo) << "undone" << false;
    }

    void commandsReachTheirHandlers()
    {
        QFETCH(Trigger, trigger);
        QFETCH(QString, effect);
        QFETCH(bool, stops);
        TestWindow t;
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QTest::mouseClick(t.window->grid()->cell(0, 0), Qt::LeftButton); // something to undo
        t.document().setServoMode(0, 3);
        t.window->toggleTest();
        QVERIFY(t.ui().ServoStick->isVisible());
        trigger(t); // dialogs and questions are cancelled
        QVERIFY2(shown(t).startsWith(effect), qPrintable(shown(t)));
        QCOMPARE(t.window->testRun()->running(), !stops);
        QCOMPARE(t.ui().ServoStick->isVisible(), !stops);
        QCOMPARE(t.ui().TestButton->text(), stops ? QStringLiteral("Test") : "Stop Test");
        QCOMPARE(t.platform.quitCalls, 0);
    }

    // Exit asks first; the close box ends the program at once, even with unsaved work.
    void exitAndTheCloseBox()
    {
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        t.window->askToExit();
        QCOMPARE(t.platform.quitCalls, 1);
        QVERIFY(t.platform.messageBoxes[0].buttons == Platform::Buttons::OkCancel);
        t.document().setCell(1, 5, true);
        QVERIFY(t.window->close());
        QCOMPARE(t.platform.quitCalls, 2);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
    }

    void usersManualOpensOnlyOnOk()
    {
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        t.window->showManual();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        const auto box = t.platform.messageBoxes.value(0);
        QVERIFY(box.prompt.startsWith("\r Click OK to view the Glimmeron Users' Manual on the "));
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
        QTimer watch; // the box runs a loop of its own: look for it from there
        connect(&watch, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            watch.stop();
            text = box->text();
            if (QAbstractButton* b = box->button(QMessageBox::StandardButton(press)))
                b->click();
            else
                QTest::keyClick(box, Qt::Key(press));
        });
        watch.start(10);
        QCOMPARE(platform.messageBox("one\rtwo", "Title", buttons, Platform::Icon::Question),
                 answer);
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
        QWidget* w = grid->cell(0, 0);
        QStringList stops;
        while ((w = w->nextInFocusChain()) != rows->servoSelector(1))
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible())
                stops << w->objectName();
        QCOMPARE(stops.mid(0, 2), QStringList({"LEDlabel1(0)", "RowOptions0"}));
        QCOMPARE(stops.mid(13), QStringList({"Exit_button", "ServoControl(0)"}));
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // compared whole where not empty
        QTest::addColumn<QString>("err");    // a part of what standard error says
        QTest::newRow("stream") << QStringList{"--stream", "@"} << golden("worked-example.dat") << 0
                                << streamOf("2a05020f" + QByteArray(94, '0') + "00010f0f1e02")
                                << QString();
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
        QVERIFY(result.err.contains("Sent 50 of 57 records\nSent 57 of 57 records\n"));
        QCOMPARE(parseCommandLine({"glimmeron", "A.DAT"}).file, QStringLiteral("A.DAT"));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
