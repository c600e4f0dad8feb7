#include "core/sequencefile.h"
#include "files/filecommands.h"
#include "files/sequenceanimation.h"
#include "files/sequencepicture.h"
#include "platform/qtconvert.h"
#include "platform/qtplatform.h"
#include "testwindow.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kPrefix = QStringLiteral("GLIMMERON  -  Programmable LED Sequencer/Flasher - ");

// The worked example: events 5, 2, 15; LED 1 red; last event 2; modes OFF, zone 1, NONE, NONE.
SequenceData workedExample()
{
    return {.events = {5, 2, 15},
            .colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0},
            .lastEvent = 2,
            .servoModes = {0, 1, 15, 15}};
}

// The file commands on a document of their own, in a fresh folder.
struct Files
{
    QString path(const QString& name) const { return dir.filePath(name); }
    auto state() const { return std::pair(document.data(), document.title()); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    SequenceDocument document;
    FileCommands files{document, platform};
};

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Decoded as a viewer does: each frame shows the event due at its start, lamps lit in
    // their colours; it loops for ever and stays small.
    void animationReadsBack_data()
    {
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("frames");
        QTest::newRow("50 x 30 ms") << 49 << 30 << 50;
        QTest::newRow("50 x 25 ms, every 20 ms") << 49 << 25 << 50;
        QTest::newRow("3 x 34 ms") << 2 << 34 << 3;
        QTest::newRow("50 x 10 ms, every other event") << 49 << 10 << 25;
    }

    void animationReadsBack()
    {
        QFETCH(int, last);
        QFETCH(int, delay);
        QFETCH(int, frames);
        SequenceData data;
        for (int i = 0; i < 50; ++i)
            data.events[i] = i * 7 % 16;
        data.colourIndexes = {0, 4, 7, 3, 0, 0, 0, 0};
        data.lastEvent = last;
        data.sequencerDelay = delay;
        QString error;
        QByteArray gif = sequenceAnimationGif(data, "Name", &error);
        QVERIFY2(gif.size() < 200 * 1024, qPrintable(QString::number(gif.size())));
        QVERIFY(gif.contains(QByteArray("NETSCAPE2.0\x03\x01\x00\x00", 16)));
        QBuffer buffer(&gif);
        QImageReader reader(&buffer, "gif");
        QImage frame;
        int shown = 0, elapsedMs = 0;
        for (; reader.read(&frame); ++shown, elapsedMs += reader.nextImageDelay()) {
            QVERIFY(frame.width() >= 480);
            const int event = (elapsedMs + 5) / delay; // starts are rounded to 10 ms
            for (int k = 0; k < 4; ++k)                // the lamps' centres
                QCOMPARE(frame.pixelColor(40 + 122 * k, 76),
                         data.events[event] >> k & 1 ? tableColour(data.colourIndexes[k])
                                                     : QColor(0x3a, 0x3f, 0x47));
        }
        QCOMPARE(shown, frames);
        QCOMPARE(elapsedMs, ((last + 1) * delay + 5) / 10 * 10);
    }

    // Each colour lit in event 1 and unlit in event 2 of LED 3: the cells differ clearly.
    // The picture has its title line.
    void pictureShowsEveryColour_data()
    {
        QTest::addColumn<int>("colour");
        for (int colour = 0; colour < 8; ++colour)
            QTest::newRow(qPrintable(colourNames()[colour])) << colour;
    }

