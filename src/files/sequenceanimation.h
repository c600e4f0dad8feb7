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

// One cycle of events 0..lastEvent: one frame per event when the delay is at least
// 20 ms, otherwise a frame every 20 ms (viewers slow shorter frames down). GIF counts in
// 10 ms; the delays add up to the cycle rounded to 10 ms (at least 10 ms).
QList<AnimationFrame> animationFrames(int lastEvent, int delayMs);

// An animated GIF of one cycle, looping for ever: the title line with `name`, four lamps
// lit in their LEDs' colours with the LEDs' names beside them, the event shown and the
// cycle's timing. Frames of one event in a row are one frame. Empty, with `error` set,
// when the encoder fails.
QByteArray sequenceAnimationGif(const SequenceData& data, const QString& name, QString* error);
