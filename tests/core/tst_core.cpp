// The portable rules without Qt: what the desktop and the web edition both rely on.
#include "core/colourtable.h"
#include "core/downloadstream.h"
#include "core/eventedits.h"
#include "core/picturelayout.h"
#include "core/sequencefile.h"
#include "core/servozones.h"
#include "core/sharelink.h"
#include "core/teststep.h"
#include "layoutprobe.h"
#include "readerchecks.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    }
}

std::string golden(const char* name)
{
    std::ifstream in(std::string(GOLDEN_DIR "/sequencefile/") + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const SequenceData kWorked{.events = {5, 2, 15},
                           .colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0},
                           .lastEvent = 2,
                           .servoModes = {0, 1, 15, 15}};

std::string replaced(std::string s, std::string_view from, std::string_view to)
{
    for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// The start-up file with record `n` (from 1) replaced by `text`.
std::string withRecord(int n, std::string_view text)
{
    std::string s = golden("start-up.dat");
    std::size_t at = 0;
    for (int i = 1; i < n; ++i)
        at = s.find('\n', at) + 1;
    return s.replace(at, s.find('\r', at) - at, text);
}

void fileWritesTheWorkedExamples()
{
    for (const auto& [file, data] :
         {std::pair("worked-example.dat", kWorked), std::pair("start-up.dat", SequenceData{})}) {
        const std::string bytes = golden(file);
        check(!bytes.empty() && sequenceFileBytes(data) == bytes, file);
    }
    // Hand-edited forms read as the worked example (record 0); a bad file names its record
    // and what is wrong with it.
    const std::string saved = golden("worked-example.dat");
    const std::tuple<std::string, int, std::string> rows[] = {
        {saved, 0, "as written"},
        {replaced(saved, "\r\n", "\n"), 0, "LF-only line ends"},
        {saved.substr(0, saved.size() - 2), 0, "no final line end"},
        {replaced(saved, "\"\r\n\"", "\",\""), 0, "comma-separated records"},
        {replaced(saved, "\r\n30\r\n20\r\n", "\r\n\"30\"\r\n \"20\" \r\n"), 0, "quoted numbers"},
        {replaced(saved, "\"", ""), 0, "bare event values"},
        {saved + "\r\nMade for the club show\r\n", 0, "a note after record 65"},
        {"\xEF\xBB\xBF" + saved, 0, "a byte-order mark"},
        {replaced(saved, "\r\n1\r\n15\r\n", "\r\n1\r\n-1\r\n"), 0, "-1 is NONE"},
        {"", 1, "ends after 0 records"},
        {saved.substr(0, 20), 5, "ends after 4 records"},
        {withRecord(3, ""), 3, "an empty field"},
        {withRecord(1, "\"16\""), 1, "is 16, outside 0 to 15"},
        {withRecord(52, "8"), 52, "colour index of LED 2 is 8"},
        {withRecord(59, "50"), 59, "last event index is 50"},
        {withRecord(63, "16"), 63, "servo mode of LED 4"},
        {withRecord(64, "0"), 64, "sequencer delay is 0"},
        {withRecord(65, "256"), 65, "test speed is 256"},
        {withRecord(59, "99999999999999999999"), 59, "is 99999999999999999999, outside"},
        {withRecord(1, std::string(1000000, '7')), 1,
         "is " + std::string(40, '7') + "\u2026, outside"},
        {withRecord(4, std::string("\"5\0junk\"", 8)), 4, "\"5\\x00junk\""},
        // An extra field shifts every later record: the last event index lands on a mode.
        {withRecord(30, "\"0\",\"0\""), 60, "servo mode of LED 1 is 49"}};
    for (const auto& [bytes, record, problem] : rows) {
        const SequenceFileRead read = readSequenceBytes(bytes);
        check(record == 0 ? read.data == kWorked
                          : !read.data && read.record == record &&
                                read.problem.find(problem) != std::string::npos,
              problem + ": record " + std::to_string(read.record) + ", " + read.problem);
    }
}

// A link carries the whole sequence (the kept files' links, extremes.dat's among them, are
// checked with them); a damaged or foreign one is refused with the reason.
void linksCarryTheSequence()
{
    const std::string worked = shareLinkFragment(kWorked);
    auto withChar = [&](size_t at, char c) { return std::string(worked).replace(at, 1, 1, c); };
    auto linkWith = [](auto edit) {
        SequenceData d = kWorked;
        edit(d);
        return shareLinkFragment(d);
    };
    const std::pair<std::string, std::string> rows[] = {
        {"http://localhost:8080/index.html#" + worked, ""},
        {" #" + worked + "\r\n", ""},
        {"https://example.org/#section", "no sequence of this editor's"},
        {"#g1 " + worked.substr(2), "no sequence of this editor's"},
        {withChar(1, '2'), "newer version of the editor (form 2)"},
        {worked.substr(0, 40), "38 characters of sequence where 56"},
        {withChar(9, '%'), "character 10 ('%')"},
        {withChar(9, worked[9] == 'A' ? 'B' : 'A'), "checksum"},
        {linkWith([](SequenceData& d) { d.colourIndexes[1] = 8; }), "LED 2 is 8, outside 0 to 7"},
        {linkWith([](SequenceData& d) { d.lastEvent = 50; }), "last event index is 50"},
        {linkWith([](SequenceData& d) { d.sequencerDelay = 0; }), "sequencer delay is 0"},
        {linkWith([](SequenceData& d) { d.testSpeed = 0; }), "test speed is 0"}};
    for (const auto& [text, problem] : rows) {
        const ShareLinkRead read = readShareLink(text);
        check(problem.empty() ? read.data == kWorked
                              : !read.data && read.problem.find(problem) != std::string::npos,
              text + ": " + read.problem);
    }
}

void streamAndItsPace()
{
    DownloadValues v;
    v.events[0] = 1, v.events[1] = 2, v.events[2] = 3;
    v.servoModes = {15, 3, 0, 15};
    v.lastEvent = 2;
    std::string expected = "*\r\n\x01\r\n\x02\r\n\x03\r\n";
    for (int i = 3; i < 50; ++i)
        expected += std::string(1, '\0') + "\r\n";
    expected += "\x0F\r\n\x03\r\n" + std::string(1, '\0') + "\r\n\x0F\r\n\x1E\r\n\x02\r\n";
    check(downloadStream(v) == expected && expected.size() == 171, "the worked example stream");
    v.events[4] = 13, v.events[5] = 10;
    check(downloadStream(v).substr(15, 6) == "\r\r\n\n\r\n", "CR and LF values go out raw");
    const int pauses[][2] = {{1, 0}, {2, 500}, {3, 50}, {57, 50}};
    for (const auto& [record, ms] : pauses)
        check(downloadPauseBefore(record) == ms, "pause before record " + std::to_string(record));
}

void colourCodes()
{
    const std::pair<const char*, Rgb> rows[] = {
        {"&HFFFF", {255, 255, 0}}, {"&hff0000", {0, 0, 255}}, {"&H", {}}, {"&HFFG", {}}};
    for (const auto& [code, rgb] : rows)
        check(rgbFromValue(colourCodeValue(code)) == rgb, code);
    check(tableRgb(3) == Rgb{255, 255, 0} && tableRgb(8) == Rgb{}, "table entries");
}

void testRunPace()
{
    // previous deadline, now, period: the next deadline.
    const long long rows[][4] = {{0, 0, 20, 20}, {20, 25, 20, 40}, {40, 61, 20, 81}};
    for (const auto& r : rows)
        check(nextStepDeadline(r[0], r[1], r[2]) == r[3], "deadline after " + std::to_string(r[0]));
    check(nextTestSlot(4, 5) == 5 && nextTestSlot(5, 5) == 0 && nextTestSlot(0, 0) == 0,
          "passes wrap after the last event");
    // The stick's four zones are 25 positions wide, both ends of each included.
    const int zones[][2] = {{99, 1},  {100, 1}, {124, 1}, {125, 2},
                            {149, 2}, {150, 4}, {175, 8}, {199, 8}};
    for (const auto& [position, bit] : zones)
        check(servoZoneBit(position) == bit,
              "the zone of stick position " + std::to_string(position));
}

// Event values as hex digits, a run of four or more empty events as "(n)".
std::string pattern(const std::vector<int>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t run = 0;
        while (i + run < values.size() && values[i + run] == 0)
            ++run;
        if (run >= 4)
            text.append("(").append(std::to_string(run)).append(")"), i += run;
        else
            text += "0123456789abcdef"[values[i++] & 15];
    }
    return text;
}

// Events 1..10 are 1..a, 48..50 are b, c, d; the rest are empty. "remove 2 3" removes three
// events from slot 2; "paste 48" pastes 5, 6, 7 there.
void eventEditsMoveTheLastMark()
{
    const std::tuple<const char*, int, const char*, int> rows[] = {
        {"insert 0", 9, "0123456789a(37)bc", 10},
        {"insert 3", 3, "1230456789a(37)bc", 4},
        {"insert 5", 3, "1234506789a(37)bc", 3},
        {"insert 49", 49, "123456789a(37)bc0", 49},
        {"remove 2 3", 9, "126789a(37)bcd000", 6},
        {"remove 8 2", 9, "12345678(37)bcd00", 7},
        {"remove 47 9", 49, "123456789a(40)", 46},
        {"remove 0 5", 2, "6789a(37)bcd(5)", 0},
        {"remove 47 2147483647", 49, "123456789a(40)", 46},
        {"insert -1", 9, "123456789a(37)bcd", 9},
        {"insert 50", 9, "123456789a(37)bcd", 9},
        {"paste -1", 9, "123456789a(37)bcd", 9},
        {"paste 50", 9, "123456789a(37)bcd", 9},
        {"clear 1 2", 9, "100456789a(37)bcd", 9},
        {"paste 48", 9, "123456789a(37)b56", 9},
        {"rotate 1", 9, "a123456789(37)bcd", 9},
        {"rotate -1", 9, "23456789a1(37)bcd", 9},
        {"rotate 1", 0, "123456789a(37)bcd", 0},
        {"reverse 46 9", 49, "123456789a(36)dcb0", 49}};
    SequenceData data;
    data.events = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    data.events[47] = 11, data.events[48] = 12, data.events[49] = 13;
    for (const auto& [edit, last, events, newLast] : rows) {
        std::istringstream words(edit);
        std::string verb;
        int first = 0, count = 0;
        words >> verb >> first >> count;
        data.lastEvent = last;
        const SequenceData edited = verb == "insert"   ? insertEvent(data, first)
                                    : verb == "remove" ? removeEvents(data, {first, count})
                                    : verb == "clear"  ? clearEvents(data, {first, count})
                                    : verb == "paste"  ? pasteEvents(data, first, {5, 6, 7})
                                    : verb == "rotate" ? rotateEvents(data, first)
                                                       : reverseEvents(data, {first, count});
        const std::string got = pattern({edited.events.begin(), edited.events.end()});
        check(got == events && edited.lastEvent == newLast,
              std::string(edit) + ", last " + std::to_string(last) + ": " + got + ", last " +
                  std::to_string(edited.lastEvent));
    }
    check(pastedPastTheEnd(48, 3) == 1 && copyEvents(data, {48, 5}) == std::vector<int>{12, 13},
          "the ends of paste and copy");
}

// Event text from elsewhere read back, or refused with a reason; the program's own forms.
void eventTextForms()
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"LED 1  #.#\nLED 2  ...\nLED 3  ...\nLED 4  .#.\n", "181", ""},
        {"\r\n # . #\r\n...\r\n\r\n . . .\t\r\n.#.\r\n", "181", ""},
        {"led#1: #\nLED#2: #\nLED 3 .\nLED4 #", "b", ""},
        {"#x#\n...\n...\n...", "", "LED 1 holds \"x\""},
        {"#\n.\n.", "", "has 3 lines:"},
        {"#\n.\n.\n.\n#", "", "more than four"},
        {"##\n..\n.\n..", "", "LED 3 holds 1 event and"},
        {"LED 2 #\nLED 1 #\n.\n.", "", "LED 1 to LED 4 in that order"},
        {"LED 1\nLED 2\nLED 3\nLED 4", "", "hold no events"}};
    for (const auto& [text, events, error] : rows) {
        const EventsRead read = readEventsText(text);
        check(pattern(read.values) == events && read.error.find(error) != std::string::npos &&
                  read.error.empty() == !*error,
              std::string(text) + ": " + pattern(read.values) + ", " + read.error);
    }
    check(eventsText({1, 2, 4}) == "LED 1  #..\nLED 2  .#.\nLED 3  ..#\nLED 4  ...\n" &&
              readEventsBytes(eventsBytes({15, 0, 9})).values == std::vector<int>{15, 0, 9} &&
              !readEventsBytes("\x10").error.empty(),
          "the program's own forms");
}

