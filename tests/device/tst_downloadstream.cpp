#include "device/downloadstream.h"
#include "device/portmap.h"

#include <QTest>

class TestDownloadStream : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matchesTheWorkedExample()
    {
        DownloadValues values;
        values.events[0] = 1;
        values.events[1] = 2;
        values.events[2] = 3;
        values.servoModes = {15, 3, 0, 15};
        values.sequencerDelay = 30;
        values.lastEvent = 2;
        QByteArray expected = QByteArray::fromHex("2a0d0a010d0a020d0a030d0a");
        for (int i = 0; i < 47; ++i)
            expected += QByteArray::fromHex("000d0a");
        expected += QByteArray::fromHex("0f0d0a030d0a000d0a0f0d0a1e0d0a020d0a");
        QCOMPARE(downloadStream(values), expected);
        QCOMPARE(expected.size(), 171);
    }

    void blankSequenceEndsWithLastEvent49()
    {
        const QByteArray stream = downloadStream(DownloadValues{});
        QCOMPARE(stream.size(), 171);
        QCOMPARE(stream.right(12), QByteArray::fromHex("0f0d0a0f0d0a1e0d0a310d0a"));
        for (int r = 2; r <= 51; ++r)
            QCOMPARE(stream[(r - 1) * 3], '\0');
    }

    void sendsCarriageReturnAndLineFeedValuesRaw()
    {
        DownloadValues values;
        values.events[4] = 13;
        values.events[5] = 10;
        const QByteArray stream = downloadStream(values);
        QCOMPARE(stream.mid(5 * 3, 6), QByteArray("\r\r\n\n\r\n"));
        // Fixed positions: every third byte from the start is a value byte.
        for (int r = 0; r < kDownloadRecords; ++r)
            QCOMPARE(stream.mid(r * 3 + 1, 2), QByteArray("\r\n"));
    }

    void portNumbersFollowTheFoundPorts_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("overridden");
        QTest::addColumn<QString>("device");
        // Found in the system's order; adapters come first, digits compare by value.
        QTest::newRow("first adapter") << 1 << QString() << "/dev/ttyACM0";
        QTest::newRow("second adapter") << 2 << QString() << "/dev/ttyUSB0";
        QTest::newRow("ttyS2 before ttyS10") << 4 << QString() << "/dev/ttyS2";
        QTest::newRow("last found") << 5 << QString() << "/dev/ttyS10";
        QTest::newRow("beyond the ports found") << 6 << QString() << QString();
        QTest::newRow("environment names the device") << 6 << "/dev/pts/7"
                                                      << "/dev/pts/7";
        QTest::newRow("empty environment is unset") << 1 << QString("") << "/dev/ttyACM0";
    }

    void portNumbersFollowTheFoundPorts()
    {
        QFETCH(int, number);
        QFETCH(QString, overridden);
        QFETCH(QString, device);
        QStringList asked;
        const PortMap map({{"/dev/ttyS10", ""},
                           {"/dev/ttyUSB0", "FT232R USB UART"},
                           {"/dev/ttyS0", "16550A"},
                           {"/dev/ttyS2", ""},
                           {"/dev/ttyACM0", "CDC"}},
                          [&](const QString& name) {
                              asked << name;
                              return name == QStringLiteral("GLIMMERON_PORT_%1").arg(number)
                                         ? overridden
                                         : QString();
                          });
        QCOMPARE(map.entry(number).device, device);
        QCOMPARE(asked.value(0), QStringLiteral("GLIMMERON_PORT_%1").arg(number));
        QCOMPARE(map.numbered().size(), overridden.isEmpty() ? 5 : 6);
    }

    void portTextsNameTheDevices()
    {
        const auto none = [](const QString&) { return QString(); };
        const PortMap map({{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyS0", ""}}, none);
        QCOMPARE(map.describe(1), QStringLiteral("/dev/ttyUSB0 - FT232R USB UART"));
        QCOMPARE(map.describe(3), QStringLiteral("No serial port has number 3. The serial ports "
                                                 "found are 1: /dev/ttyUSB0 - FT232R USB UART, "
                                                 "2: /dev/ttyS0."));
        QVERIFY(PortMap({}, none).listing().contains("plug in the programming cable"));
    }
};

QTEST_GUILESS_MAIN(TestDownloadStream)
#include "tst_downloadstream.moc"
