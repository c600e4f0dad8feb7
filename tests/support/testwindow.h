#pragma once

#include "app/mainwindow.h"
#include "scriptedplatform.h"
#include "sequence/sequencedocument.h"

#include <QMap>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

class QListWidget;

// A main window started in a fresh temporary folder, optionally with an LED.cfg.
struct TestWindow
{
    explicit TestWindow(std::optional<QByteArray> ledCfg = std::nullopt);

    QString path(const QString& name) const { return dir.filePath(name); }
    const MainControls& ui() const { return window->ui(); }
    SequenceDocument& document() const { return window->document(); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<MainWindow> window;
};

bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// A hand-written example file; golden() gives its bytes with records (from 1) replaced.
QString goldenPath(const QString& name);
QByteArray golden(const QString& name, const QMap<int, QByteArray>& records = {});
// Slots from..to (both included) in steps of `step`.
QList<int> range(int from, int to, int step = 1);
// Puts `data` in the session as Open would, the file it names kept.
void setSequence(SequenceDocument& document, const SequenceData& data);
// The slots whose cell is on in row `led` (0..3).
QList<int> rowOn(const SequenceDocument& document, int led);
// The 171-byte stream whose 57 value bytes are `hex`, each followed by CR LF.
QByteArray streamOf(const QByteArray& hex);
// Runs `act` once the pop-up list is open, as a user would; answerList clicks an entry.
void whenOpen(QListWidget* list, const std::function<void()>& act);
void answerList(QListWidget* list, int row);
// Types into whatever has the keyboard.
void typeKeys(const QList<Qt::Key>& keys);
