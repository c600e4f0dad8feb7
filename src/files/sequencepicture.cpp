#include "files/sequencepicture.h"

#include "core/picturelayout.h"
#include "files/layoutpainter.h"

#include <QBuffer>

QImage sequencePicture(const SequenceData& data, const QString& name)
{
    return layoutImage(pictureLayout(data, name.toStdString()));
}

QByteArray sequencePicturePng(const SequenceData& data, const QString& name)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    sequencePicture(data, name).save(&buffer, "PNG");
    return bytes;
}
