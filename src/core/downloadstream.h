#pragma once

#include <array>
#include <cstdint>
#include <string>

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
std::string downloadRecord(std::uint8_t value);
std::string downloadStream(const DownloadValues& values);

// The pace the device needs: silence after the start record while it gets ready, then
// a gap before every further record. Minimums; a late record is never made up for.
constexpr int kStartPauseMs = 500;
constexpr int kRecordGapMs = 50;
// The least time, in ms, between writing record `record` - 1 and record `record` (2..57).
constexpr int downloadPauseBefore(int record)
{
    return record <= 1 ? 0 : record == 2 ? kStartPauseMs : kRecordGapMs;
}

struct SequenceData;
// What a sequence sends: the window's values after opening a file that holds `data`.
DownloadValues downloadValuesOf(const SequenceData& data);
