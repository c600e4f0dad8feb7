#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct SequenceData;

struct AnimationFrame
{
    int event;   // the slot shown
    int delayCs; // in hundredths of a second, as GIF counts
    friend bool operator==(const AnimationFrame&, const AnimationFrame&) = default;
};

// One cycle of events 0..lastEvent, one frame per event when the delay is a whole number
// of 10 ms and at least 20 ms; otherwise a frame every 20 ms (viewers slow shorter
// frames down), the last one taking what is left of the cycle.
QList<AnimationFrame> animationFrames(int lastEvent, int delayMs);

// An animated GIF of one cycle: four lamps lit in their LEDs' colours; frames that look
// alike in a row are one frame. Empty, with `error` set, when the encoder fails.
QByteArray sequenceAnimationGif(const SequenceData& data, QString* error);
