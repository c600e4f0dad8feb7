#include "platform/layout.h"
#include "platform/qtplatform.h"
#include "files/sequencefile.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString kPrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");

// Everything a file command could touch, to prove that a refused file changed nothing.
auto snapshot(const TestWindow& t)
{
    const Settings_form* dialog = t.window->settingsForm();
    return std::tuple(t.window->currentSequence(), t.window->windowTitle(),
                      dialog->PICSpeedcombo->currentIndex(), dialog->PCSpeedcombo->currentIndex());
}

void setEvent(Main_LEDFlasher_form& window, int slot, int value)
{
    for (int led = 1; led <= 4; ++led)
        window.setCell(led, slot, value & (1 << (led - 1)));
}

// The worked example: events 5, 2, 15; LED 1 red; last event 2; modes OFF, zone 1, NONE, NONE.
SequenceData workedExample()
{
    return {.events = {5, 2, 15},
            .colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0},
            .lastEvent = 2,
            .servoModes = {0, 1, 15, 15}};
}

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

// The start-up file with one record (1-based) replaced by `text`.
QByteArray withRecord(int record, const QByteArray& text)
{
    return golden("start-up.dat", {{record, text}});
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writerMakesTheGoldenFiles()
    {
        QCOMPARE(writeSequenceFile(SequenceData{}), golden("start-up.dat"));
        QCOMPARE(writeSequenceFile(workedExample()), golden("worked-example.dat"));
        SequenceData data = workedExample();
        data.colourIndexes[5] = -300; // entries 4..7 are carried through as they are
        data.sequencerDelay = 255;
        data.events[40] = 9; // after the last event: still written and read
        QCOMPARE(readSequenceFile(writeSequenceFile(data)).data, std::optional(data));
    }

    void readerAcceptsHandEditedForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray saved = golden("worked-example.dat");
        QByteArray lf = saved, commas = saved, quoted = saved, bare = saved, none = saved;
        QTest::newRow("LF-only line ends") << lf.replace("\r\n", "\n");
        QTest::newRow("no final line end") << saved.chopped(2);
        QTest::newRow("comma-separated records") << commas.replace("\"\r\n\"", "\",\"");
        QTest::newRow("quoted numbers, blanks")
            << quoted.replace("\r\n30\r\n20\r\n", "\r\n\"30\"\r\n \"20\" \r\n");
        QTest::newRow("bare event values") << bare.replace("\"", "");
        QTest::newRow("a note after record 65") << saved + "\r\nMade for the club show\r\n";
        QTest::newRow("end-of-file byte after record 65") << saved + "\x1a";
        QTest::newRow("-1, an empty selector, is NONE")
            << none.replace("\r\n1\r\n15\r\n", "\r\n1\r\n-1\r\n");
    }

    void readerAcceptsHandEditedForms()
    {
        QFETCH(QByteArray, bytes);
        const SequenceReadResult read = readSequenceFile(bytes);
        QVERIFY2(read.data && *read.data == workedExample(), qPrintable(read.problem));
    }

    void readerRefusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("problem");
        const QByteArray binary = QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200");
        QTest::newRow("empty file") << QByteArray() << 1 << "ends after 0 records";
        QTest::newRow("64 records") << golden("start-up.dat").chopped(4) << 65 << "after 64 rec";
        QTest::newRow("binary") << binary << 1 << "should be a number";
        QTest::newRow("empty event line") << withRecord(3, "") << 3 << "an empty field";
        QTest::newRow("event 16") << withRecord(1, "\"16\"") << 1 << "is 16, outside 0 to 15";
        QTest::newRow("colour 8") << withRecord(52, "8") << 52 << "colour index of LED 2 is 8";
        QTest::newRow("last event 50") << withRecord(59, "50") << 59 << "last event index is 50";
        QTest::newRow("servo mode -2") << withRecord(60, "-2") << 60 << "servo mode of LED 1";
        QTest::newRow("delay 0") << withRecord(64, "0") << 64 << "sequencer delay is 0";
        QTest::newRow("speed 256") << withRecord(65, "256") << 65 << "test speed is 256";
        QTest::newRow("huge number") << withRecord(59, "99999999999999999999") << 59 << "number";
        QTest::newRow("NUL in an event")
            << withRecord(4, QByteArray("\"5\0junk\"", 8)) << 4 << "\"5\\x00junk\"";
        QTest::newRow("NUL tail on a delay")
            << withRecord(64, QByteArray("30\0\0\0garbage", 13)) << 64 << "should be a number";
        QTest::newRow("zero-filled tail") << withRecord(65, QByteArray("2\0\0\0", 4)) << 65 << "";
        QTest::newRow("escape in a field") << withRecord(59, "4\x1b") << 59 << "last event";
        // An extra field shifts every later record: the last event index lands on LED 1's mode.
        QTest::newRow("two records on one line")
            << withRecord(30, "\"0\",\"0\"") << 60 << "servo mode of LED 1 is 49";
    }

    void readerRefusesBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, record);
        QFETCH(QString, problem);
        const SequenceReadResult read = readSequenceFile(bytes);
        QVERIFY(!read.data.has_value());
        QCOMPARE(read.record, record);
        QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    }

    // Save writes the golden bytes, and Open brings back all that Save wrote.
    void saveWritesTheGoldenFilesAndOpenRestoresThem()
    {
        TestWindow t;
        t.window->MENUsave_Click(); // cancelled: nothing is written
        t.platform.fileChoices << t.path("START.DAT");
        t.window->SaveButton_Click();
        QCOMPARE(readFile(t.path("START.DAT")), golden("start-up.dat"));
        const auto request = t.platform.fileDialogs[1];
        QCOMPARE(request.title, "Save GLIMMERON Programmable LED Sequencer/Flasher Data File");
        // Files without a dot show under "All Files"; both cases under "Data Files".
        QCOMPARE(QtPlatform::toQtFilter(request.filter),
                 QStringLiteral("Data Files (*.dat *.DAT);;All Files (*)"));
        buildWorkedExample(t);
        QDir(t.dir.path()).mkdir("seq");
        t.platform.fileChoices << t.path("seq/TEST"); // typed without an extension
        t.window->MENUsave_Click();
        QCOMPARE(readFile(t.path("seq/TEST.DAT")), golden("worked-example.dat"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "TEST.DAT");
        t.window->MENUsave_Click(); // the next dialog offers the name and its folder
        QCOMPARE(t.platform.fileDialogs[3].initialName, QStringLiteral("TEST.DAT"));
        QCOMPARE(t.platform.fileDialogs[3].folder, t.path("seq"));
        QVERIFY(t.platform.messageBoxes.isEmpty() && t.ui().ProgressBar1->isHidden());

        const auto saved = snapshot(t);
        t.window->MENUnew_Click();
        setEvent(*t.window, 10, 15); // cells the file does not set go off
        t.window->settingsForm()->PICSpeedcombo->setCurrentIndex(0);
        t.window->settingsForm()->SettingsOKbutton_Click();
        t.platform.fileChoices << t.path("seq/TEST.DAT");
        t.window->OpenButton_Click();
        QVERIFY(snapshot(t) == saved);
        QVERIFY(showsItsSequence(*t.window));
        QCOMPARE(t.window->settings().sequencerDelay, 30);
        QCOMPARE(t.platform.fileDialogs.last().title,
                 "Open GLIMMERON Programmable LED Sequencer/Flasher Data File");
    }

    void replaceQuestionOnlyYesReplaces()
    {
        TestWindow t;
        const QString target = t.path("OLD.DAT");
        writeFile(target, "old");
        // Cancel, then No, both go back to the dialog with the name filled in; then Yes.
        t.platform.fileChoices << target << target << target;
        t.platform.answers << Platform::Answer::Cancel << Platform::Answer::No;
        t.platform.onMessageBox = [&](const auto& box) {
            QVERIFY(box.prompt == "Replace existing file - " + target + "?" &&
                    box.buttons == Platform::Buttons::YesNoCancel &&
                    box.icon == Platform::Icon::Question);
            QVERIFY(readFile(target) == "old" && !t.window->windowTitle().contains("OLD.DAT"));
            if (t.platform.messageBoxes.size() == 2)
                t.platform.answers << Platform::Answer::Yes;
        };
        t.window->MENUsave_Click();
        QCOMPARE(t.platform.fileDialogs[2].initialName, QStringLiteral("OLD.DAT"));
        QCOMPARE(readFile(target), golden("start-up.dat"));
        QCOMPARE(t.window->windowTitle(), kPrefix + "OLD.DAT");
    }

    // A write that fails part-way (a file size limit) or cannot start keeps the old file.
    void failedSaveKeepsTheOldFile()
    {
        TestWindow t;
        const QString target = t.path("KEEP.DAT"), inFile = t.path("KEEP.DAT/NEW.DAT");
        writeFile(target, QByteArray(80, 'k'));
        t.platform.fileChoices << target << inFile; // the second in a folder that is a file
        t.platform.answers << Platform::Answer::Yes;
        rlimit unlimited{}, small{100, 0};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        small.rlim_max = unlimited.rlim_max; // so that the limit can be lifted again
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        t.window->MENUsave_Click();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(readFile(target), QByteArray(80, 'k'));
        QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files), QStringList({"KEEP.DAT"}));
        t.window->MENUsave_Click();
        const auto& boxes = t.platform.messageBoxes;
        QVERIFY(boxes.size() == 3 && boxes[1].prompt.contains(target + ": File too large"));
        QVERIFY(boxes[2].prompt.contains("could not be saved to " + inFile));
        QVERIFY(!t.window->windowTitle().contains(".DAT"));
    }

    // Merge ORs the events and takes the rest but the colours.
    void mergeOrsEventsAndKeepsColours()
    {
        TestWindow t;
        QByteArray file = golden("worked-example.dat");
        writeFile(t.path("MERGE.DAT"), file.replace(0, 3, "\"1\""));
        setEvent(*t.window, 0, 6);
        setEvent(*t.window, 1, 1);
        t.window->TimeAxis_DblClick(30);
        t.platform.fileChoices << t.path("MERGE.DAT");
        t.window->MENUmerge_Click();
        const auto events = t.window->currentSequence().events;
        QCOMPARE(QList<int>(events.begin(), events.begin() + 4), QList<int>({7, 3, 15, 0}));
        QVERIFY(showsItsSequence(*t.window));
        QCOMPARE(t.window->ledColourIndex(0), 7);
        QCOMPARE(t.ui().ServoControl[1]->currentIndex(), 1);
        QCOMPARE(t.window->lastEventIndex(), 2);
        QCOMPARE(t.window->windowTitle(), kPrefix + "MERGE.DAT");
        QCOMPARE(t.platform.fileDialogs.last().title,
                 "Merge GLIMMERON Programmable LED Sequencer/Flasher Data File");
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "fifo", "folder" and "none" make no file
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << golden("start-up.dat").left(200) << "Record 41: the file ends";
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
            const auto before = snapshot(t);
            const QString path = t.path("BAD.DAT");
            if (bytes == "fifo")
                makeFifo(path);
            else if (bytes == "folder")
                QVERIFY(QDir(t.dir.path()).mkdir("BAD.DAT"));
            else if (bytes != "none")
                writeFile(path, bytes);
            t.platform.fileChoices << path;
            merge ? t.window->MENUmerge_Click() : t.window->MENUopen_Click();
            const QString prompt = t.platform.messageBoxes.value(0).prompt;
            QVERIFY2(prompt.contains(path) && prompt.contains(message), qPrintable(prompt));
            QCOMPARE(t.platform.messageBoxes.size(), 1);
            QVERIFY(snapshot(t) == before && showsItsSequence(*t.window));
        }
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
