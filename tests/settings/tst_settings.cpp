#include "settings/ledcfg.h"
#include "settings/settingsdialog.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // LED.cfg, bare in a non-UTF-8 start folder or else the user's, read at start, written by OK.
    void ledCfgAtStartUpAndOk_data()
    {
        QTest::addColumn<QByteArray>("content"); // "none": no file; "fifo": a named pipe
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("shown"); // empty: no message
        QTest::newRow("missing") << QByteArray("none") << 1 << QString();
        QTest::newRow("port 5, more lines") << QByteArray("5\r\n100\r\n50\r\n") << 5 << QString();
        QTest::newRow("port 20") << QByteArray("20\r\n") << 20 << QString();
        QTest::newRow("empty") << QByteArray() << 1 << "holds nothing";
        QTest::newRow("21") << QByteArray("21\r\n") << 1 << "\"21\"";
        QTest::newRow("0") << QByteArray("0\r\n") << 1 << "\"0\"";
        QTest::newRow("NUL after the digit") << QByteArray("3\0junk", 6) << 1 << "\"3\\x00junk\"";
        QTest::newRow("FIFO") << QByteArray("fifo") << 1 << "named pipe";
    }

    void ledCfgAtStartUpAndOk()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, port);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/port\xff\xfe";
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        const QString home = QDir::currentPath();
        QCOMPARE(::chdir(folder.constData()), 0);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        const QString user = dir.filePath("config/glimmeron/LED.cfg");
        if (content == "fifo")
            QCOMPARE(::mkfifo("LED.cfg", 0600), 0);
        else if (content != "none")
            QVERIFY(writeFile("LED.cfg", content));
        ScriptedPlatform platform;
        const QString location = ledCfgLocation();
        QCOMPARE(location, content == "none" ? user : "LED.cfg");
        MainWindow window(platform, location, QUrl(), QStringLiteral("."));
        SettingsDialog* dialog = window.settingsDialog();
        const Settings values = dialog->values(); // the timing never comes from LED.cfg
        QCOMPARE(values.commPortNumber, port);
        QCOMPARE(values.sequencerDelay, 30);
        QCOMPARE(values.testSpeed, 20);
        QCOMPARE(platform.messageBoxes.size(), shown.isEmpty() ? 0 : 1);
        const QString prompt = platform.messageBoxes.value(0).prompt;
        QVERIFY2(shown.isEmpty() || (prompt.contains("LED.cfg") && prompt.contains(shown) &&
                                     prompt.contains("port 1 is used")),
                 qPrintable(prompt));
        dialog->CommPortcombo->setCurrentIndex(port % 20);
        dialog->accept(); // a FIFO is not replaced, and says so
        const bool fifo = content == "fifo";
        const QByteArray stored =
            fifo ? QByteArray(QFileInfo(location).isFile() ? "" : "FIFO") : readFile(location);
        QVERIFY(QDir::setCurrent(home));
        QCOMPARE(stored, fifo ? "FIFO" : QByteArray::number(port % 20 + 1) + "\r\n");
        QCOMPARE(platform.messageBoxes.size(), shown.isEmpty() ? 0 : fifo ? 2 : 1);
        QVERIFY(!fifo || platform.messageBoxes[1].prompt.contains("it is a named pipe"));
        QCOMPARE(::unlink(folder + "/LED.cfg") == 0, content != "none");
        QCOMPARE(::rmdir(folder.constData()), 0);
    }

    // OK applies and stores; Cancel only hides; Open and undo show the file's timing.
    void okAppliesAndStoresCancelOnlyHides()
    {
        TestWindow t("7\r\n");
        SettingsDialog* dialog = t.window->settingsDialog();
        t.window->showSettings();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        dialog->CommPortcombo->setCurrentIndex(19);
        dialog->PICSpeedcombo->setCurrentIndex(254);
        dialog->PCSpeedcombo->setCurrentIndex(254);
        QTest::mouseClick(dialog->SettingsCancelbutton, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QCOMPARE(t.document().testSpeed(), 20);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("7\r\n"));
        t.window->showSettings(); // the lists still show the cancelled choice
        QTest::mouseClick(dialog->SettingsOKbutton, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QCOMPARE(dialog->commPortNumber(), 20);
        t.window->showSettings(); // a stored number without a device is pointed out
        QVERIFY(
            dialog->PortDevicelabel->text().startsWith("Port 20: No serial port has number 20."));
        QCOMPARE(t.document().sequencerDelay(), 255);
        QCOMPARE(t.document().testSpeed(), 255);
        t.platform.ports = {{"/dev/ttyS0", ""}}; // the download takes the port chosen here
        t.window->downloadSequence();
        QVERIFY(t.platform.messageBoxes.last().prompt.contains("No serial port has number 20."));

        t.platform.fileChoices << goldenPath("worked-example.dat");
        t.window->openSequence();
        QCOMPARE(dialog->values().sequencerDelay, 30);
        t.ui().MENUundo->trigger();
        QCOMPARE(dialog->values().testSpeed, 255);

        const QByteArray cfg = QFile::encodeName(t.path("LED.cfg"));
        QCOMPARE(::chmod(cfg.constData(), 0), 0); // the next start-up can read what OK writes
        dialog->accept();
        struct stat written = {};
        QCOMPARE(::stat(cfg.constData(), &written), 0);
        QCOMPARE(written.st_mode & 0600, 0600u);
        QCOMPARE(dialog->findChild<QLabel*>("LedCfglabel")->text(),
                 "The port number is kept in " + t.path("LED.cfg"));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
