#include "app/layout.h"
#include "app/qtplatform.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <optional>

namespace {

const QString kPrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");

// Everything a file command could touch, to prove that a refused file changed nothing.
struct Snapshot
{
    SequenceData sequence;
    QString title;
    QList<QColor> labelColours;
    int delayShown, speedShown;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TestWindow& t)
{
    Snapshot s{t.window->currentSequence(),
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

QByteArray golden(const char* name)
{
    return readFile(QStringLiteral(GOLDEN_DIR "/sequencefile/") + QLatin1String(name));
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveWritesTheGoldenFiles()
    {
        TestWindow t;
        t.window->MENUsave_Click(); // cancelled: nothing is written
        t.platform.fileChoices << t.path("START.DAT");
        t.window->SaveButton_Click();
        QCOMPARE(readFile(t.path("START.DAT")), golden("start-up.dat"));
        const auto& dialog = t.platform.fileDialogs[1];
        QVERIFY(dialog.save);
        QCOMPARE(dialog.request.title,
                 QStringLiteral("Save GLIMMERON Programmable LED Sequencer/Flasher Data File"));
        QCOMPARE(dialog.request.filter,
                 QStringLiteral("Data Files (*.DAT)|*.dat|All Files (*.*)|*.*"));
        // Files without a dot show under "All Files"; both cases under "Data Files".
        QCOMPARE(QtPlatform::toQtFilter(dialog.request.filter),
                 QStringLiteral("Data Files (*.dat *.DAT);;All Files (*)"));

        buildWorkedExample(t);
        QDir(t.dir.path()).mkdir("seq");
        t.platform.fileChoices << t.path("seq/TEST"); // typed without an extension
        t.window->MENUsave_Click();
        QCOMPARE(readFile(t.path("seq/TEST.DAT")), golden("worked-example.dat"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "TEST.DAT");
        t.window->MENUsave_Click(); // the next dialog offers the name and its folder
        QCOMPARE(t.platform.fileDialogs[3].request.initialName, QStringLiteral("TEST.DAT"));
        QCOMPARE(t.platform.fileDialogs[3].request.folder, t.path("seq"));
        QVERIFY(t.platform.messageBoxes.isEmpty());
        QVERIFY(t.ui().ProgressBar1->isHidden());
    }

    void replaceQuestionOnlyYesReplaces()
    {
        TestWindow t;
        const QString target = t.path("OLD.DAT");
        writeFile(target, "old contents");
        // Cancel, then No, both go back to the dialog with the name filled in; then cancel it.
        t.platform.fileChoices << target << target;
        t.platform.answers << Platform::Answer::Cancel << Platform::Answer::No;
        t.window->MENUsave_Click();
        QCOMPARE(readFile(target), QByteArray("old contents"));
        QCOMPARE(t.platform.fileDialogs.size(), 3);
        QCOMPARE(t.platform.fileDialogs[2].request.initialName, QStringLiteral("OLD.DAT"));
        const auto question = t.platform.messageBoxes.value(0);
        QCOMPARE(question.prompt, QStringLiteral("Replace existing file - ") + target + "?");
        QCOMPARE(question.buttons, Platform::Buttons::YesNoCancel);
        QCOMPARE(question.icon, Platform::Icon::Question);
        QVERIFY(!t.window->windowTitle().contains("OLD.DAT"));

        t.platform.fileChoices << target;
        t.platform.answers << Platform::Answer::Yes;
        t.window->MENUsave_Click();
        QCOMPARE(readFile(target), golden("start-up.dat"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "OLD.DAT");
    }

    // A write that fails part-way (a file size limit) or cannot start keeps the old file.
    void failedSaveKeepsTheOldFile()
    {
        TestWindow t;
        const QString target = t.path("KEEP.DAT");
        writeFile(target, QByteArray(80, 'k'));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QStringLiteral(SAVE_WITH_LIMIT), {target});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(readFile(target), QByteArray(80, 'k'));
        QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files), QStringList({"KEEP.DAT"}));

        t.platform.fileChoices << t.path("KEEP.DAT/NEW.DAT"); // a folder that is a file
        t.window->MENUsave_Click();
        QVERIFY(t.platform.messageBoxes.value(0).prompt.contains(t.path("KEEP.DAT/NEW.DAT")));
        QVERIFY(!t.window->windowTitle().contains("NEW.DAT"));
    }

    void openRestoresWhatSaveWrote()
    {
        TestWindow t;
        buildWorkedExample(t);
        setEvent(*t.window, 40, 9); // after the last event: still saved and restored
        t.ui().ServoControl[3]->setCurrentIndex(10);
        Settings_form* dialog = t.window->settingsForm();
        dialog->PICSpeedcombo->setCurrentIndex(99);
        dialog->PCSpeedcombo->setCurrentIndex(49);
        dialog->SettingsOKbutton_Click();
        t.platform.fileChoices << t.path("ROUND.DAT");
        t.window->MENUsave_Click();
        const Snapshot saved = snapshot(t);

        t.window->MENUnew_Click();
        setEvent(*t.window, 10, 15); // cells the file does not set go off
        dialog->PICSpeedcombo->setCurrentIndex(0);
        dialog->SettingsOKbutton_Click();
        t.platform.fileChoices << t.path("ROUND.DAT");
        t.window->OpenButton_Click();
        QVERIFY(snapshot(t) == saved);
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(255, 0, 0));
        QCOMPARE(t.window->settings().sequencerDelay, 100);
        QCOMPARE(t.window->settings().testSpeed, 50);
        QCOMPARE(t.platform.fileDialogs.last().request.title,
                 QStringLiteral("Open GLIMMERON Programmable LED Sequencer/Flasher Data File"));
        QVERIFY(t.platform.messageBoxes.isEmpty());
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
        QByteArray file = golden("worked-example.dat"); // LED 1 red, last event 2, modes 0 1
        file.replace(0, 3, '"' + QByteArray::number(fromFile) + '"');
        writeFile(t.path("MERGE.DAT"), file);
        setEvent(*t.window, 0, before);
        t.window->TimeAxis_DblClick(30);
        t.platform.fileChoices << t.path("MERGE.DAT");
        t.window->MENUmerge_Click();
        QCOMPARE(t.ui().mem[0]->text(), QString::number(after));
        QVERIFY(eventValuesMatchCells(*t.window));
        QCOMPARE(textColour(t.ui().LEDlabel1[0]), QColor(Qt::white));
        QCOMPARE(t.ui().ServoControl[1]->currentIndex(), 1);
        QCOMPARE(t.window->lastEventIndex(), 2);
        QCOMPARE(textColour(t.ui().TimeAxis[30]), QColor(Qt::black));
        QCOMPARE(t.window->windowTitle(), kPrefix + "MERGE.DAT");
        QCOMPARE(t.platform.fileDialogs.last().request.title,
                 QStringLiteral("Merge GLIMMERON Programmable LED Sequencer/Flasher Data File"));
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "fifo", "folder" and "none" make no file
        QTest::addColumn<QString>("message");
        const QByteArray good = golden("start-up.dat");
        QByteArray colour9 = good, nul = good, zeros = good;
        colour9.replace("\r\n7\r\n7\r\n7\r\n7\r\n", "\r\n9\r\n7\r\n7\r\n7\r\n");
        nul.replace(0, 3, QByteArray("\"5\0junk\"", 8));
        QTest::newRow("empty") << QByteArray() << "Record 1: the file ends after 0 records";
        QTest::newRow("short") << good.left(200) << "the file ends after";
        QTest::newRow("colour 9") << colour9 << "Record 51: the colour index of LED 1 is 9";
        QTest::newRow("NUL in a number") << nul << "Record 1: the event value of event 1";
        QTest::newRow("zeros after a delay")
            << zeros.replace("30\r\n20\r\n", QByteArray("30\0\0\0\r\n20\r\n", 11)) << "Record 64";
        QTest::newRow("huge") << QByteArray(2 * 1024 * 1024, '1') << "far too long";
        QTest::newRow("missing") << QByteArray("none") << "could not be read";
        QTest::newRow("FIFO") << QByteArray("fifo") << "it is a named pipe (FIFO), not a file";
        QTest::newRow("folder") << QByteArray("folder") << "it is a folder, not a file";
    }

    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        for (bool merge : {false, true}) {
            TestWindow t;
            buildWorkedExample(t);
            const Snapshot before = snapshot(t);
            const QString path = t.path("BAD.DAT");
            std::optional<Fifo> fifo;
            if (bytes == "fifo")
                fifo.emplace(path);
            else if (bytes == "folder")
                QVERIFY(QDir(t.dir.path()).mkdir("BAD.DAT"));
            else if (bytes != "none")
                writeFile(path, bytes);
            t.platform.fileChoices << path;
            merge ? t.window->MENUmerge_Click() : t.window->MENUopen_Click();
            QVERIFY(!fifo || !fifo->released()); // nothing blocked on the FIFO
            QCOMPARE(t.platform.messageBoxes.size(), 1);
            const QString prompt = t.platform.messageBoxes[0].prompt;
            QVERIFY2(prompt.contains(path) && prompt.contains(message), qPrintable(prompt));
            QVERIFY(snapshot(t) == before);
            QVERIFY(t.ui().ProgressBar1->isHidden());
        }
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
