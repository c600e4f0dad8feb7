#include "settings/settingsform.h"
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
        QTest::newRow("empty") << QByteArray() << 1 << "holds nothing";
        QTest::newRow("text") << QByteArray("COM3\r\n") << 1 << "\"COM3\"";
        QTest::newRow("zero") << QByteArray("0\r\n") << 1 << "\"0\"";
        QTest::newRow("21") << QByteArray("21\r\n") << 1 << "\"21\"";
        QTest::newRow("binary") << QByteArray("\x01\xff\x02", 3) << 1 << "\\x01\\xff\\x02";
        QTest::newRow("NUL after the digit") << QByteArray("3\0junk", 6) << 1 << "\"3\\x00junk\"";
        QTest::newRow("zero-filled tail") << QByteArray("2\0\0\0", 4) << 1 << "\"2\\x00";
        QTest::newRow("FIFO") << QByteArray("fifo") << 1 << "named pipe";
    }

    void ledCfgAtStartUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, port);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        if (content == "fifo")
            makeFifo(dir.filePath("LED.cfg"));
        else if (content != "none")
            writeFile(dir.filePath("LED.cfg"), content);
        ScriptedPlatform platform;
        Main_LEDFlasher_form window(platform, dir.filePath("LED.cfg"), QUrl());
        const Settings settings = window.settings();
        QCOMPARE(settings.commPortNumber, port);
        QVERIFY(window.serialPortNumber() == port &&
                window.settingsForm()->CommPortcombo->currentIndex() == port - 1);
        QVERIFY(settings.sequencerDelay == 30 && settings.testSpeed == 20); // never from LED.cfg
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
        Settings_form* dialog = t.window->settingsForm();
        t.platform.ports = {{"/dev/ttyS0", "16550A"}};
        t.window->MENUsettings_Click();
        QCOMPARE(dialog->PortDevicelabel->text(), QStringLiteral("Port 1: /dev/ttyS0 - 16550A"));
        dialog->SettingsCancelbutton_Click();
        t.platform.ports << SerialPortEntry{"/dev/ttyUSB0", "FT232R USB UART"};
        t.window->MENUsettings_Click();
        QCOMPARE(dialog->PortDevicelabel->text(),
                 QStringLiteral("Port 1: /dev/ttyUSB0 - FT232R USB UART"));
        dialog->CommPortcombo->setCurrentIndex(1);
        QCOMPARE(dialog->PortDevicelabel->text(), QStringLiteral("Port 2: /dev/ttyS0 - 16550A"));
        QCOMPARE(dialog->CommPortcombo->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyS0");
        dialog->CommPortcombo->setCurrentIndex(2);
        QVERIFY(dialog->PortDevicelabel->text().startsWith("Port 3: No serial port has number 3."));
        for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(control == dialog->PortDevicelabel ||
                         !control->geometry().intersects(dialog->PortDevicelabel->geometry()),
                     qPrintable(control->objectName()));
    }

    // OK applies and stores, even where LED.cfg cannot be written; Cancel only hides.
    void okAppliesAndStoresCancelOnlyHides()
    {
        TestWindow t("7\r\n");
        Settings_form* dialog = t.window->settingsForm();
        t.window->Settings_button_Click();
        QVERIFY(dialog->isVisible() && !dialog->isModal());
        dialog->SettingsOKbutton_Click(); // a first OK keeps the start values
        QCOMPARE(t.window->settings().sequencerDelay, 30);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("7\r\n"));

        t.window->MENUsettings_Click();
        dialog->CommPortcombo->setCurrentIndex(2);
        dialog->PICSpeedcombo->setCurrentIndex(99);
        dialog->PCSpeedcombo->setCurrentIndex(49);
        QTest::mouseClick(dialog->SettingsCancelbutton, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QCOMPARE(t.window->settings().testSpeed, 20);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("7\r\n"));
        t.window->MENUsettings_Click(); // the lists still show the cancelled choice
        QTest::mouseClick(dialog->SettingsOKbutton, Qt::LeftButton);
        const Settings applied = t.window->settings();
        QVERIFY(dialog->isHidden() && applied.commPortNumber == 3 &&
                applied.sequencerDelay == 100 && applied.testSpeed == 50 &&
                t.window->serialPortNumber() == 3);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray::fromHex("330d0a"));
        QVERIFY(QFile::remove(t.path("LED.cfg")) && QDir(t.dir.path()).mkdir("LED.cfg"));
        dialog->CommPortcombo->setCurrentIndex(5);
        dialog->SettingsOKbutton_Click(); // a folder where the file should go: applied, told
        QCOMPARE(t.window->settings().commPortNumber, 6);
        const QString prompt = t.platform.messageBoxes.value(0).prompt;
        QVERIFY(prompt.contains(t.path("LED.cfg")) && prompt.contains("could not be stored"));
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
            Main_LEDFlasher_form window(platform, QStringLiteral("LED.cfg"), QUrl());
            QCOMPARE(window.settings().commPortNumber, 4);
            window.settingsForm()->CommPortcombo->setCurrentIndex(8);
            window.settingsForm()->SettingsOKbutton_Click();
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
