#include "device/downloadstream.h"
#include "device/portname.h"

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

    void portNumbersNameDevices_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("overridden");
        QTest::addColumn<QString>("device");
        QTest::newRow("port 1") << 1 << QString() << "/dev/ttyS0";
        QTest::newRow("port 20") << 20 << QString() << "/dev/ttyS19";
        QTest::newRow("USB adapter") << 3 << "/dev/ttyUSB0"
                                     << "/dev/ttyUSB0";
    }

    void portNumbersNameDevices()
    {
        QFETCH(int, number);
        QFETCH(QString, overridden);
        QFETCH(QString, device);
        QString asked;
        auto env = [&](const QString& name) {
            asked = name;
            return overridden;
        };
        QCOMPARE(portDeviceName(number, env), device);
        QCOMPARE(asked, QStringLiteral("GLIMMERON_PORT_%1").arg(number));
    }
};

QTEST_GUILESS_MAIN(TestDownloadStream)
#include "tst_downloadstream.moc"
