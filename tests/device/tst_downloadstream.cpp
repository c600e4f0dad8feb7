#include "device/portmap.h"

#include <QTest>

class TestDownloadStream : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
