#include "core/eventedits.h"
#include "core/sequencefile.h"
#include "files/filecommands.h"
#include "files/recentfiles.h"
#include "platform/layout.h"
#include "platform/qtplatform.h"
#include "platform/scaledview.h"
#include "preview/testrun.h"
#include "sequence/cellbox.h"
#include "sequence/gridview.h"
#include "sequence/rowcontrols.h"
#include "settings/settingsdialog.h"
#include "testwindow.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Platform::Buttons)
Q_DECLARE_METATYPE(Platform::Answer)

namespace {

// What the window shows: the settings, the cycle, an undone click, a dialog, or its title.
QString shown(TestWindow& t)
{
    const auto& boxes = t.platform.messageBoxes;
    const auto& dialogs = t.platform.fileDialogs;
    if (t.window->settingsDialog()->isVisible())
        return "settings";
    if (t.ui().CycleTime->isVisible())
        return t.ui().CycleTime->text();
    if (t.ui().MENUredo->isEnabled() && !t.document().cell(0, 0))
        return "undone";
    return dialogs.size() == 1 ? dialogs[0].title
           : boxes.size() == 1 ? boxes[0].title + ": " + boxes[0].prompt
                               : t.window->windowTitle();
}

// A menu entry or a button by its name, or a key.
void triggerCommand(TestWindow& t, const QString& command)
{
    if (auto* action = t.window->findChild<QAction*>(command))
        action->trigger();
    else if (auto* button = t.window->findChild<QPushButton*>(command))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::keySequence(t.window.get(), QKeySequence(command));
}

// What a walk of the accessible tree finds wrong, past the menus and the status bar.
void findTreeFaults(QAccessibleInterface* node, QStringList& faults)
{
    const QString name = node->text(QAccessible::Name);
    const QString what =
        (node->object() ? node->object()->objectName() : QString()) + " '" + name + "'";
    if (node->role() == QAccessible::MenuBar || node->role() == QAccessible::StatusBar)
        return;
    if (node->state().invisible)
        faults << what + " is hidden";
    if (node->state().focusable && name.trimmed().isEmpty())
        faults << what + " has no name";
    if (QRegularExpression(R"(^\W*\d+\W*$)").match(name).hasMatch())
        faults << what + " is named by a number";
    if (node->role() == QAccessible::ComboBox) {
        const auto labels = node->relations(QAccessible::Label);
        if (std::none_of(labels.begin(), labels.end(), [](const auto& label) {
                return qobject_cast<QWidget*>(label.first->object()) &&
                       label.first->role() != QAccessible::Grouping &&
                       !label.first->state().invisible;
            }))
            faults << what + " has no visible label";
    }
    for (int i = 0; i < node->childCount(); ++i)
        findTreeFaults(node->child(i), faults);
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every menu entry, button and key reaches its handler; some stop a test run first.
    void commandsReachTheirHandlers_data()
    {
        QTest::addColumn<QString>("trigger"); // a menu entry, a button or a key
        QTest::addColumn<QString>("effect");  // the start of what shown() says
        QTest::addColumn<bool>("stops");
        const QString cleared = "GLIMMERON  -  Programmable LED Sequencer/Flasher";
        const QString manual = cleared + " Users' Manual", noPort = "GLIMMERON: No serial port";
        const QString exit = "GLIMMERON: The changes to the new sequence are not saved.";
        auto add = [](const QStringList& triggers, const QString& effect, bool stops) {
            for (const QString& trigger : triggers)
                QTest::newRow(qPrintable(trigger)) << trigger << effect << stops;
        };
        add({"MENUnew", "Ctrl+N"}, cleared, false);
        add({"MENUopen", "OpenButton", "Ctrl+O"}, "Open", true);
        add({"MENUmerge"}, "Merge", false);
        add({"MENUsave", "SaveButton", "Ctrl+S"}, "Save", true);
        add({"MENUexit", "Ctrl+Q"}, exit, false);
        add({"Exit_button"}, exit, true);
        add({"MENUtest", "TestButton", "F5"}, cleared + " - Rev4", true);
        add({"MENUdownload", "DownloadButton"}, noPort, true);
        add({"MENUsettings", "Settings_button"}, "settings", true);
        add({"MENUabout"}, "GLIMMERON: " + QString(25, ' '), false);
        add({"MENUhowto", "F1"}, manual, false);
        add({"Ctrl+Z"}, "undone", false);
        add({"MENUdevicespeed"}, "50 events x 30 ms = 1.5 s per cycle", false);
    }

    void commandsReachTheirHandlers()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, effect);
        QFETCH(bool, stops);
        TestWindow t;
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        t.document().session().setServoMode(0, 3);
        QTest::mouseClick(t.window->grid()->cell(0, 0), Qt::LeftButton); // something to undo
        t.window->toggleTest();
        QVERIFY(t.ui().ServoStick->isVisible());
        triggerCommand(t, trigger); // questions are cancelled
        QVERIFY2(shown(t).startsWith(effect), qPrintable(shown(t)));
        QCOMPARE(t.window->testRun()->running(), !stops);
        QCOMPARE(t.ui().ServoStick->isVisible(), !stops);
        QCOMPARE(t.ui().TestButton->text(), stops ? QStringLiteral("Test") : "Stop Test");
        QCOMPARE(t.platform.quitCalls, 0);
    }

    // Unmodified: Exit asks its question, the close box ends. Unsaved changes: Save, Discard?
    void endingTheProgram_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("trigger"); // "close" for the close box
        QTest::addColumn<Platform::Answer>("answer");
        QTest::addColumn<int>("quits");
        using A = Platform::Answer;
        QTest::newRow("unmodified, close box") << false << "close" << A::Ok << 1;
        QTest::newRow("unmodified, Exit") << false << "MENUexit" << A::Ok << 1;
        QTest::newRow("close box, Cancel") << true << "close" << A::Cancel << 0;
        QTest::newRow("close box, Discard") << true << "close" << A::Discard << 1;
        QTest::newRow("Exit button, Save") << true << "Exit_button" << A::Save << 1;
        QTest::newRow("Exit, Save cancelled") << true << "MENUexit" << A::Save << 0;
    }

    void endingTheProgram()
    {
        QFETCH(bool, modified);
        QFETCH(QString, trigger);
        QFETCH(Platform::Answer, answer);
        QFETCH(int, quits);
        const QString question = modified             ? "The changes to START.DAT are not saved."
                                 : trigger == "close" ? ""
                                                      : QString(23, ' ') + "OK to Really Exit ?";
        TestWindow t;
        QVERIFY(writeFile(t.path("START.DAT"), golden("start-up.dat")));
        t.window->openFile(t.path("START.DAT"));
        if (modified)
            t.document().session().setServoMode(2, 4);
        QCOMPARE(t.window->isWindowModified(), modified);
        QVERIFY(t.window->windowTitle().endsWith(" - START.DAT[*]"));
        t.platform.answers << answer;
        if (QByteArray(QTest::currentDataTag()).endsWith("cancelled"))
            t.platform.fileChoices << std::nullopt;
        else
            t.platform.fileChoices << t.path("START.DAT");
        t.platform.answers << Platform::Answer::Yes; // replace the file
        if (trigger == "close")
            QCOMPARE(t.window->close(), quits == 1);
        else
            triggerCommand(t, trigger);
        QCOMPARE(t.platform.quitCalls, quits);
        QCOMPARE(t.platform.messageBoxes.value(0).prompt.section('\r', 0, 0).left(40),
                 question.left(40));
        const bool saved = answer == Platform::Answer::Save && quits == 1;
        QCOMPARE(readFile(t.path("START.DAT")).contains("\r\n4\r\n"), saved);
        QCOMPARE(t.window->isWindowModified(), modified && !saved);
    }

    // The pattern's name in both export dialogs, the second in the first's folder.
    void picturesCarryTheSequenceName()
    {
        TestWindow t;
        t.window->files()->loadPattern(":/patterns/Police red and blue.DAT", "Police red and blue");
        QVERIFY(QDir(t.dir.path()).mkdir("out"));
        t.platform.fileChoices << t.path("out/first.png") << std::nullopt;
        triggerCommand(t, "MENUexportpicture");
        triggerCommand(t, "MENUexportanimation");
        QCOMPARE(t.platform.fileDialogs[0].initialName, "Police red and blue.png");
        QCOMPARE(t.platform.fileDialogs[1].initialName, "Police red and blue.gif");
        QCOMPARE(t.platform.fileDialogs[1].folder, t.path("out"));
        QVERIFY(QImage(t.path("out/first.png")).width() >= 600);
    }

    // Without a working launcher, the manual shows in one window that fits; Escape closes it.
    void usersManualOpens()
    {
        TestWindow t;
        t.platform.answers << Platform::Answer::Ok;
        t.platform.browserWorks = false;
        t.window->showManual();
        QCOMPARE(t.platform.openedUrls, QList<QUrl>{QUrl::fromLocalFile(t.path("manual.html"))});
        QVERIFY(t.platform.shownDocuments.value(0).second.contains("<h2>Download</h2>"));

        QVERIFY(writeFile(t.path("xdg-open"), "#!/bin/sh\nexit 3\n"));
        QVERIFY(QFile::setPermissions(t.path("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(t.dir.path()) + ':' + path);
        QtPlatform platform;
        platform.setParentWindow(t.window.get());
        bool failed = false;
        platform.openUrl(QUrl("https://example.org"), [&] { failed = true; });
        qputenv("PATH", path);
        QTRY_VERIFY(failed);
        platform.showDocument("Manual", "<p>one</p>");
        platform.showDocument("Manual", "<p>two</p>");
        const auto shown = t.window->findChildren<QTextBrowser*>();
        QCOMPARE(shown.size(), 1);
        const QSize screen = t.window->screen()->availableGeometry().size();
        QVERIFY(shown[0]->window()->width() <= screen.width() * 0.9);
        QVERIFY(shown[0]->window()->height() <= screen.height() * 0.9);
        const QPointer<QWidget> window = shown[0]->window();
        QTest::keyClick(shown[0], Qt::Key_Escape);
        QTRY_VERIFY(!window || !window->isVisible());
    }

    // Open Recent: newest first, kept for the next start; a file gone leaves with a message.
    void recentFiles()
    {
        auto t = std::make_unique<TestWindow>();
        auto restart = [&] {
            t->window.reset();
            t->window = std::make_unique<MainWindow>(t->platform, t->path("LED.cfg"), QUrl(),
                                                     t->dir.path());
        };
        auto entries = [&] {
            QStringList texts;
            for (QAction* a : t->ui().MENUrecent->actions())
                texts << a->text();
            return texts;
        };
        for (const char* name : {"A.DAT", "B.DAT"}) {
            QVERIFY(writeFile(t->path(name), golden("start-up.dat")));
            t->window->openFile(t->path(name));
        }
        t->platform.fileChoices << t->path("C.DAT");
        t->window->saveSequence();
        QCOMPARE(entries(), QStringList({"&1 C.DAT", "&2 B.DAT", "&3 A.DAT", "", "Clear Menu"}));
        QVERIFY(QFile::remove(t->path("B.DAT")));
        restart();
        t->ui().MENUrecent->actions()[1]->trigger();
        QVERIFY(t->platform.messageBoxes.value(0).prompt.contains("B.DAT is no longer there"));
        QCOMPARE(entries(), QStringList({"&1 C.DAT", "&2 A.DAT", "", "Clear Menu"}));
        t->ui().MENUrecent->actions()[1]->trigger();
        QVERIFY(t->window->windowTitle().endsWith(" - A.DAT[*]"));
        t->window->findChild<QAction*>("MENUclearrecent")->trigger();
        QCOMPARE(entries(), QStringList({"", "Clear Menu"}));
        RecentFiles many(t->path("many")); // the newest eight are kept, for the next start too
        for (int i = 0; i < 10; ++i)
            many.add(t->path(QString::number(i)));
        const QStringList kept = RecentFiles(t->path("many")).files();
        QVERIFY(kept.size() == 8 && kept == many.files() && kept[7] == t->path("2"));
        // A list that cannot be written says so, and what stands there is left.
        QVERIFY(QFile::remove(t->path("recent")));
        QCOMPARE(::mkfifo(QFile::encodeName(t->path("recent")).constData(), 0600), 0);
        t->window->openFile(t->path("A.DAT"));
        QVERIFY(t->platform.messageBoxes.last().prompt.contains(
            "/recent could not be written: it is a named pipe"));
    }

    // A folder of 340 patterns joins the built-in ones, for the next start too: every menu
    // stays in one column within the screen, Add Pattern Folder... last; More Patterns...
    // finds the rest by name. A link to a FIFO in it is passed over, not waited on.
    void patternsFitTheScreen()
    {
        TestWindow t;
        QVERIFY(QDir(t.dir.path()).mkdir("many"));
        for (int i = 0; i < 340; ++i)
            QVERIFY(writeFile(t.path(QString("many/P%1.DAT").arg(i, 3, 10, QChar('0'))),
                              golden(i == 339 ? "worked-example.dat" : "start-up.dat")));
        QCOMPARE(::mkfifo(QFile::encodeName(t.path("FIFO")).constData(), 0600), 0);
        QVERIFY(QFile::link("../FIFO", t.path("many/F.DAT")));
        t.platform.fileChoices << t.path("\uFFFD") << t.path("many"); // as a dialog gives \377
        for (int i = 0; i < 2; ++i)
            t.window->findChild<QAction*>("MENUaddpatterns")->trigger();
        QVERIFY(t.platform.messageBoxes.last().prompt.endsWith("is not valid UTF-8; rename it."));
        t.window = std::make_unique<MainWindow>(t.platform, "", QUrl(), t.dir.path());
        QMenu* top = t.ui().MENUpatterns;
        Q_EMIT top->aboutToShow();
        QMenu* folder = top->actions()[top->actions().size() - 3]->menu();
        QVERIFY(folder && top->actions().last()->objectName() == "MENUaddpatterns");
        QCOMPARE(folder->title(), t.path("many"));
        Q_EMIT folder->aboutToShow();
        for (QMenu* menu : {top, folder}) {
            QVERIFY(menu->sizeHint().height() <= t.window->screen()->availableGeometry().height());
            for (QAction* action : menu->actions())
                QCOMPARE(menu->actionGeometry(action).left(),
                         menu->actionGeometry(menu->actions()[0]).left());
        }
        folder->actions()[0]->trigger();
        QCOMPARE(t.document().session().undoText(), std::string("&Undo Pattern P000"));
        QCOMPARE(folder->actions().last()->objectName(), "MENUmorepatterns");
        folder->actions().last()->trigger();
        auto* filter = t.window->findChild<QLineEdit*>("PatternFilter");
        QVERIFY(filter);
        QTest::keyClicks(filter, "p339");
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(t.document().data(),
                 readSequenceBytes(golden("worked-example.dat").toStdString()).data);
    }

    // A list that is there but cannot be read, by a user without rights to it, is never
    // written over; the window says so once, and the change lasts for this run only.
    void unreadableListsAreKept()
    {
        TestWindow t;
        for (const char* list : {"recent", "pattern-folders"})
            QVERIFY(writeFile(t.path(list), "/kept\n") && QFile::setPermissions(t.path(list), {}));
        QVERIFY(QFile::setPermissions(t.dir.path(), QFileDevice::Permissions(0x7777)));
        if (::geteuid() == 0 && ::seteuid(65534) != 0)
            QSKIP("Cannot act as the user nobody to make the lists unreadable");
        t.window = std::make_unique<MainWindow>(t.platform, "", QUrl(), t.dir.path());
        t.platform.fileChoices << t.dir.path() << t.path("A.DAT");
        t.window->findChild<QAction*>("MENUaddpatterns")->trigger();
        t.window->saveSequence();
        const bool back = ::seteuid(::getuid()) == 0;
        QCOMPARE(t.platform.messageBoxes.size(), 2);
        QVERIFY(t.platform.messageBoxes[1].prompt.endsWith(
            "/pattern-folders could not be read: Permission denied. Changes to it will not be "
            "kept until it can be read."));
        QVERIFY(back && readFile(t.path("recent")) + readFile(t.path("pattern-folders")) ==
                            "/kept\n/kept\n");
        QVERIFY(t.ui().MENUrecent->actions().constFirst()->text().endsWith("A.DAT"));
    }

    // A paste from another program through the X server reads every text type; an own copy
    // that fails falls back to the text beside it; a program that copied and never answers
    // holds the window no longer than the platform's limit (5 s), and is named.
    void pasteFromAnyClipboard_data()
    {
        QTest::addColumn<QString>("type"); // offered by another program; empty: by this one
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("answers");
        const QString text = "LED 1 #.\nLED 2 .#\nLED 3 ..\nLED 4 ##\n";
        const QByteArray utf16 =
            QByteArray::fromRawData(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QTest::newRow("own type fails") << "" << text.toUtf8() << true;
        QTest::newRow("UTF-8") << "text/plain;charset=utf-8" << text.toUtf8() << true;
        QTest::newRow("UTF-16") << "text/plain;charset=UTF-16"
                                << "\xff\xfe" + utf16 << true;
        QTest::newRow("no answer") << "UTF8_STRING" << text.toUtf8() << false;
    }

    void pasteFromAnyClipboard()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, answers);
        TestWindow t;
        QProcess owner, targets;
        if (type.isEmpty()) {
            auto* mime = new QMimeData;
            mime->setData("application/x-glimmeron-events", "\x20");
            mime->setText(QString::fromUtf8(bytes));
            QGuiApplication::clipboard()->setMimeData(mime);
        } else if (QGuiApplication::platformName() != "xcb" ||
                   QStandardPaths::findExecutable("xclip").isEmpty()) {
            QSKIP("Another program's clipboard needs an X server and xclip");
        } else {
            owner.start("xclip", {"-quiet", "-sel", "clip", "-t", type, "-i"});
            owner.write(bytes);
            owner.closeWriteChannel();
            QTRY_VERIFY_WITH_TIMEOUT(
                (targets.start("xclip", {"-o", "-sel", "clip", "-t", "TARGETS"}),
                 targets.waitForFinished(30000),
                 targets.readAllStandardOutput().contains(type.toUtf8())),
                30000);
            if (!answers)
                ::kill(pid_t(owner.processId()), SIGSTOP);
        }
        QElapsedTimer clock;
        clock.start();
        t.window->findChild<QAction*>("MENUpaste")->trigger();
        const qint64 took = clock.elapsed();
        if (owner.processId())
            ::kill(pid_t(owner.processId()), SIGKILL);
        if (answers)
            QCOMPARE(copyEvents(t.document().data(), {0, 3}), (std::vector<int>{9, 10, 0}));
        else
            QCOMPARE(t.platform.messageBoxes.value(0).prompt,
                     "The program that copied did not answer; nothing was pasted.");
        QVERIFY2(took < 8000, qPrintable(QString::number(took)));
    }

    // The real message box answers as pressed; carriage returns break its lines.
    void qtMessageBoxAnswersAsPressed_data()
    {
        QTest::addColumn<Platform::Buttons>("buttons");
        QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or a key
        QTest::addColumn<Platform::Answer>("answer");
        using B = Platform::Buttons;
        using A = Platform::Answer;
        QTest::newRow("Yes") << B::YesNoCancel << int(QMessageBox::Yes) << A::Yes;
        QTest::newRow("No") << B::YesNoCancel << int(QMessageBox::No) << A::No;
        QTest::newRow("Escape on Yes/No") << B::YesNoCancel << int(Qt::Key_Escape) << A::Cancel;
        QTest::newRow("Enter on Save") << B::SaveDiscardCancel << int(Qt::Key_Return) << A::Save;
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

    // A walk of the accessible tree of the window, idle and testing, and of the settings: no
    // focus stop without a name, no bare number for a name, no combo box without a visible
    // label, nothing hidden. The rows: names and roles.
    void assistiveToolsKnowEachControl_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        using A = QAccessible;
        QTest::newRow("LEDlabel1(0)") << "LED 1 colour" << int(A::Button);
        QTest::newRow("RowOptions3") << "LED 4 row options" << int(A::Button);
        QTest::newRow("ServoControl(1)") << "LED 2 servo response" << int(A::ComboBox);
        QTest::newRow("CommPortcombo") << "Serial port" << int(A::ComboBox);
        QTest::newRow("ColorList") << "LED colour" << int(A::List);
        QTest::newRow("ServoStick") << "Servo stick position" << int(A::ScrollBar);
        QTest::newRow("EventGrid") << "Event grid, 4 LEDs by 50 events" << int(A::Client);
        QTest::newRow("iSwitchLedX4(49)") << "LED 4, event 50" << int(A::CheckBox);
        QTest::newRow("TimeAxis(49)") << "Event 50, last event" << int(A::StaticText);
    }

    void assistiveToolsKnowEachControl()
    {
        QFETCH(QString, name);
        QFETCH(int, role);
        TestWindow t;
        t.window->showSettings();
        t.window->rows()->colourList(); // built when first opened
        t.document().session().setServoMode(0, 1);
        QStringList faults;
        for (bool testing : {false, true}) {
            if (testing)
                t.window->toggleTest(); // the servo stick and its labels show
            for (QWidget* window : {static_cast<QWidget*>(t.window.get()),
                                    static_cast<QWidget*>(t.window->settingsDialog())})
                findTreeFaults(QAccessible::queryAccessibleInterface(window), faults);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        auto* widget = t.window->findChild<QWidget*>(QTest::currentDataTag());
        QAccessibleInterface* ui = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(ui->text(QAccessible::Name), name);
        QCOMPARE(int(ui->role()), role);
        if (role == QAccessible::Button)
            QVERIFY(ui->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::pressAction()));
        if (role == QAccessible::CheckBox)
            QVERIFY(ui->state().checkable && !ui->state().checked);
        if (role == QAccessible::ComboBox) { // its value as text, and in the label read first
            const QString value = static_cast<QComboBox*>(widget)->currentText().trimmed();
            QCOMPARE(ui->text(QAccessible::Value), value);
            QCOMPARE(ui->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
                     name + ", " + value);
            QCOMPARE(ui->textInterface()->text(0, 10), value);
            const QString meaning =
                static_cast<QComboBox*>(widget)->currentData(Qt::ToolTipRole).toString();
            QVERIFY(!meaning.isEmpty() && ui->text(QAccessible::Description).startsWith(meaning));
        }
        // The device-speed preview is a checkable entry with its state.
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(t.ui().MENUview);
        QAccessibleInterface* entry =
            view->child(int(t.ui().MENUview->actions().indexOf(t.ui().MENUdevicespeed)));
        t.ui().MENUdevicespeed->setChecked(true);
        QVERIFY(entry->state().checkable && entry->state().checked);
    }

    // The window scales with its size, fonts included, keeping the design's proportions; zoom
    // steps it; the next start opens at the size the user left, within the screen.
    void windowScales()
    {
        TestWindow t;
        t.window->activateWindow(); // for the keys, on an X server too
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        const QWidget* client = t.ui().client;
        const qreal points = t.ui().OpenButton->font().pointSizeF();
        const auto grows = [&](QSize size) {
            t.window->resize(size);
            QTRY_COMPARE(t.ui().view->width(), size.width());
            QVERIFY(client->width() == size.width() || client->height() == t.ui().view->height());
            QVERIFY(qAbs(client->width() * 3825 / 9600 - client->height()) <= 1);
            QVERIFY(qAbs(t.window->grid()->cell(3, 49)->width() - client->width() / 80.0) < 1);
            QVERIFY(qAbs(t.ui().OpenButton->font().pointSizeF() - points * client->width() / 960) <
                    0.05);
        };
        grows({1500, 660});
        QCOMPARE(t.window->grid()->cell(0, 0)->width(), 18);
        t.window->move(400, 400); // zoomed in, it moves to stay on the screen
        const QRect screen = t.window->screen()->availableGeometry();
        for (const char* key : {"Ctrl++", "Ctrl+-", "Ctrl+0"}) {
            const int wide = client->width();
            QTest::keySequence(t.window.get(), QKeySequence(key));
            QTRY_VERIFY(key[5] == '0'   ? client->width() == 960
                        : key[5] == '+' ? client->width() > wide
                                        : client->width() < wide);
            QTRY_VERIFY(screen.contains(t.window->frameGeometry()));
        }
        grows({1200, 900});
        QVERIFY(t.window->close());
        setTwipsPerPixel(kDesignTwipsPerPixel); // as a new start would
        MainWindow again(t.platform, t.path("LED.cfg"), QUrl(), t.dir.path());
        QCOMPARE(again.size(), QSize(1200, 900));
        QVERIFY(writeFile(t.path("window"), "9000 9000\n"));
        MainWindow fits(t.platform, t.path("LED.cfg"), QUrl(), t.dir.path());
        QVERIFY(t.window->screen()->availableGeometry().contains(QRect({}, fits.size())));
        setTwipsPerPixel(kDesignTwipsPerPixel);
    }

    // On any screen the window fits at every zoom, comes near to filling it, and Actual Size
    // is the design's size where that fits.
    void zoomFitsTheScreen_data()
    {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<int>("actualWidth");
        QTest::newRow("1920 x 1040") << QSize(1920, 1040) << 960;
        QTest::newRow("3840 x 2120") << QSize(3840, 2120) << 960;
        QTest::newRow("1024 x 600") << QSize(1024, 600) << 960;
        QTest::newRow("800 x 600") << QSize(800, 600) << 783;
        QTest::newRow("640 x 400") << QSize(640, 400) << 623;
    }

    void zoomFitsTheScreen()
    {
        QFETCH(QSize, available);
        QFETCH(int, actualWidth);
        const QSize chrome(16, 96);
        const ZoomRange range = zoomRange(available, chrome);
        double factor = range.actualSize();
        QCOMPARE(clientPixels(factor).width(), actualWidth);
        for (bool in : {true, false}) {
            for (int step = 0; step < 12; ++step)
                factor = in ? range.zoomedIn(factor) : range.zoomedOut(factor);
            const QSize window = clientPixels(factor) + chrome;
            QVERIFY(window.width() <= available.width() && window.height() <= available.height());
            if (in)
                QVERIFY(window.width() * 10 > available.width() * 9 ||
                        window.height() * 10 > available.height() * 9);
        }
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
