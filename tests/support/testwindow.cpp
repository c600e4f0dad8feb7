#include "testwindow.h"

#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>

TestWindow::TestWindow(std::optional<QByteArray> ledCfg)
{
    if (ledCfg)
        writeFile(path(QStringLiteral("LED.cfg")), *ledCfg);
    window = std::make_unique<MainWindow>(platform, path(QStringLiteral("LED.cfg")),
                                          QUrl::fromLocalFile(path(QStringLiteral("manual.html"))));
    window->show();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

QList<int> rowOn(const SequenceDocument& document, int led)
{
    QList<int> on;
    for (int i = 0; i < 50; ++i)
        if (document.cell(led, i))
            on << i;
    return on;
}

QByteArray streamOf(const QByteArray& hex)
{
    QByteArray stream;
    for (char value : QByteArray::fromHex(hex))
        stream += QByteArray(1, value) + "\r\n";
    return stream;
}

namespace {

// Clicks once the event loop runs, that is once the list's wait has begun.
void clickSoon(QListWidget* list, int row)
{
    QTimer::singleShot(0, list, [list, row] {
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
}

// Waits for the list's Show event.
class ListAnswer : public QObject
{
public:
    ListAnswer(QListWidget* list, int row) : QObject(list), m_row(row)
    {
        list->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            clickSoon(static_cast<QListWidget*>(watched), m_row);
            deleteLater();
        }
        return false;
    }

private:
    int m_row;
};

} // namespace

void answerList(QListWidget* list, int row)
{
    if (list->isVisible())
        clickSoon(list, row);
    else
        new ListAnswer(list, row);
}