    void pictureShowsEveryColour()
    {
        QFETCH(int, colour);
        SequenceData data;
        data.colourIndexes[2] = colour;
        data.events[0] = data.events[11] = 4; // the first and the last event lit
        data.lastEvent = 11;
        const QImage picture = sequencePicture(data, "Police red and blue");
        const QImage lit = picture.copy(164, 184, 28, 28), unlit = picture.copy(196, 184, 28, 28);
        QCOMPARE(lit.pixelColor(14, 14), tableColour(colour));
        QCOMPARE(picture.pixelColor(178 + 32 * 11, 198), tableColour(colour));
        int difference = 0, title = 0; // mean of the channels' differences
        for (int i = 0; i < 28 * 28; ++i) {
            const QRgb a = lit.pixel(i % 28, i / 28), b = unlit.pixel(i % 28, i / 28);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
        QVERIFY2(difference / (3 * 28 * 28) >= 80, qPrintable(QString::number(difference)));
        for (int y = 24; y < 54; ++y)
            for (int x = 24; x < 260; ++x)
                title += picture.pixel(x, y) != picture.pixel(0, 0);
        QVERIFY2(title > 1000, qPrintable(QString::number(title)));
    }

    // Save writes the golden bytes, and Open brings back all that Save wrote.
    void saveWritesTheGoldenFilesAndOpenRestoresThem()
    {
        Files f;
        f.files.save(); // cancelled: nothing is written
        f.platform.fileChoices << f.path("START.DAT");
        f.files.save();
        QCOMPARE(readFile(f.path("START.DAT")), golden("start-up.dat"));
        const auto request = f.platform.fileDialogs[1];
        QCOMPARE(request.title, "Save GLIMMERON Programmable LED Sequencer/Flasher Data File");
        // Files without a dot show under "All Files"; both cases under "Data Files".
        QCOMPARE(QtPlatform::toQtFilter(request.filter),
                 QStringLiteral("Data Files (*.dat *.DAT);;All Files (*)"));
        setSequence(f.document, workedExample());
        QVERIFY(QDir(f.dir.path()).mkdir("seq"));
        f.platform.fileChoices << f.path("seq/TEST"); // typed without an extension
        f.files.save();
        QCOMPARE(readFile(f.path("seq/TEST.DAT")), golden("worked-example.dat"));
        QCOMPARE(f.document.title(), kPrefix + "TEST.DAT");
        f.files.save(); // the next dialog offers the name and its folder
        QCOMPARE(f.platform.fileDialogs[3].initialName, QStringLiteral("TEST.DAT"));
        QCOMPARE(f.platform.fileDialogs[3].folder, f.path("seq"));
        const auto saved = f.state();
        f.files.newSequence(); // what New keeps and clears: the session's table
        f.document.session().clickCell(1, 10, true); // cells the file does not set go off
        f.files.save();                              // the remembered name survives New
        QCOMPARE(f.platform.fileDialogs.last().initialName, QStringLiteral("TEST.DAT"));
        f.platform.fileChoices << f.path("seq/TEST.DAT");
        f.files.open();
        QVERIFY(f.state() == saved);
        QByteArray file = golden("start-up.dat", {{1, "\"6\""}, {2, "\"1\""}, {51, "4"}});
        QVERIFY(writeFile(f.path("MERGE.DAT"), file));
        f.platform.fileChoices << f.path("MERGE.DAT");
        f.files.merge();
        QCOMPARE(f.document.eventValue(0), 7); // ORed; the rest: the session's table
        QCOMPARE(f.document.title(), kPrefix + "MERGE.DAT");
        QCOMPARE(f.platform.fileDialogs.last().title,
                 "Merge GLIMMERON Programmable LED Sequencer/Flasher Data File");
        QVERIFY(f.document.isModified()); // Merge is an edit
        f.document.session().undo();      // the title and the file come back with the sequence
        QVERIFY(f.state() == saved);
        QCOMPARE(f.document.filePath(), f.path("seq/TEST.DAT"));
        QVERIFY(!f.document.isModified());
    }

    // Save writes through a link, never over a read-only file or past a limit: old bytes stay.
    void saveTargets_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::addColumn<QString>("written"); // the file that holds the new bytes
        const QString longName = QString(251, 'n') + ".DAT", none;
        QTest::newRow("new, 255 bytes long") << longName << none << longName;
        QTest::newRow("Cancel, No, then Yes") << "OLD.DAT" << none << "OLD.DAT";
        QTest::newRow("symbolic link") << "LINK.DAT" << none << "real/OLD.DAT";
        QTest::newRow("read-only") << "RO.DAT"
                                   << "RO.DAT: the file is read-only" << none;
        QTest::newRow("size limit") << "OLD.DAT"
                                    << "OLD.DAT: File too large" << none;
        QTest::newRow("FIFO") << "FIFO.DAT"
                              << "FIFO.DAT: it is a named pipe (FIFO), not" << none;
        QTest::newRow("inside a file") << "OLD.DAT/NEW.DAT"
                                       << "saved to " << none;
    }

