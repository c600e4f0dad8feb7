#include "device/downloadstream.h"
#include "device/portmap.h"

#include <QTest>

Q_DECLARE_METATYPE(DownloadValues)

class TestDownloadStream : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void streamsGoldenBytes_data()
    {
        QTest::addColumn<DownloadValues>("values");
        QTest::addColumn<QByteArray>("hex"); // value bytes of the 57 records, before CR LF
        DownloadValues example;
        example.events[0] = 1;
        example.events[1] = 2;
        example.events[2] = 3;
        example.servoModes = {15, 3, 0, 15};
        example.lastEvent = 2;
        DownloadValues rawEnds;
        rawEnds.events[4] = 13; // a value byte may equal CR or LF
        rawEnds.events[5] = 10;
        QTest::newRow("worked example")
            << example << "2a010203" + QByteArray(94, '0') + "0f03000f1e02";
        QTest::newRow("blank sequence")
            << DownloadValues{} << "2a" + QByteArray(100, '0') + "0f0f0f0f1e31";
        QTest::newRow("CR and LF values")
            << rawEnds << "2a000000000d0a" + QByteArray(88, '0') + "0f0f0f0f1e31";
    }

    void streamsGoldenBytes()
    {
        QFETCH(DownloadValues, values);
        QFETCH(QByteArray, hex);
        QByteArray expected;
        for (char value : QByteArray::fromHex(hex))
            expected += QByteArray(1, value) + "\r\n";
        QCOMPARE(expected.size(), 171);
        QCOMPARE(downloadStream(values), expected);
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
