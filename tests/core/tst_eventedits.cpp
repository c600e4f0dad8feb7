#include "core/eventedits.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// Event values as hex digits, a run of four or more empty events as "(n)".
QString pattern(const std::vector<int>& values)
{
    QString text;
    for (int v : values)
        text += QString::number(v, 16);
    const QRegularExpression zeros("0{4,}");
    for (auto m = zeros.match(text); m.hasMatch(); m = zeros.match(text))
        text.replace(m.capturedStart(), m.capturedLength(),
                     QString("(%1)").arg(m.capturedLength()));
    return text;
}

} // namespace

class TestEventEdits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Events 1..10 are 1..a, 48..50 are b, c, d; the rest are empty. "remove 2 3" removes
    // three events from slot 2; "paste 48" pastes 5, 6, 7 there.
    void editsMoveEventsAndTheLastMark_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("newLast");
        auto row = [](const char* edit, int last, const char* events, int newLast) {
            QTest::addRow("%s, last %d", edit, last) << QString(edit) << last << events << newLast;
        };
        row("insert 0", 9, "0123456789a(37)bc", 10);
        row("insert 3", 3, "1230456789a(37)bc", 4);
        row("insert 5", 3, "1234506789a(37)bc", 3);
        row("insert 49", 49, "123456789a(37)bc0", 49);
        row("remove 2 3", 9, "126789a(37)bcd000", 6);
        row("remove 8 2", 9, "12345678(37)bcd00", 7);
        row("remove 47 9", 49, "123456789a(40)", 46);
        row("remove 0 5", 2, "6789a(37)bcd(5)", 0);
        row("remove 47 2147483647", 49, "123456789a(40)", 46);
        row("insert -1", 9, "123456789a(37)bcd", 9);
        row("insert 50", 9, "123456789a(37)bcd", 9);
        row("paste -1", 9, "123456789a(37)bcd", 9);
        row("paste 50", 9, "123456789a(37)bcd", 9);
        row("clear 1 2", 9, "100456789a(37)bcd", 9);
        row("paste 48", 9, "123456789a(37)b56", 9);
        row("rotate 1", 9, "a123456789(37)bcd", 9);
        row("rotate -1", 9, "23456789a1(37)bcd", 9);
        row("rotate 1", 0, "123456789a(37)bcd", 0);
        row("reverse 46 9", 49, "123456789a(36)dcb0", 49);
    }

    void editsMoveEventsAndTheLastMark()
    {
        QFETCH(QString, edit);
        QFETCH(int, last);
        const QStringList words = edit.split(' ');
        const int first = words[1].toInt(), count = words.value(2).toInt();
        SequenceData data;
        data.events = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        data.events[47] = 11, data.events[48] = 12, data.events[49] = 13;
        data.lastEvent = last;
        SequenceData edited;
        if (words[0] == "insert")
            edited = insertEvent(data, first);
        else if (words[0] == "remove")
            edited = removeEvents(data, {first, count});
        else if (words[0] == "clear")
            edited = clearEvents(data, {first, count});
        else if (words[0] == "paste")
            edited = pasteEvents(data, first, {5, 6, 7});
        else if (words[0] == "rotate")
            edited = rotateEvents(data, first);
        else
            edited = reverseEvents(data, {first, count});
        QTEST(pattern({edited.events.begin(), edited.events.end()}), "events");
        QTEST(edited.lastEvent, "newLast");
        QCOMPARE(pastedPastTheEnd(48, 3), 1);
        QCOMPARE(copyEvents(data, {48, 5}), std::vector<int>({12, 13}));
    }

    // Text from elsewhere read back, or refused with a reason.
    void textForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("error");
        auto row = [](const char* name, const char* text, const char* events, const char* error) {
            QTest::newRow(name) << QString(text) << events << error;
        };
        row("labelled", "LED 1  #.#\nLED 2  ...\nLED 3  ...\nLED 4  .#.\n", "181", "");
        row("bare, blanks, CR LF", "\r\n # . #\r\n...\r\n\r\n . . .\t\r\n.#.\r\n", "181", "");
        row("led#, colon", "led#1: #\nLED#2: #\nLED 3 .\nLED4 #", "b", "");
        row("other characters", "#x#\n...\n...\n...", "", "LED 1 holds \"x\"");
        row("three lines", "#\n.\n.", "", "has 3 lines:");
        row("five lines", "#\n.\n.\n.\n#", "", "more than four");
        row("unequal", "##\n..\n.\n..", "", "LED 3 holds 1 event and");
        row("labels out of order", "LED 2 #\nLED 1 #\n.\n.", "", "LED 1 to LED 4 in that order");
        row("only labels", "LED 1\nLED 2\nLED 3\nLED 4", "", "hold no events");
    }

    void textForm()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const EventsRead read = readEventsText(text.toStdString());
        QTEST(pattern(read.values), "events");
        QVERIFY2(QString::fromStdString(read.error).contains(error), read.error.c_str());
        QCOMPARE(read.error.empty(), error.isEmpty());
    }

    void ownForms()
    {
        QCOMPARE(eventsText({1, 2, 4}), "LED 1  #..\nLED 2  .#.\nLED 3  ..#\nLED 4  ...\n");
        QCOMPARE(readEventsBytes(eventsBytes({15, 0, 9})).values, std::vector<int>({15, 0, 9}));
        QVERIFY(!readEventsBytes("\x10").error.empty());
    }
};

QTEST_GUILESS_MAIN(TestEventEdits)
#include "tst_eventedits.moc"
