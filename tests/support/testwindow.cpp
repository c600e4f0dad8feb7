#include "testwindow.h"

#include "core/sequencefile.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>

TestWindow::TestWindow(std::optional<QByteArray> ledCfg)
{
    if (ledCfg)
        writeFile(path(QStringLiteral("LED.cfg")), *ledCfg);
    window = std::make_unique<MainWindow>(platform, path(QStringLiteral("LED.cfg")),
                                          QUrl::fromLocalFile(path(QStringLiteral("manual.html"))),
                                          dir.path());
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

void setSequence(SequenceDocument& document, const SequenceData& data)
{
    EditSession& session = document.session();
    session.open(sequenceFileBytes(data), session.filePath(), "test", false);
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

void whenOpen(QListWidget* list, const std::function<void()>& act)
{
    auto* watch = new QTimer(list);
    QObject::connect(watch, &QTimer::timeout, list, [list, act, watch] {
        if (!list->isVisible())
            return;
        watch->stop();
        watch->deleteLater();
        act();
    });
    watch->start(1);
}

void answerList(QListWidget* list, int row)
{
    whenOpen(list, [list, row] {
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
}

void typeKeys(const QList<Qt::Key>& keys)
{
    for (Qt::Key key : keys)
        QTest::keyClick(QApplication::focusWidget(), key);
}
