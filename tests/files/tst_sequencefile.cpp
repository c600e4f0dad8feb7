#include "files/sequencefile.h"

#include <QFile>
#include <QTest>

namespace {

SequenceData workedExample()
{
    SequenceData data;
    data.events[0] = 5;
    data.events[1] = 2;
    data.events[2] = 15;
    data.colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0};
    data.lastEvent = 2;
    data.servoModes = {0, 1, 15, 15};
    return data;
}

QByteArray golden(const QString& name)
{
    QFile file(QStringLiteral(GOLDEN_DIR "/sequencefile/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The start-up file with one record (1-based) replaced by `text`.
QByteArray withRecord(int record, const QByteArray& text)
{
    QList<QByteArray> lines = golden("start-up.dat").split('\n');
    lines[record - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace

class TestSequenceFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheGoldenFiles()
    {
        QCOMPARE(writeSequenceFile(SequenceData{}), golden("start-up.dat"));
        QCOMPARE(writeSequenceFile(workedExample()), golden("worked-example.dat"));
        SequenceData data = workedExample();
        data.colourIndexes[5] = -300; // entries 4..7 are carried through as they are
        data.sequencerDelay = 255;
        data.testSpeed = 1;
        QCOMPARE(readSequenceFile(writeSequenceFile(data)).data, std::optional(data));
    }

    void acceptsHandEditedForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray saved = golden("worked-example.dat");
        QByteArray lfOnly = saved, commas = saved, quoted = saved, bare = saved, none = saved;
        QTest::newRow("LF-only line ends") << lfOnly.replace("\r\n", "\n");
        QTest::newRow("no final line end") << saved.chopped(2);
        QTest::newRow("comma-separated records") << commas.replace("\"\r\n\"", "\",\"");
        QTest::newRow("quoted numbers and blanks")
            << quoted.replace("\r\n30\r\n20\r\n", "\r\n\"30\"\r\n \"20\" \r\n");
        QTest::newRow("bare event values") << bare.replace("\"", "");
        QTest::newRow("empty lines at the end") << saved + "\r\n\r\n";
        QTest::newRow("a note after record 65") << saved + "Made for the club show\r\n";
        QTest::newRow("end-of-file byte after record 65") << saved + "\x1a";
        QTest::newRow("-1, an empty selector, is NONE") << none.replace("\r\n1\r\n15\r\n", "\r\n1\r\n-1\r\n");
    }

    void acceptsHandEditedForms()
    {
        QFETCH(QByteArray, bytes);
        const SequenceReadResult read = readSequenceFile(bytes);
        QVERIFY2(read.data.has_value(), qPrintable(read.problem));
        QVERIFY(*read.data == workedExample());
    }

    void rejectsBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("problem");
        QByteArray binary(400, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char(i * 37);
        QTest::newRow("empty file") << QByteArray() << 1 << "ends after 0 records";
        QTest::newRow("64 records") << golden("start-up.dat").chopped(4) << 65
                                    << "ends after 64 records";
        QTest::newRow("binary") << binary << 1 << "should be a number";
        QTest::newRow("text for an event") << withRecord(7, "\"on\"") << 7 << "\"on\"";
        QTest::newRow("empty event line") << withRecord(3, "") << 3 << "an empty field";
        QTest::newRow("event 16") << withRecord(1, "\"16\"") << 1 << "is 16, outside 0 to 15";
        QTest::newRow("colour 8") << withRecord(52, "8") << 52 << "colour index of LED 2 is 8";
        QTest::newRow("colour entry too big") << withRecord(56, "40000") << 56 << "colour entry 5";
        QTest::newRow("last event 50") << withRecord(59, "50") << 59 << "last event index is 50";
        QTest::newRow("servo mode -2") << withRecord(60, "-2") << 60 << "servo mode of LED 1";
        QTest::newRow("delay 0") << withRecord(64, "0") << 64 << "sequencer delay is 0";
        QTest::newRow("speed 256") << withRecord(65, "256") << 65 << "test speed is 256";
        QTest::newRow("huge number") << withRecord(59, "99999999999999999999") << 59
                                     << "should be a number";
        QTest::newRow("NUL in an event") << withRecord(4, QByteArray("\"5\0junk\"", 8)) << 4
                                         << "\"5\\x00junk\"";
        QTest::newRow("NUL tail on a delay") << withRecord(64, QByteArray("30\0\0\0garbage", 13))
                                             << 64 << "should be a number";
        QTest::newRow("zero-filled tail") << withRecord(65, QByteArray("2\0\0\0", 4)) << 65
                                          << "test speed";
        QTest::newRow("escape in a field") << withRecord(59, "4\x1b") << 59 << "last event";
        // An extra field shifts every later record: the last event index lands on LED 1's mode.
        QTest::newRow("two records on one line")
            << withRecord(30, "\"0\",\"0\"") << 60 << "servo mode of LED 1 is 49";
    }

    void rejectsBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, record);
        QFETCH(QString, problem);
        const SequenceReadResult read = readSequenceFile(bytes);
        QVERIFY(!read.data.has_value());
        QCOMPARE(read.record, record);
        QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    }
};

QTEST_GUILESS_MAIN(TestSequenceFile)
#include "tst_sequencefile.moc"
