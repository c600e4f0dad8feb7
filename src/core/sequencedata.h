#pragma once

#include <array>

// Everything one data file holds.
struct SequenceData
{
    std::array<int, 50> events{};                             // event values 0..15
    std::array<int, 8> colourIndexes{7, 7, 7, 7, 0, 0, 0, 0}; // LEDs 1..4, then 4 carried entries
    int lastEvent = 49;
    std::array<int, 4> servoModes{15, 15, 15, 15};
    int sequencerDelay = 30;
    int testSpeed = 20;

    friend bool operator==(const SequenceData&, const SequenceData&) = default;
};
