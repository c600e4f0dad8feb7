#pragma once

#include <QByteArray>
#include <QString>

struct SequenceData;

// An animated GIF of one cycle (see animationLayouts), looping for ever. Empty, with
// `error` set, when the encoder fails.
QByteArray sequenceAnimationGif(const SequenceData& data, const QString& name, QString* error);
