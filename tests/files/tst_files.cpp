#include "core/sequencefile.h"
#include "files/filecommands.h"
#include "files/sequenceanimation.h"
#include "files/sequencepicture.h"
#include "layoutprobe.h"
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

// The shapes whose colour in `image` is not the layout's, each probed at its top left
// pixel, an ellipse at its centre; a point under text is passed over.
QStringList shapesAmiss(const QImage& image, const PictureLayout& layout)
{
    QStringList amiss;
    for (const LayoutItem& item : layout.items) {
        const auto* r = std::get_if<LayoutRect>(&item);
        const auto* e = std::get_if<LayoutEllipse>(&item);
        const int x = r ? r->x : e ? e->x + e->width / 2 : -1;
        const int y = r ? r->y : e ? e->y + e->height / 2 : -1;
        const bool underText = std::any_of(layout.items.begin(), layout.items.end(), [&](auto& i) {
            const auto* t = std::get_if<LayoutText>(&i);
            return t && x >= t->x && x < t->x + t->width && y >= t->y && y < t->y + t->height;
        });
        if (x >= 0 && !underText &&
            toRgb(image.pixelColor(x, y)) != colourAt(layout, x + 0.5, y + 0.5))
            amiss << QString("(%1, %2)").arg(x).arg(y);
    }
    return amiss;
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The desktop paints what the core lays out: every shape of the picture, with its title,
    // and of each frame of the animation, which keeps the core's timing, loops for ever and
    // stays small.
    void picturesPaintTheLayouts()
    {
        SequenceData data{.colourIndexes = {0, 4, 7, 3, 1, 2, 5, 6}};
        for (int i = 0; i < 50; ++i)
            data.events[i] = i * 7 % 16;
        for (const auto& [last, delay] : {std::pair(49, 10), std::pair(2, 34)}) {
            data.lastEvent = last;
            data.sequencerDelay = delay;
            const QImage picture = sequencePicture(data, "Name");
            const PictureLayout layout = pictureLayout(data, "Name");
            QCOMPARE(shapesAmiss(picture, layout), QStringList());
            const auto& title = std::get<LayoutText>(layout.items[0]);
            int ink = 0;
            for (int y = title.y; y < title.y + title.height; ++y)
                for (int x = title.x; x < title.x + title.width; ++x)
                    ink += picture.pixel(x, y) != picture.pixel(0, 0);
            QVERIFY2(ink > 200, qPrintable(QString::number(ink)));

            QString error;
            QByteArray gif = sequenceAnimationGif(data, "Name", &error);
            QVERIFY2(gif.size() < 200 * 1024, qPrintable(QString::number(gif.size())));
            QVERIFY(gif.contains(QByteArray("NETSCAPE2.0\x03\x01\x00\x00", 16)));
            QBuffer buffer(&gif);
            QImageReader reader(&buffer, "gif");
            const AnimationLayouts animation = animationLayouts(data, "Name");
            QImage frame;
            int shown = 0;
            for (; reader.read(&frame); ++shown) {
                const AnimationLayoutFrame& expected = animation.frames.at(shown);
                QCOMPARE(reader.nextImageDelay(), expected.delayCs * 10);
                QCOMPARE(shapesAmiss(frame, expected.layout), QStringList());
            }
            QCOMPARE(shown, int(animation.frames.size()));
        }
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
