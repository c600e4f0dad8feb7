#include "files/sequencefile.h"

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

// The 65 records of `data` with one record replaced by `text` (1-based record number).
QByteArray withRecord(int record, const QByteArray& text)
{
    QList<QByteArray> lines = writeSequenceFile(SequenceData{}).split('\n');
    lines[record - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace

class TestSequenceFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheWorkedExample()
    {
        const QByteArray bytes = writeSequenceFile(workedExample());
        QCOMPARE(bytes.size(), 300);
        QCOMPARE(bytes.left(16), QByteArray::fromHex("2235220d0a2232220d0a223135220d0a"));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 66); // 65 records and nothing after the last CR LF
        QVERIFY(lines.last().isEmpty());
        for (int i = 0; i < 65; ++i)
            QVERIFY2(lines[i].endsWith('\r'), qPrintable(QString::number(i + 1)));
        QCOMPARE(lines[3], QByteArray("\"0\"\r"));
        QCOMPARE(lines.mid(50, 15).join('\n'),
                 QByteArray("1\r\n7\r\n7\r\n7\r\n0\r\n0\r\n0\r\n0\r\n2\r\n0\r\n1\r\n15\r\n15\r\n"
                            "30\r\n20\r"));
    }

    void writesTheStartUpFile()
    {
        const QByteArray bytes = writeSequenceFile(SequenceData{});
        QCOMPARE(bytes.size(), 302);
        QCOMPARE(bytes.count('"'), 100); // only the 50 event records are quoted
        QVERIFY(bytes.endsWith("\r\n30\r\n20\r\n"));
    }

    void readsBackWhatItWrites()
    {
        SequenceData data = workedExample();
        data.colourIndexes[5] = -300; // entries 4..7 are carried through as they are
        data.sequencerDelay = 255;
        data.testSpeed = 1;
        const SequenceReadResult read = readSequenceFile(writeSequenceFile(data));
        QVERIFY2(read.data.has_value(), qPrintable(read.problem));
        QVERIFY(*read.data == data);
    }

    void acceptsHandEditedForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray saved = writeSequenceFile(workedExample());
        QByteArray lfOnly = saved;
        lfOnly.replace("\r\n", "\n");
        QByteArray commas = saved;
        commas.replace("\"\r\n\"", "\",\""); // all 50 events on one line
        QByteArray quotedNumbers = saved;
        quotedNumbers.replace("\r\n30\r\n20\r\n", "\r\n\"30\"\r\n \"20\" \r\n");
        QByteArray bareEvents = saved;
        bareEvents.replace("\"", "");
        QTest::newRow("LF-only line ends") << lfOnly;
        QTest::newRow("no final line end") << saved.chopped(2);
        QTest::newRow("comma-separated records") << commas;
        QTest::newRow("quoted numbers and blanks") << quotedNumbers;
        QTest::newRow("bare event values") << bareEvents;
        QTest::newRow("empty lines at the end") << saved + "\r\n\r\n";
    }

    void acceptsHandEditedForms()
    {
        QFETCH(QByteArray, bytes);
        const SequenceReadResult read = readSequenceFile(bytes);
        QVERIFY2(read.data.has_value(), qPrintable(read.problem));
        QVERIFY(*read.data == workedExample());
    }

    void readsAnEmptyServoSelectionAsNone()
    {
        const SequenceReadResult read = readSequenceFile(withRecord(61, "-1"));
        QVERIFY(read.data.has_value());
        QCOMPARE(read.data->servoModes[1], 15);
    }

    void rejectsBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("problem");
        const QByteArray good = writeSequenceFile(SequenceData{});
        QByteArray binary(400, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char(i * 37);

        QTest::newRow("empty file") << QByteArray() << 1 << "ends after 0 records";
        QTest::newRow("64 records") << good.left(good.size() - 4) << 65 << "ends after 64 records";
        QTest::newRow("binary") << binary << 1 << "should be a number";
        QTest::newRow("text for an event") << withRecord(7, "\"on\"") << 7 << "\"on\"";
        QTest::newRow("empty event line") << withRecord(3, "") << 3 << "an empty field";
        QTest::newRow("event 16") << withRecord(1, "\"16\"") << 1 << "is 16, outside 0 to 15";
        QTest::newRow("event -1") << withRecord(50, "\"-1\"") << 50 << "outside 0 to 15";
        QTest::newRow("colour 8") << withRecord(52, "8") << 52 << "colour index of LED 2 is 8";
        QTest::newRow("colour entry too big") << withRecord(56, "40000") << 56 << "colour entry 5";
        QTest::newRow("last event 50") << withRecord(59, "50") << 59 << "last event index is 50";
        QTest::newRow("servo mode 16") << withRecord(63, "16") << 63 << "servo mode of LED 4";
        QTest::newRow("servo mode -2") << withRecord(60, "-2") << 60 << "servo mode of LED 1";
        QTest::newRow("delay 0") << withRecord(64, "0") << 64 << "sequencer delay is 0";
        QTest::newRow("speed 256") << withRecord(65, "256") << 65 << "test speed is 256";
        QTest::newRow("huge number")
            << withRecord(59, "99999999999999999999") << 59 << "should be a number";
        QTest::newRow("more than 65 records") << good + "1\r\n" << 66 << "more data after";
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
