#include "settings/ledcfg.h"
#include "settings/settingsform.h"
#include "testwindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingLedCfgMeansPortOneSilently()
    {
        TestWindow t;
        QCOMPARE(t.window->settings().commPortNumber, 1);
        QCOMPARE(t.window->settingsForm()->CommPortcombo->currentIndex(), 0);
        QVERIFY(t.platform.messageBoxes.isEmpty());
    }

    void badLedCfgIsReportedAndPortOneUsed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << QByteArray() << "holds nothing";
        QTest::newRow("text") << QByteArray("COM3\r\n") << "\"COM3\"";
        QTest::newRow("zero") << QByteArray("0\r\n") << "\"0\"";
        QTest::newRow("21") << QByteArray("21\r\n") << "\"21\"";
        QTest::newRow("binary") << QByteArray("\x01\xff\x02", 3) << "\\x01\\xff\\x02";
    }

    void badLedCfgIsReportedAndPortOneUsed()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        TestWindow t(content);
        QCOMPARE(t.window->settings().commPortNumber, 1);
        QCOMPARE(t.window->serialPortNumber(), 1);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        const auto& box = t.platform.messageBoxes.first();
        QVERIFY2(box.prompt.contains(t.path("LED.cfg")), qPrintable(box.prompt));
        QVERIFY2(box.prompt.contains(shown), qPrintable(box.prompt));
        QVERIFY(box.prompt.contains(QStringLiteral("port 1 is used")));
        QCOMPARE(box.icon, Platform::Icon::Exclamation);
    }

    void timingSettingsNeverComeFromLedCfg()
    {
        TestWindow t("5\r\n100\r\n50\r\n");
        QCOMPARE(t.window->settings().commPortNumber, 5);
        QCOMPARE(t.window->settings().sequencerDelay, 30);
        QCOMPARE(t.window->settings().testSpeed, 20);
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
        for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(control == dialog->PortDevicelabel ||
                         !control->geometry().intersects(dialog->PortDevicelabel->geometry()),
                     qPrintable(control->objectName()));
        }
    }

    void okAppliesAndStoresThePort()
    {
        std::optional<TestWindow> t(std::in_place, "2\r\n");
        Settings_form* dialog = t->window->settingsForm();
        t->window->MENUsettings_Click();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(t->window->isEnabled());
        dialog->CommPortcombo->setCurrentIndex(2);
        dialog->PICSpeedcombo->setCurrentIndex(99);
        dialog->PCSpeedcombo->setCurrentIndex(49);
        QTest::mouseClick(dialog->SettingsOKbutton, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QCOMPARE(t->window->settings().commPortNumber, 3);
        QCOMPARE(t->window->settings().sequencerDelay, 100);
        QCOMPARE(t->window->settings().testSpeed, 50);
        QCOMPARE(t->window->serialPortNumber(), 3);
        QCOMPARE(readFile(t->path("LED.cfg")), QByteArray::fromHex("330d0a"));

        // The next start-up in the same folder reads it back; the delays start afresh.
        const QString folder = t->dir.path();
        t->dir.setAutoRemove(false);
        t.reset();
        ScriptedPlatform platform;
        Main_LEDFlasher_form again(platform, QDir(folder).filePath("LED.cfg"), QUrl());
        QCOMPARE(again.settingsForm()->CommPortcombo->currentIndex(), 2);
        QCOMPARE(again.serialPortNumber(), 3);
        QCOMPARE(again.settings().sequencerDelay, 30);
        QDir(folder).removeRecursively();
    }

    void firstOkKeepsTheStartValues()
    {
        TestWindow t("7\r\n");
        t.window->Settings_button_Click();
        t.window->settingsForm()->SettingsOKbutton_Click();
        QCOMPARE(t.window->settings().sequencerDelay, 30);
        QCOMPARE(t.window->settings().testSpeed, 20);
        QCOMPARE(readFile(t.path("LED.cfg")), QByteArray("7\r\n"));
    }

    void cancelKeepsSettingsButNotTheSelection()
    {
        TestWindow t;
        Settings_form* dialog = t.window->settingsForm();
        t.window->MENUsettings_Click();
        dialog->PCSpeedcombo->setCurrentIndex(4);
        QTest::mouseClick(dialog->SettingsCancelbutton, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QCOMPARE(t.window->settings().testSpeed, 20);
        QVERIFY(!QFile::exists(t.path("LED.cfg")));
        t.window->MENUsettings_Click();
        QCOMPARE(dialog->PCSpeedcombo->currentIndex(), 4); // the lists are not refreshed
        dialog->SettingsOKbutton_Click();
        QCOMPARE(t.window->settings().testSpeed, 5);
    }

    void unwritableLedCfgIsReportedButApplied()
    {
        TestWindow t;
        QDir(t.dir.path()).mkdir("LED.cfg"); // a folder where the file should go
        t.window->MENUsettings_Click();
        t.window->settingsForm()->CommPortcombo->setCurrentIndex(5);
        t.window->settingsForm()->SettingsOKbutton_Click();
        QCOMPARE(t.window->settings().commPortNumber, 6);
        QCOMPARE(t.platform.messageBoxes.size(), 1);
        QVERIFY(t.platform.messageBoxes[0].prompt.contains(t.path("LED.cfg")));
        QVERIFY(t.platform.messageBoxes[0].prompt.contains("could not be stored"));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
