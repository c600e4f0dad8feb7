#pragma once

#include "app/mainwindow.h"
#include "scriptedplatform.h"

#include <QMap>
#include <QTemporaryDir>
#include <memory>
#include <optional>

// A main window started in a fresh temporary folder, optionally with an LED.cfg.
struct TestWindow
{
    explicit TestWindow(std::optional<QByteArray> ledCfg = std::nullopt);

    QString path(const QString& name) const { return dir.filePath(name); }
    const MainControls& ui() const { return window->ui(); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<Main_LEDFlasher_form> window;
};

void writeFile(const QString& path, const QByteArray& bytes);
// A worked example's data file, written by hand from the file format, not by our
// writer; golden() gives its bytes with some records (numbered from 1) replaced.
QString goldenPath(const QString& name);
QByteArray golden(const QString& name, const QMap<int, QByteArray>& records = {});
QByteArray readFile(const QString& path);
// Slots from..to (both included) in steps of `step`.
QList<int> range(int from, int to, int step = 1);
// The slots whose cell is on in LED `led`'s row.
QList<int> rowOn(const Main_LEDFlasher_form& window, int led);
// True when what the window shows agrees with its sequence: each mem caption with its
// four cells, the ruler mark with the last event, each LED's name with its colour.
bool showsItsSequence(const Main_LEDFlasher_form& window);

// Makes `path` a named pipe. A reader that blocks on it holds its test function until
// QTest's watchdog (QTEST_FUNCTION_TIMEOUT) fails it.
void makeFifo(const QString& path);

// The 171-byte stream whose 57 value bytes are `hex`, each followed by CR LF.
QByteArray streamOf(const QByteArray& hex);

class QListWidget;
// Clicks entry `row` of a pop-up list as soon as the event loop runs, as a user would
// once the list has opened.
void clickListEntryLater(QListWidget* list, int row, int delayMs = 0);
void clickListEntry(QListWidget* list, int row);
