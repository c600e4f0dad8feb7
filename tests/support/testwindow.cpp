#include "testwindow.h"

#include "platform/layout.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

TestWindow::TestWindow(std::optional<QByteArray> ledCfg)
{
    if (ledCfg)
        writeFile(path(QStringLiteral("LED.cfg")), *ledCfg);
    window = std::make_unique<Main_LEDFlasher_form>(
        platform, path(QStringLiteral("LED.cfg")),
        QUrl::fromLocalFile(path(QStringLiteral("manual.html"))));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qFatal("the main window was not shown");
}

void makeFifo(const QString& path)
{
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make the FIFO %s", qPrintable(path));
}

QByteArray streamOf(const QByteArray& hex)
{
    QByteArray stream;
    for (char value : QByteArray::fromHex(hex))
        stream += QByteArray(1, value) + "\r\n";
    return stream;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString goldenPath(const QString& name)
{
    return QStringLiteral(GOLDEN_DIR "/sequencefile/") + name;
}

QByteArray golden(const QString& name, const QMap<int, QByteArray>& records)
{
    QList<QByteArray> lines = readFile(goldenPath(name)).split('\n');
    for (auto [record, text] : records.asKeyValueRange())
        lines[record - 1] = text + '\r';
    return lines.join('\n');
}

QList<int> range(int from, int to, int step)
{
    QList<int> values;
    for (int i = from; i <= to; i += step)
        values << i;
    return values;
}

QList<int> rowOn(const Main_LEDFlasher_form& window, int led)
{
    QList<int> on;
    for (int i = 0; i < 50; ++i)
        if (window.cellOn(led, i))
            on << i;
    return on;
}

bool showsItsSequence(const Main_LEDFlasher_form& window)
{
    const SequenceData sequence = window.currentSequence();
    const MainControls& ui = window.ui();
    for (int i = 0; i < 50; ++i) {
        int value = 0;
        for (int led = 1; led <= 4; ++led)
            value |= window.cellOn(led, i) ? 1 << (led - 1) : 0;
        if (ui.mem[i]->text() != QString::number(value) ||
            (textColour(ui.TimeAxis[i]) == Qt::red) != (i == sequence.lastEvent))
            return false;
    }
    for (int k = 0; k < 4; ++k)
        if (ui.LEDlabel1[k]->accessibleName().section(": ", 1) !=
            ui.ColorList->item(sequence.colourIndexes[k])->text())
            return false;
    return true;
}

void clickListEntry(QListWidget* list, int row)
{
    if (list->isHidden())
        qFatal("list %s is not open", qPrintable(list->objectName()));
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void clickListEntryLater(QListWidget* list, int row, int delayMs)
{
    QTimer::singleShot(delayMs, list, [list, row] { clickListEntry(list, row); });
}
