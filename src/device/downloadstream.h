#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// What the sequencer receives: 57 records of one raw value byte + CR LF.
struct DownloadValues
{
    std::array<std::uint8_t, 50> events{};
    std::array<std::uint8_t, 4> servoModes{15, 15, 15, 15};
    std::uint8_t sequencerDelay = 30;
    std::uint8_t lastEvent = 49;
};

constexpr int kDownloadRecords = 57;
constexpr std::uint8_t kStreamStart = 42; // '*'

// Value byte of record `record` (1..57).
std::uint8_t downloadRecordValue(const DownloadValues& values, int record);
QByteArray downloadRecord(std::uint8_t value);
QByteArray downloadStream(const DownloadValues& values);

struct SequenceData;
// What a sequence sends: the window's values after opening a file that holds `data`.
DownloadValues downloadValuesOf(const SequenceData& data);
