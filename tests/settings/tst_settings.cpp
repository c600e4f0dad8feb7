#include "settings/settingsdialog.h"
#include "testwindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ledCfgAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("content"); // "none": no file; "fifo": a named pipe
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("shown"); // empty: no message
        QTest::newRow("missing") << QByteArray("none") << 1 << QString();
        QTest::newRow("port 5, more lines") << QByteArray("5\r\n100\r\n50\r\n") << 5 << QString();
        QTest::newRow("port 20") << QByteArray("20\r\n") << 20 << QString();
        QTest::newRow("empty") << QByteArray() << 1 << "holds nothing";
        QTest::newRow("text") << QByteArray("COM3\r\n") << 1 << "\"COM3\"";
        QTest::newRow("zero") << QByteArray("0\r\n") << 1 << "\"0\"";
        QTest::newRow("21") << QByteArray("21\r\n") << 1 << "\"21\"";
        QTest::newRow("binary") << QByteArray("\x01\xff\x02", 3) << 1 << "\\x01\\xff\\x02";
        QTest::newRow("NUL after the digit") << QByteArray("3\0junk", 6) << 1 << "\"3\\x00junk\"";
        QTest::newRow("FIFO") << QByteArray("fifo") << 1 << "named pipe";
    }

    void ledCfgAtStartUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, port);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        if (content == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("LED.cfg")).constData(), 0600), 0);
        else if (content != "none")
            QVERIFY(writeFile(dir.filePath("LED.cfg"), content));
        ScriptedPlatform platform;
        MainWindow window(platform, dir.filePath("LED.cfg"), QUrl());
        SettingsDialog* dialog = window.settingsDialog();
        QCOMPARE(dialog->commPortNumber(), port);
        const Settings shownValues = dialog->values(); // the timing never comes from LED.cfg
        QCOMPARE(shownValues.commPortNumber, port);
        QCOMPARE(shownValues.sequencerDelay, 30);
        QCOMPARE(shownValues.testSpeed, 20);
        QCOMPARE(platform.messageBoxes.size(), shown.isEmpty() ? 0 : 1);
        const QString prompt = platform.messageBoxes.value(0).prompt;
        QVERIFY2(shown.isEmpty() || (prompt.contains(dir.filePath("LED.cfg")) &&
                                     prompt.contains(shown) && prompt.contains("port 1 is used")),
                 qPrintable(prompt));
    }

    // The ports are looked up again each time the dialog opens.
    void dialogNamesTheDeviceOfTheChosenNumber()
    {
        TestWindow t;
        SettingsDialog* dialog = t.window->settingsDialog();
        t.platform.ports = {{"/dev/ttyS0", "16550A"}};
        t.window->showSettings();
        QCOMPARE(dialog->PortDevicelabel->text(), QStringLiteral("Port 1: /dev/ttyS0 - 16550A"));
        dialog->reject();
        t.platform.ports << SerialPortEntry{"/dev/ttyUSB0", "FT232R USB UART"};
        t.window->showSettings();
        QCOMPARE(dialog->PortDevicelabel->text(),
                 QStringLiteral("Port 1: /dev/ttyUSB0 - FT232R USB UART"));
        dialog->CommPortcombo->setCurrentIndex(1);
        QCOMPARE(dialog->PortDevicelabel->text(), QStringLiteral("Port 2: /dev/ttyS0 - 16550A"));
        QCOMPARE(dialog->CommPortcombo->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyS0");
        dialog->CommPortcombo->setCurrentIndex(19);
        QVERIFY(
            dialog->PortDevicelabel->text().startsWith("Port 20: No serial port has number 20."));
        for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(control == dialog->PortDevicelabel ||
                         !control->geometry().intersects(dialog->PortDevicelabel->geometry()),
                     qPrintable(control->objectName()));
    }

    // OK applies and stores, even where LED.cfg cannot be written; Cancel only hides;
    // Open and undo show the file's timing in the lists.
    void okAppliesAndStoresCancelOnlyHides()
    {
        TestWindow t("7\r\n");
        SettingsDialog* dialog = t.window->settingsDialog();
        t.window->showSettings();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        dialog->accept(); // a first OK keeps the start values
        QCOMPARE(t.document().sequencerDelay(), 30);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("7\r\n"));

        t.window->showSettings();
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
        QCOMPARE(t.document().sequencerDelay(), 255);
        QCOMPARE(t.document().testSpeed(), 255);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("20\r\n"));

        t.platform.fileChoices << goldenPath("worked-example.dat");
        t.window->openSequence();
        QCOMPARE(dialog->values().sequencerDelay, 30);
        t.ui().MENUundo->trigger();
        QCOMPARE(dialog->values().testSpeed, 255);

        QVERIFY(QFile::remove(t.path("LED.cfg")));
        QVERIFY(QDir(t.dir.path()).mkdir("LED.cfg"));
        dialog->CommPortcombo->setCurrentIndex(5);
        dialog->accept(); // a folder where the file should go: applied, told
        QCOMPARE(dialog->commPortNumber(), 6);
        const QString prompt = t.platform.messageBoxes.value(0).prompt;
        QVERIFY2(prompt.contains(t.path("LED.cfg")) && prompt.contains("could not be stored"),
                 qPrintable(prompt));
    }

    // The program names LED.cfg bare, in a folder whose name is not valid UTF-8.
    void ledCfgInAFolderOfAnyName()
    {
        QTemporaryDir dir;
        const std::string folder = QFile::encodeName(dir.path()).toStdString() + "/port\xff\xfe";
        QCOMPARE(::mkdir(folder.c_str(), 0700), 0);
        const QString home = QDir::currentPath();
        QCOMPARE(::chdir(folder.c_str()), 0);
        std::ofstream("LED.cfg") << "4\r\n";
        {
            ScriptedPlatform platform;
            MainWindow window(platform, QStringLiteral("LED.cfg"), QUrl());
            QCOMPARE(window.settingsDialog()->commPortNumber(), 4);
            window.settingsDialog()->CommPortcombo->setCurrentIndex(8);
            window.settingsDialog()->accept();
            QVERIFY(platform.messageBoxes.isEmpty());
        }
        QVERIFY(QDir::setCurrent(home));
        std::ifstream stored(folder + "/LED.cfg", std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(stored), {}), std::string("9\r\n"));
        // QTemporaryDir cannot name what is inside.
        QVERIFY(::unlink((folder + "/LED.cfg").c_str()) == 0 && ::rmdir(folder.c_str()) == 0);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
