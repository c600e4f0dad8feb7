#include "core/picturelayout.h"

#include "core/sequencedata.h"
#include "core/servozones.h"

#include <algorithm>

namespace {

// The dark look the picture and the animation share, so both read alike in a forum post.
constexpr Rgb kBackground{0x1e, 0x22, 0x27};
constexpr Rgb kUnlit{0x3a, 0x3f, 0x47};
constexpr Rgb kInk{0xe8, 0xe8, 0xe8};
constexpr Rgb kDimInk{0xa0, 0xa6, 0xae};
constexpr Rgb kLitFrame{0xf2, 0xf2, 0xf2};
constexpr Rgb kLastEvent{0xff, 0x60, 0x60};
constexpr Rgb kRim{0x9a, 0xa0, 0xa8};

constexpr int kSlots = 50;

// The picture.
constexpr int kMargin = 24;
constexpr int kMinimumWidth = 600;
constexpr int kNameWidth = 140;
constexpr int kPitch = 32; // one event's column: a 28 px cell and its gap
constexpr int kCell = 28;
constexpr int kRowPitch = 36;
constexpr int kModeGap = 24;
constexpr int kModeWidth = 140;
constexpr int kTitleHeight = 60;
constexpr int kHeadingHeight = 24;
constexpr int kRulerHeight = 22;

// An animation frame.
constexpr int kFrameWidth = 520;
constexpr int kFrameHeight = 146;
constexpr int kSide = 16;
constexpr int kLamp = 48;
constexpr int kColumn = (kFrameWidth - 2 * kSide) / 4;
constexpr int kTextGreys = 20;
constexpr Rgb kUnchangedMark{0xff, 0x00, 0xfe};
constexpr int kUnchangedIndex = 3; // where animationPalette() puts the mark

// Data from a page is not checked like a file: keep every index in range.
int eventsOf(const SequenceData& data)
{
    return std::clamp(data.lastEvent, 0, kSlots - 1) + 1;
}

std::string colourName(int index)
{
    return index >= 0 && index < kTableColours ? std::string(colourTableNames()[index]) : "";
}

std::string titleOf(std::string_view name)
{
    return name.empty() ? "GLIMMERON sequence" : std::string(name);
}

std::string ledName(int led)
{
    return "LED#" + std::to_string(led + 1);
}

LayoutText text(int x, int y, int width, int height, std::string text, int pixelSize, Rgb colour,
                bool bold = false)
{
    LayoutText t;
    t.x = x, t.y = y, t.width = width, t.height = height;
    t.text = std::move(text);
    t.pixelSize = pixelSize;
    t.colour = colour;
    t.bold = bold;
    return t;
}

// A lit cell keeps a light frame: a Black LED's lit cell is then still unlike an unlit one.
void addCell(PictureLayout& layout, int x, int y, bool lit, Rgb colour)
{
    if (!lit) {
        layout.items.push_back(LayoutRect{x, y, kCell, kCell, kUnlit});
        return;
    }
    layout.items.push_back(LayoutRect{x, y, kCell, kCell, kLitFrame});
    layout.items.push_back(LayoutRect{x + 2, y + 2, kCell - 4, kCell - 4, colour});
}

PictureLayout animationFrame(const SequenceData& data, const std::string& title, int event)
{
    PictureLayout layout{kFrameWidth, kFrameHeight, kBackground, false, {}};
    layout.items.push_back(text(kSide, 10, kFrameWidth - 200, 26, title, 18, kInk, true));
    LayoutText counter =
        text(kFrameWidth - kSide - 170, 10, 170, 26,
             "Event " + std::to_string(event + 1) + " of " + std::to_string(eventsOf(data)), 16,
             kInk, true);
    counter.align = TextAlign::Right;
    layout.items.push_back(counter);
    for (int led = 0; led < 4; ++led) {
        const int left = kSide + led * kColumn, index = data.colourIndexes[led];
        const bool lit = (data.events[event] >> led) & 1;
        // A light ring marks a lit lamp, so a lit Black one shows too.
        layout.items.push_back(LayoutEllipse{left, 52, kLamp, kLamp, lit ? tableRgb(index) : kUnlit,
                                             3, lit ? kInk : kRim});
        const int textLeft = left + kLamp + 8, textWidth = kColumn - kLamp - 8;
        layout.items.push_back(text(textLeft, 54, textWidth, 22, ledName(led), 15, kInk, true));
        layout.items.push_back(text(textLeft, 76, textWidth, 20, colourName(index), 12, kDimInk));
    }
    layout.items.push_back(text(kSide, 114, kFrameWidth - 2 * kSide, 22,
                                cycleDescription(eventsOf(data) - 1, data.sequencerDelay), 13,
                                kDimInk));
    return layout;
}

// The background, the unlit lamp, the rim, the mark, the eight LED colours, then greys
// from the background to the ink for smooth text.
std::vector<Rgb> animationPalette()
{
    std::vector<Rgb> colours{kBackground, kUnlit, kRim, kUnchangedMark};
    for (int i = 0; i < kTableColours; ++i)
        colours.push_back(tableRgb(i));
    for (int i = 0; i < kTextGreys; ++i) {
        auto mix = [i](int from, int to) { return from + (to - from) * i / (kTextGreys - 1); };
        colours.push_back({mix(kBackground.red, kInk.red), mix(kBackground.green, kInk.green),
                           mix(kBackground.blue, kInk.blue)});
    }
    return colours;
}

} // namespace

