#pragma once

#include <QByteArray>
#include <QImage>

struct SequenceData;

// The picture of the events in use (see pictureLayout), for a file or the clipboard.
QImage sequencePicture(const SequenceData& data, const QString& name);
QByteArray sequencePicturePng(const SequenceData& data, const QString& name);
