#pragma once

#include "core/colourtable.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct SequenceData;

// The exported picture and the animation's frames as plain shapes and texts, so that
// every edition paints the same thing. Positions and sizes are in pixels.
struct LayoutRect
{
    int x = 0, y = 0, width = 0, height = 0;
    Rgb colour;
};

// The box is filled with `ring`, then the ellipse inset by `ringWidth` with `fill`.
struct LayoutEllipse
{
    int x = 0, y = 0, width = 0, height = 0;
    Rgb fill;
    int ringWidth = 0;
    Rgb ring;
};

enum class TextAlign { Left, Centre, Right };
enum class TextPlace { Top, Middle, Bottom };

// Text placed in its box; a text wider than the box is cut with an ellipsis.
struct LayoutText
{
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;
    int pixelSize = 12;
    bool bold = false;
    bool monospace = false;
    Rgb colour;
    TextAlign align = TextAlign::Left;
    TextPlace place = TextPlace::Middle;
};

using LayoutItem = std::variant<LayoutRect, LayoutEllipse, LayoutText>;

struct PictureLayout
{
    int width = 0, height = 0;
    Rgb background;
    // False where the image goes into a palette: ellipses keep their exact colours.
    bool smoothShapes = true;
    std::vector<LayoutItem> items; // painted in order
};

// "12 events x 40 ms = 0.48 s per cycle": how long the device takes for one cycle.
std::string cycleDescription(int lastEvent, int delayMs);

// The events in use drawn to read on a forum: a title line with `name` and the cycle,
// each LED's name and colour, lit cells in the LED's colour (framed, so that Black and
// White show too) on dark unlit ones, the ruler, the servo modes under their heading.
// The width follows the events alone; a long name is cut to it.
PictureLayout pictureLayout(const SequenceData& data, std::string_view name);

struct AnimationFrame
{
    int event;   // the slot shown
    int delayCs; // in hundredths of a second, as GIF counts
    friend bool operator==(const AnimationFrame&, const AnimationFrame&) = default;
};

// One cycle of events 0..lastEvent: one frame per event when the delay is at least
// 20 ms, otherwise a frame every 20 ms (viewers slow shorter frames down), so that no two
// frames in a row show one event. GIF counts in 10 ms; the delays add up to the cycle
// rounded to 10 ms (at least 10 ms).
std::vector<AnimationFrame> animationFrames(int lastEvent, int delayMs);

struct AnimationLayoutFrame
{
    int delayCs;
    PictureLayout layout;
};

// One cycle as animation frames, one for each of animationFrames(): the title line with
// `name`, four lamps lit in their LEDs' colours with the LEDs' names beside them, the
// event shown and the cycle's timing. Every colour drawn is in `palette`, text
// smoothing aside (the greys between the background and the ink are there for it);
// `unchangedIndex` is a colour drawn nowhere, free to mark unchanged pixels.
struct AnimationLayouts
{
    std::vector<Rgb> palette;
    int unchangedIndex = 0;
    std::vector<AnimationLayoutFrame> frames;
};

AnimationLayouts animationLayouts(const SequenceData& data, std::string_view name);