// What the fuzzers kept still passes the fuzzers' checks; every ready pattern reads whole.
void keptInputsHold()
{
    namespace fs = std::filesystem;
    const std::pair<const char*, bool (*)(std::string_view)> targets[] = {
        {GOLDEN_DIR "/sequencefile", sequenceReaderHolds},
        {PATTERN_DIR,
         [](std::string_view b) { return readSequenceBytes(b).data && sequenceReaderHolds(b); }},
        {GOLDEN_DIR "/sharelink", shareLinkHolds},
        {GOLDEN_DIR "/ledcfg", ledCfgReaderHolds},
        {GOLDEN_DIR "/eventstext", eventsTextReaderHolds},
        {GOLDEN_DIR "/eventedits", eventEditsHold}};
    for (const auto& [folder, holds] : targets) {
        int count = 0;
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            check(holds(bytes), file.path().string());
            ++count;
        }
        check(count > 0, std::string(folder) + " holds inputs");
    }
}

void pictureLayouts()
{
    const std::tuple<int, int, const char*> cycles[] = {
        {0, 1, "1 event x 1 ms = 0.001 s per cycle"},
        {11, 40, "12 events x 40 ms = 0.48 s per cycle"},
        {49, 20, "50 events x 20 ms = 1 s per cycle"},
        {49, 255, "50 events x 255 ms = 12.75 s per cycle"}};
    for (const auto& [last, delay, text] : cycles)
        check(cycleDescription(last, delay) == text, text);

    // A Black LED 1 lit in event 1 only; the last event is the 12th.
    SequenceData data{.events = {1}, .colourIndexes = {0, 7, 7, 7}, .lastEvent = 11};
    const Rgb black{}, frame{0xf2, 0xf2, 0xf2}, unlit{0x3a, 0x3f, 0x47};
    const PictureLayout picture = pictureLayout(data, std::string(80, 'W'));
    check(colourAt(picture, 178, 122) == black && colourAt(picture, 165, 113) == frame &&
              colourAt(picture, 210, 122) == unlit,
          "a lit Black cell is framed, unlike an unlit one");
    int marks = 0; // the last event's number, red and bold, and nothing else red
    for (const LayoutItem& item : picture.items)
        if (const auto* t = std::get_if<LayoutText>(&item); t && t->colour == Rgb{255, 96, 96})
            marks += t->text == "12" && t->bold ? 1 : 2;
    check(marks == 1, "the last event mark");
    for (const auto& [last, width] : {std::pair(0, 600), std::pair(11, 736), std::pair(49, 1952)})
        check(pictureLayout({.lastEvent = last}, "").width == width,
              std::to_string(last + 1) + " events' width");
    check(std::get<LayoutText>(picture.items[0]).width == 736 - 48, "a long name is cut");

    const AnimationLayouts animation = animationLayouts(data, "");
    const PictureLayout& first = animation.frames[0].layout;
    check(colourAt(first, 40, 76) == black && colourAt(first, 17, 76) == Rgb{0xe8, 0xe8, 0xe8} &&
              colourAt(animation.frames[1].layout, 17, 76) == Rgb{0x9a, 0xa0, 0xa8},
          "a lit Black lamp has a light ring");
    const auto& palette = animation.palette;
    auto inPalette = [&](Rgb c) {
        return std::find(palette.begin(), palette.end(), c) != palette.end() &&
               c != palette[animation.unchangedIndex];
    };
    for (const auto& f : animation.frames)
        for (const LayoutItem& item : f.layout.items)
            if (const auto* e = std::get_if<LayoutEllipse>(&item))
                check(inPalette(e->fill) && inPalette(e->ring), "lamps keep to the palette");
}

// Every (events, delay) pair: the delays make up the cycle rounded to 10 ms, no frame is
// shorter than 20 ms where the cycle allows, the events run in order, none twice in a row.
void animationTiming()
{
    for (int last = 0; last < 50; ++last) {
        for (int delay = 1; delay <= 255; ++delay) {
            const int cycleCs = std::max(1, ((last + 1) * delay + 5) / 10);
            int total = 0, event = -1;
            for (const AnimationFrame& frame : animationFrames(last, delay)) {
                check(frame.delayCs >= std::min(2, cycleCs) && frame.event > event &&
                          frame.event <= last,
                      "frame delays and order");
                event = frame.event;
                total += frame.delayCs;
            }
            check(total == cycleCs, std::to_string(last + 1) + " x " + std::to_string(delay));
        }
    }
}

} // namespace

int main()
{
    fileWritesTheWorkedExamples();
    linksCarryTheSequence();
    streamAndItsPace();
    colourCodes();
    testRunPace();
    eventEditsMoveTheLastMark();
    eventTextForms();
    keptInputsHold();
    pictureLayouts();
    animationTiming();
    if (failures == 0)
        std::puts("core rules: all passed");
    return failures == 0 ? 0 : 1;
}
