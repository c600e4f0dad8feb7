#pragma once

// The page's plain objects and the core's types, for every binding file.
#include "core/colourtable.h"
#include "core/sequencedata.h"

#include <emscripten/val.h>

#include <cstdio>
#include <string>

namespace jsdata {

template <typename Array> emscripten::val arrayOf(const Array& values)
{
    emscripten::val out = emscripten::val::array();
    for (size_t i = 0; i < values.size(); ++i)
        out.set(i, values[i]);
    return out;
}

template <typename Array> void readArray(const emscripten::val& in, Array& out)
{
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = in[i].as<int>();
}

// The page's sequence: events, colourIndexes, servoModes, lastEvent, sequencerDelay,
// testSpeed.
inline SequenceData dataOf(const emscripten::val& s)
{
    SequenceData d;
    readArray(s["events"], d.events);
    readArray(s["colourIndexes"], d.colourIndexes);
    readArray(s["servoModes"], d.servoModes);
    d.lastEvent = s["lastEvent"].as<int>();
    d.sequencerDelay = s["sequencerDelay"].as<int>();
    d.testSpeed = s["testSpeed"].as<int>();
    return d;
}

inline emscripten::val objectOf(const SequenceData& d)
{
    emscripten::val s = emscripten::val::object();
    s.set("events", arrayOf(d.events));
    s.set("colourIndexes", arrayOf(d.colourIndexes));
    s.set("servoModes", arrayOf(d.servoModes));
    s.set("lastEvent", d.lastEvent);
    s.set("sequencerDelay", d.sequencerDelay);
    s.set("testSpeed", d.testSpeed);
    return s;
}

// "#rrggbb", as a canvas takes colours.
inline std::string hex(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red & 255, c.green & 255, c.blue & 255);
    return text;
}

} // namespace jsdata
