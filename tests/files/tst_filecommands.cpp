#include "app/layout.h"
#include "app/qtplatform.h"
#include "files/savefile.h"
#include "files/sequencefile.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");

// Everything a file command could touch, to prove that a refused file changed nothing.
struct Snapshot
{
    SequenceData sequence;
    QStringList mem;
    QString title;
    QList<QColor> labelColours;
    int delayShown;
    int speedShown;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TestWindow& t)
{
    Snapshot s{t.window->currentSequence(),
               memTexts(*t.window),
               t.window->windowTitle(),
               {},
               t.window->settingsForm()->PICSpeedcombo->currentIndex(),
               t.window->settingsForm()->PCSpeedcombo->currentIndex()};
    for (QLabel* label : t.ui().LEDlabel1)
        s.labelColours << textColour(label);
    return s;
}

void setEvent(Main_LEDFlasher_form& window, int slot, int value)
{
    for (int led = 1; led <= 4; ++led)
        window.setCell(led, slot, value & (1 << (led - 1)));
}

// The worked example: events 5, 2, 15; LED 1 red; last event 2; modes OFF, zone 1, NONE, NONE.
void buildWorkedExample(TestWindow& t)
{
    setEvent(*t.window, 0, 5);
    setEvent(*t.window, 1, 2);
    setEvent(*t.window, 2, 15);
    clickListEntryLater(t.ui().ColorList, 1);
    t.window->LEDlabel1_Click(0);
    t.window->TimeAxis_DblClick(2);
    t.ui().ServoControl[0]->setCurrentIndex(0);
    t.ui().ServoControl[1]->setCurrentIndex(1);
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveWritesTheStartUpFile()
    {
        TestWindow t;
        t.platform.fileChoices << t.path("START.DAT");
        t.window->SaveButton_Click();
        QCOMPARE(readFile(t.path("START.DAT")), writeSequenceFile(SequenceData{}));
        QCOMPARE(readFile(t.path("START.DAT")).size(), 302);
        QCOMPARE(t.window->windowTitle(), kPrefix + "START.DAT");
        QVERIFY(t.ui().ProgressBar1->isHidden());
        QCOMPARE(t.platform.fileDialogs.size(), 1);
        const auto& dialog = t.platform.fileDialogs[0];
        QVERIFY(dialog.save);
        QCOMPARE(dialog.request.title,
                 QStringLiteral("Save GLIMMERON Programmable LED Sequencer/Flasher Data File"));
        QCOMPARE(dialog.request.filter,
                 QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*"));
        QCOMPARE(dialog.request.initialName, QString());
        QVERIFY(t.platform.messageBoxes.isEmpty());
    }

    void saveWritesTheWorkedExampleAndOffersItsName()
    {
        TestWindow t;
        buildWorkedExample(t);
        QDir(t.dir.path()).mkdir("seq");
        t.platform.fileChoices << t.path("seq/TEST"); // typed without an extension
        t.window->MENUsave_Click();
        QVERIFY(!QFile::exists(t.path("seq/TEST")));
        const QByteArray bytes = readFile(t.path("seq/TEST.DAT"));
        QCOMPARE(bytes.size(), 300);
        QCOMPARE(bytes, writeSequenceFile(t.window->currentSequence()));
        QCOMPARE(bytes.left(16), QByteArray::fromHex("2235220d0a2232220d0a223135220d0a"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "TEST.DAT");

        t.window->MENUsave_Click(); // cancelled: nothing changes
        QCOMPARE(t.platform.fileDialogs[1].request.initialName, QStringLiteral("TEST.DAT"));
        QCOMPARE(t.platform.fileDialogs[1].request.folder, t.path("seq"));
    }

    void replaceQuestionOnlyYesReplaces()
    {
        TestWindow t;
        const QString target = t.path("OLD.DAT");
        writeFile(target, "old contents");
        t.window->setCell(1, 0, true);
        // Cancel, then No, both go back to the dialog with the name filled in; then cancel it.
        t.platform.fileChoices << target << target;
        t.platform.answers << Platform::Answer::Cancel << Platform::Answer::No;
        t.window->MENUsave_Click();
        QCOMPARE(readFile(target), QByteArray("old contents"));
        QCOMPARE(t.platform.fileDialogs.size(), 3);
        QCOMPARE(t.platform.fileDialogs[1].request.initialName, QStringLiteral("OLD.DAT"));
        QCOMPARE(t.platform.fileDialogs[2].request.initialName, QStringLiteral("OLD.DAT"));
        QCOMPARE(t.platform.messageBoxes.size(), 2);
        const auto& question = t.platform.messageBoxes[0];
        QCOMPARE(question.prompt, QStringLiteral("Replace existing file - ") + target + "?");
        QCOMPARE(question.buttons, Platform::Buttons::YesNoCancel);
        QCOMPARE(question.icon, Platform::Icon::Question);
        QCOMPARE(question.title, applicationTitle());
        QVERIFY(!t.window->windowTitle().contains("OLD.DAT"));

        t.platform.fileChoices << target;
        t.platform.answers << Platform::Answer::Yes;
        t.window->MENUsave_Click();
        QCOMPARE(readFile(target), writeSequenceFile(t.window->currentSequence()));
        QCOMPARE(t.window->windowTitle(), kPrefix + "OLD.DAT");
    }

    void failedSaveKeepsTheOldFileByteForByte()
    {
        TestWindow t;
        const QString target = t.path("KEEP.DAT");
        const QByteArray old = QByteArray(80, 'k');
        writeFile(target, old);

        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QStringLiteral(SAVE_WITH_LIMIT), {target});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(readFile(target), old);
        QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files), QStringList({"KEEP.DAT"}));
    }

    void saveIntoAnUnwritableFolderIsReported_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("folder that is a file") << "plain";
        if (::geteuid() != 0) // permissions do not stop root
            QTest::newRow("read-only folder") << "readonly";
    }

    void saveIntoAnUnwritableFolderIsReported()
    {
        QFETCH(QString, folder);
        TestWindow t;
        writeFile(t.path("plain"), "x");
        QDir(t.dir.path()).mkdir("readonly");
        QFile::setPermissions(t.path("readonly"), QFile::ReadOwner | QFile::ExeOwner);
        const QString target = t.path(folder + "/NEW.DAT");
        t.platform.fileChoices << target;
        t.window->MENUsave_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(t.platform.messageBoxes[0].prompt.contains(target));
        QCOMPARE(t.platform.messageBoxes[0].icon, Platform::Icon::Exclamation);
        QVERIFY(!t.window->windowTitle().contains("NEW.DAT"));
        QVERIFY(t.ui().ProgressBar1->isHidden());
        QFile::setPermissions(t.path("readonly"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void openRestoresWhatSaveWrote()
    {
        TestWindow t;
        buildWorkedExample(t);
        setEvent(*t.window, 40, 9); // after the last event: still saved and restored
        clickListEntryLater(t.ui().ColorList, 3);
        t.window->LEDlabel1_Click(2);
        t.ui().ServoControl[3]->setCurrentIndex(10);
        Settings_form* dialog = t.window->settingsForm();
        dialog->PICSpeedcombo->setCurrentIndex(99);
        dialog->PCSpeedcombo->setCurrentIndex(49);
        dialog->SettingsOKbutton_Click();
        t.platform.fileChoices << t.path("ROUND.DAT");
        t.window->MENUsave_Click();
        const Snapshot saved = snapshot(t);

        t.window->MENUnew_Click();
        dialog->PICSpeedcombo->setCurrentIndex(0);
        dialog->PCSpeedcombo->setCurrentIndex(0);
        dialog->SettingsOKbutton_Click();
        QVERIFY(!(snapshot(t) == saved));

        t.platform.fileChoices << t.path("ROUND.DAT");
        t.window->OpenButton_Click();
        QVERIFY(snapshot(t) == saved);
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(t.window->lastEventIndex(), 2);
        QCOMPARE(t.ui().TimeAxis[2]->font().pointSizeF(), 8.0);
        QCOMPARE(t.ui().TimeAxis[49]->font().pointSizeF(), 6.0);
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(255, 0, 0));
        QCOMPARE(textColour(t.ui().LEDlabel1[2]), QColor(255, 255, 0));
        QCOMPARE(t.window->settings().sequencerDelay, 100);
        QCOMPARE(t.window->settings().testSpeed, 50);
        QCOMPARE(t.window->windowTitle(), kPrefix + "ROUND.DAT");
        QCOMPARE(t.platform.fileDialogs.last().request.title,
                 QStringLiteral("Open GLIMMERON Programmable LED Sequencer/Flasher Data File"));
        QVERIFY(t.ui().ProgressBar1->isHidden());
        QVERIFY(t.platform.messageBoxes.isEmpty());
    }

    void openClearsCellsTheFileDoesNotSet()
    {
        TestWindow t;
        writeFile(t.path("BLANK.DAT"), writeSequenceFile(SequenceData{}));
        setEvent(*t.window, 10, 15);
        t.window->TimeAxis_DblClick(20);
        t.platform.fileChoices << t.path("BLANK.DAT");
        t.window->MENUopen_Click();
        QCOMPARE(memTexts(*t.window), QStringList(50, "0"));
        QVERIFY(!t.window->cellOn(4, 10));
        QCOMPARE(t.window->lastEventIndex(), 49);
    }

    void mergeOrsEventsAndKeepsColours_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("fromFile");
        QTest::addColumn<int>("after");
        QTest::newRow("1 into 6") << 6 << 1 << 7;
        QTest::newRow("2 into 3") << 3 << 2 << 3;
        QTest::newRow("0 into 9") << 9 << 0 << 9;
        QTest::newRow("15 into 0") << 0 << 15 << 15;
    }

    void mergeOrsEventsAndKeepsColours()
    {
        QFETCH(int, before);
        QFETCH(int, fromFile);
        QFETCH(int, after);
        TestWindow t;
        SequenceData file;
        file.events[0] = fromFile;
        file.colourIndexes = {1, 2, 3, 4, 0, 0, 0, 0};
        file.lastEvent = 12;
        file.servoModes = {1, 2, 3, 4};
        file.sequencerDelay = 100;
        file.testSpeed = 50;
        writeFile(t.path("MERGE.DAT"), writeSequenceFile(file));
        setEvent(*t.window, 0, before);
        t.window->TimeAxis_DblClick(30);
        t.platform.fileChoices << t.path("MERGE.DAT");
        t.window->MENUmerge_Click();
        QCOMPARE(t.ui().mem[0]->text(), QString::number(after));
        QVERIFY(eventValuesMatchCells(*t.window));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(t.window->ledColourIndex(k), 7);
            QCOMPARE(textColour(t.ui().LEDlabel1[k]), QColor(Qt::white));
            QCOMPARE(t.ui().ServoControl[k]->currentIndex(), k + 1);
        }
        QCOMPARE(t.window->lastEventIndex(), 12);
        QCOMPARE(t.ui().TimeAxis[30]->font().pointSizeF(), 6.0);
        QCOMPARE(textColour(t.ui().TimeAxis[30]), QColor(Qt::black));
        QCOMPARE(t.window->settingsForm()->PICSpeedcombo->currentText(), QStringLiteral(" 100"));
        QCOMPARE(t.window->settingsForm()->PCSpeedcombo->currentText(), QStringLiteral(" 50"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "MERGE.DAT");
        QCOMPARE(t.platform.fileDialogs.last().request.title,
                 QStringLiteral("Merge GLIMMERON Programmable LED Sequencer/Flasher Data File"));
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = writeSequenceFile(SequenceData{});
        QByteArray badEvent = good;
        badEvent.replace(0, 3, "\"x\"");
        QByteArray badColour = good;
        badColour.replace("\r\n7\r\n7\r\n7\r\n7\r\n", "\r\n9\r\n7\r\n7\r\n7\r\n");
        QTest::newRow("empty") << QByteArray() << "Record 1: the file ends after 0 records";
        QTest::newRow("short") << good.left(200) << "the file ends after";
        QTest::newRow("text event") << badEvent << "Record 1: the event value of event 1";
        QTest::newRow("colour 9") << badColour << "Record 51: the colour index of LED 1 is 9";
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x01\0\0\0",
                                              10)
                                << "should be a number";
        QTest::newRow("huge") << QByteArray(2 * 1024 * 1024, '1') << "far too long";
    }

    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        for (bool merge : {false, true}) {
            TestWindow t;
            buildWorkedExample(t);
            const Snapshot before = snapshot(t);
            writeFile(t.path("BAD.DAT"), bytes);
            t.platform.fileChoices << t.path("BAD.DAT");
            merge ? t.window->MENUmerge_Click() : t.window->MENUopen_Click();
            QCOMPARE(t.platform.messageBoxes.size(), 1);
            const QString prompt = t.platform.messageBoxes[0].prompt;
            QVERIFY2(prompt.contains(t.path("BAD.DAT")), qPrintable(prompt));
            QVERIFY2(prompt.contains(message), qPrintable(prompt));
            QVERIFY(snapshot(t) == before);
            QVERIFY(t.ui().ProgressBar1->isHidden());
        }
    }

    void unreadableFileChangesNothing()
    {
        TestWindow t;
        const Snapshot before = snapshot(t);
        t.platform.fileChoices << t.path("GONE.DAT");
        t.window->MENUopen_Click();
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(t.platform.messageBoxes[0].prompt.contains(t.path("GONE.DAT")));
        QVERIFY(t.platform.messageBoxes[0].prompt.contains("could not be read"));
        QVERIFY(snapshot(t) == before);
    }

    void dialogFilterFindsDataFilesInEitherCase()
    {
        QCOMPARE(
            QtPlatform::toQtFilter(QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*")),
            QStringLiteral("Data Files (*.dat *.DAT);;All Files (*)"));
    }

    void cancellingTheDialogChangesNothing()
    {
        TestWindow t;
        buildWorkedExample(t);
        const Snapshot before = snapshot(t);
        t.window->MENUopen_Click();
        t.window->MENUmerge_Click();
        t.window->MENUsave_Click();
        QVERIFY(snapshot(t) == before);
        QCOMPARE(t.platform.fileDialogs.size(), 3);
        QVERIFY(t.platform.messageBoxes.isEmpty());
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