std::string cycleDescription(int lastEvent, int delayMs)
{
    const int events = lastEvent + 1, ms = events * delayMs;
    std::string seconds = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
        fraction.erase(fraction.find_last_not_of('0') + 1);
        seconds += "." + fraction;
    }
    return std::to_string(events) + (events == 1 ? " event x " : " events x ") +
           std::to_string(delayMs) + " ms = " + seconds + " s per cycle";
}

PictureLayout pictureLayout(const SequenceData& data, std::string_view name)
{
    const int events = eventsOf(data);
    const int gridLeft = kMargin + kNameWidth, modesLeft = gridLeft + events * kPitch + kModeGap;
    // A few events still make a picture that a forum shows at a readable size.
    const int width = std::max(kMinimumWidth, modesLeft + kModeWidth + kMargin);
    const int rowsTop = kMargin + kTitleHeight + kHeadingHeight;
    const int rulerTop = rowsTop + 4 * kRowPitch;
    PictureLayout layout{width, rulerTop + kRulerHeight + kMargin, kBackground, true, {}};
    const int lineWidth = width - 2 * kMargin;
    layout.items.push_back(text(kMargin, kMargin, lineWidth, 30, titleOf(name), 22, kInk, true));
    layout.items.push_back(text(kMargin, kMargin + 32, lineWidth, 22,
                                cycleDescription(events - 1, data.sequencerDelay), 15, kDimInk));
    layout.items.push_back(text(modesLeft, rowsTop - kHeadingHeight, kModeWidth, kHeadingHeight,
                                "Servo Control", 14, kInk, true));
    for (int led = 0; led < 4; ++led) {
        const int top = rowsTop + led * kRowPitch;
        const int index = data.colourIndexes[led];
        const Rgb colour = tableRgb(index);
        // The LED's name beside a lamp of its colour, the colour's name under it.
        layout.items.push_back(LayoutEllipse{kMargin, top + 8, 20, 20, colour, 2, kLitFrame});
        const int nameLeft = kMargin + 28, nameWidth = kNameWidth - 28;
        LayoutText ledText = text(nameLeft, top, nameWidth, 19, ledName(led), 15, kInk, true);
        ledText.place = TextPlace::Bottom;
        layout.items.push_back(ledText);
        LayoutText colourText =
            text(nameLeft, top + 19, nameWidth, 16, colourName(index), 12, kDimInk);
        colourText.place = TextPlace::Top;
        layout.items.push_back(colourText);
        for (int i = 0; i < events; ++i)
            addCell(layout, gridLeft + i * kPitch, top + 4, (data.events[i] >> led) & 1, colour);
        LayoutText mode = text(modesLeft, top, kModeWidth, kRowPitch,
                               servoModeText(data.servoModes[led]), 14, kInk);
        mode.monospace = true;
        layout.items.push_back(mode);
    }
    // The ruler numbers the events from 1; the last event is marked as on screen.
    for (int i = 0; i < events; ++i) {
        const bool last = i == events - 1;
        LayoutText number = text(gridLeft + i * kPitch, rulerTop, kCell, kRulerHeight,
                                 std::to_string(i + 1), 12, last ? kLastEvent : kDimInk, last);
        number.align = TextAlign::Centre;
        layout.items.push_back(number);
    }
    return layout;
}

std::vector<AnimationFrame> animationFrames(int lastEvent, int delayMs)
{
    std::vector<AnimationFrame> frames;
    const int events = std::clamp(lastEvent, 0, kSlots - 1) + 1;
    delayMs = std::max(delayMs, 1);
    auto roundedCs = [](int ms) { return (ms + 5) / 10; };
    // Each event from its start to the next one's, both rounded to 10 ms: the rounding
    // never adds up, and every frame is 20 ms or more.
    if (delayMs >= 20) {
        for (int i = 0; i < events; ++i)
            frames.push_back({i, roundedCs((i + 1) * delayMs) - roundedCs(i * delayMs)});
        return frames;
    }
    // Whole 20 ms frames; the last takes the 10 ms left over by an odd total.
    const int totalCs = std::max(1, roundedCs(events * delayMs));
    const int count = std::max(1, totalCs / 2);
    for (int i = 0; i < count; ++i)
        frames.push_back({20 * i / delayMs, 2});
    frames.back().delayCs = totalCs - 2 * (count - 1);
    return frames;
}

AnimationLayouts animationLayouts(const SequenceData& data, std::string_view name)
{
    AnimationLayouts out{animationPalette(), kUnchangedIndex, {}};
    const std::string title = titleOf(name);
    for (const AnimationFrame& frame : animationFrames(data.lastEvent, data.sequencerDelay))
        out.frames.push_back({frame.delayCs, animationFrame(data, title, frame.event)});
    return out;
}
