// The portable rules without Qt: what the desktop and the web edition both rely on.
#include "core/colourtable.h"
#include "core/downloadstream.h"
#include "core/picturelayout.h"
#include "core/sequencefile.h"
#include "core/teststep.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

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

void fileWritesTheWorkedExamples()
{
    const SequenceData worked{.events = {5, 2, 15},
                              .colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0},
                              .lastEvent = 2,
                              .servoModes = {0, 1, 15, 15}};
    for (const auto& [file, data] :
         {std::pair("worked-example.dat", worked), std::pair("start-up.dat", SequenceData{})}) {
        const std::string bytes = golden(file);
        check(!bytes.empty() && sequenceFileBytes(data) == bytes, file);
        check(readSequenceBytes(bytes).data == data, std::string(file) + " reads back");
    }
    const SequenceFileRead bad = readSequenceBytes(golden("worked-example.dat").substr(0, 20));
    check(!bad.data && bad.record == 5 &&
              bad.problem.find("ends after 4 records") != std::string::npos,
          "a short file names its last record: " + bad.problem);
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
}

// What a painter puts at (x, y): the last shape there, a ring where it is outside the fill.
Rgb colourAt(const PictureLayout& layout, double x, double y)
{
    auto inEllipse = [x, y](double left, double top, double width, double height) {
        const double dx = (x - left) / width - 0.5, dy = (y - top) / height - 0.5;
        return dx * dx + dy * dy <= 0.25;
    };
    Rgb colour = layout.background;
    for (const LayoutItem& item : layout.items) {
        if (const auto* r = std::get_if<LayoutRect>(&item)) {
            if (x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height)
                colour = r->colour;
        } else if (const auto* e = std::get_if<LayoutEllipse>(&item)) {
            const int w = e->ringWidth;
            if (inEllipse(e->x, e->y, e->width, e->height))
                colour = inEllipse(e->x + w, e->y + w, e->width - 2 * w, e->height - 2 * w)
                             ? e->fill
                             : e->ring;
        }
    }
    return colour;
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
    streamAndItsPace();
    colourCodes();
    testRunPace();
    pictureLayouts();
    animationTiming();
    if (failures == 0)
        std::puts("core rules: all passed");
    return failures == 0 ? 0 : 1;
}