    void saveTargets()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        QFETCH(QString, written);
        Files f;
        QVERIFY(QDir(f.dir.path()).mkdir("real"));
        for (const char* name : {"OLD.DAT", "RO.DAT", "real/OLD.DAT"})
            QVERIFY(writeFile(f.path(name), "old"));
        QCOMPARE(::chmod(QFile::encodeName(f.path("RO.DAT")).constData(), 0444), 0);
        QVERIFY(QFile::link("real/OLD.DAT", f.path("LINK.DAT")));
        QCOMPARE(::mkfifo(QFile::encodeName(f.path("FIFO.DAT")).constData(), 0600), 0);
        // Cancel and No go back to the dialog, which offers the name again; Yes replaces.
        const bool asked = QTest::currentDataTag()[0] == 'C';
        f.platform.fileChoices << f.path(chosen) << f.path(chosen) << f.path(chosen);
        if (asked)
            f.platform.answers << Platform::Answer::Cancel << Platform::Answer::No;
        f.platform.answers << Platform::Answer::Yes;
        rlimit unlimited{}, small{100, 0};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        small.rlim_max = unlimited.rlim_max; // so that the limit can be lifted again
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        if (QTest::currentDataTag() == QLatin1String("size limit"))
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = f.files.save();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(saved, message.isEmpty());
        const QString problem =
            f.platform.messageBoxes.isEmpty() ? QString() : f.platform.messageBoxes.last().prompt;
        QVERIFY2(message.isEmpty() ? !problem.contains("could not") : problem.contains(message),
                 qPrintable(problem));
        for (const char* name : {"OLD.DAT", "RO.DAT", "real/OLD.DAT"})
            QCOMPARE(readFile(f.path(name)) == "old", name != written);
        QVERIFY(written.isEmpty() || readFile(f.path(written)) == golden("start-up.dat"));
        QVERIFY(QFileInfo(f.path("LINK.DAT")).isSymLink());
        QVERIFY(!QFileInfo(f.path("FIFO.DAT")).isFile());
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".glim").size(),
                 0);
        QCOMPARE(f.document.title(), kPrefix + (saved ? QFileInfo(chosen).fileName() : "Rev4"));
        QCOMPARE(f.platform.fileDialogs.size(), asked ? 3 : 1);
        QCOMPARE(f.platform.fileDialogs.last().initialName, asked ? "OLD.DAT" : "");
        if (asked)
            QCOMPARE(f.platform.messageBoxes[1].prompt,
                     "Replace existing file - " + f.path(chosen) + "?");
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
            Files f;
            setSequence(f.document, workedExample());
            const auto before = f.state();
            const QString path = f.path("BAD.DAT");
            if (bytes == "fifo")
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            else if (bytes == "folder")
                QVERIFY(QDir(f.dir.path()).mkdir("BAD.DAT"));
            else if (bytes != "none")
                QVERIFY(writeFile(path, bytes));
            f.platform.fileChoices << path;
            merge ? f.files.merge() : f.files.open();
            QCOMPARE(f.platform.messageBoxes.size(), 1);
            const QString prompt = f.platform.messageBoxes[0].prompt;
            QVERIFY2(prompt.contains(path) && prompt.contains(message), qPrintable(prompt));
            QVERIFY(f.state() == before);
        }
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
