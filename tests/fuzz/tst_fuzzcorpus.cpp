// Replays every input the fuzzers kept (seeds, coverage finds and crashes) through the
// readers, so what was once found stays fixed.
#include "readerchecks.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readersHoldOnEveryKeptInput_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("sequence");
        for (const QString& target : {QStringLiteral("sequencefile"), QStringLiteral("ledcfg")}) {
            const QDir dir(QStringLiteral(FUZZ_CORPUS_DIR "/") + target);
            const QStringList files = dir.entryList(QDir::Files);
            QVERIFY2(!files.isEmpty(), qPrintable(dir.path()));
            for (const QString& name : files)
                QTest::newRow(qPrintable(target + '/' + name))
                    << dir.filePath(name) << (target == QLatin1String("sequencefile"));
        }
    }

    void readersHoldOnEveryKeptInput()
    {
        QFETCH(QString, file);
        QFETCH(bool, sequence);
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        QVERIFY(sequence ? sequenceReaderHolds(bytes) : ledCfgReaderHolds(bytes));
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
