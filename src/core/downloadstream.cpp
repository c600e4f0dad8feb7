#include "core/downloadstream.h"

#include "core/sequencedata.h"

#include <algorithm>

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

DownloadValues downloadValuesOf(const SequenceData& data)
{
    DownloadValues values;
    for (int i = 0; i < 50; ++i)
        values.events[i] = byteOf(data.events[i]);
    for (int k = 0; k < 4; ++k)
        values.servoModes[k] = byteOf(data.servoModes[k]);
    values.sequencerDelay = byteOf(data.sequencerDelay);
    values.lastEvent = byteOf(data.lastEvent);
    return values;
}

std::uint8_t downloadRecordValue(const DownloadValues& values, int record)
{
    if (record == 1)
        return kStreamStart;
    if (record <= 51)
        return values.events[record - 2];
    if (record <= 55)
        return values.servoModes[record - 52];
    if (record == 56)
        return values.sequencerDelay;
    return values.lastEvent;
}

std::string downloadRecord(std::uint8_t value)
{
    // Raw: 10 and 13 go out as they are.
    return {static_cast<char>(value), '\r', '\n'};
}

std::string downloadStream(const DownloadValues& values)
{
    std::string stream;
    for (int r = 1; r <= kDownloadRecords; ++r)
        stream += downloadRecord(downloadRecordValue(values, r));
    return stream;
}
