// The portable rules as the page sees them: plain JavaScript objects and byte arrays.
#include "core/colourtable.h"
#include "core/downloadstream.h"
#include "core/dragpaint.h"
#include "core/eventedits.h"
#include "core/rowpatterns.h"
#include "core/sequencefile.h"
#include "core/servozones.h"
#include "core/teststep.h"
#include "core/usertexts.h"
#include "jsdata.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

using emscripten::val;
using jsdata::arrayOf;
using jsdata::dataOf;
using jsdata::objectOf;
using jsdata::readArray;

namespace {

val bytesOf(const std::string& s)
{
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(s.size(), data));
}

std::string stringOf(const val& bytes)
{
    const std::vector<unsigned char> v =
        emscripten::convertJSArrayToNumberVector<unsigned char>(bytes);
    return std::string(v.begin(), v.end());
}

std::vector<int> intsOf(const val& values)
{
    return emscripten::convertJSArrayToNumberVector<int>(values);
}

val newSequence()
{
    return objectOf(SequenceData{});
}

val writeFile(const val& s)
{
    return bytesOf(sequenceFileBytes(dataOf(s)));
}

val readFile(const val& bytes)
{
    const std::string text = stringOf(bytes);
    const SequenceFileRead read = readSequenceBytes(text);
    val out = val::object();
    out.set("data", read.data ? objectOf(*read.data) : val::null());
    out.set("record", read.record);
    out.set("problem", read.problem);
    out.set("note", sequenceFileNote(text));
    return out;
}

val merged(const val& into, const val& file)
{
    return objectOf(mergedSequence(dataOf(into), dataOf(file)));
}

val rowOperation(int operation, int last, const val& sourceRow)
{
    RowStates source{};
    for (int i = 0; i < kSlots; ++i)
        source[i] = sourceRow[i].as<bool>();
    val out = val::array();
    int n = 0;
    for (const CellAssignment& c : rowOperationCells(RowOperation(operation), last, source))
        out.set(n++, arrayOf(std::array<int, 2>{c.slot, c.on ? 1 : 0}));
    return out;
}

val downloadBytes(const val& s)
{
    return bytesOf(downloadStream(downloadValuesOf(dataOf(s))));
}

val cellsOf(const std::vector<GridCell>& cells)
{
    val out = val::array();
    for (size_t i = 0; i < cells.size(); ++i)
        out.set(i, arrayOf(std::array<int, 2>{cells[i].led, cells[i].slot}));
    return out;
}

// The drag rules over the page's grid, in CSS pixels.
class PageDrag
{
public:
    PageDrag(int left, int pitch, int cellHeight, const val& rowTops)
        : m_drag([&] {
              GridGeometry g{left, pitch, cellHeight, {}};
              readArray(rowTops, g.rowTops);
              return g;
          }())
    {
    }
    bool press(int x, int y) { return m_drag.press({x, y}); }
    val moveTo(int x, int y) { return cellsOf(m_drag.moveTo({x, y})); }
    val release(int x, int y) { return cellsOf(m_drag.release({x, y})); }
    bool active() const { return m_drag.active(); }
    bool isClick() const { return m_drag.isClick(); }
    int startSlot() const { return m_drag.startSlot(); }

private:
    DragPaint m_drag;
};

std::string colourHex(int index)
{
    return jsdata::hex(tableRgb(index));
}

// Where an LED's name in colour `index` stays readable.
std::string nameBackgroundHex(int index)
{
    return jsdata::hex(nameBackground(tableRgb(index)));
}

val colourNames()
{
    val out = val::array();
    for (size_t i = 0; i < colourTableNames().size(); ++i)
        out.set(i, std::string(colourTableNames()[i]));
    return out;
}

EventRange rangeOf(int first, int count)
{
    return {first, count};
}

val copyEventValues(const val& s, int first, int count)
{
    return arrayOf(copyEvents(dataOf(s), rangeOf(first, count)));
}

val pasteEventValues(const val& s, int slot, const val& values)
{
    return objectOf(pasteEvents(dataOf(s), slot, intsOf(values)));
}

val eventEdit(const std::string& edit, const val& s, int first, int count)
{
    const SequenceData d = dataOf(s);
    if (edit == "insert")
        return objectOf(insertEvent(d, first));
    if (edit == "remove")
        return objectOf(removeEvents(d, rangeOf(first, count)));
    if (edit == "clear")
        return objectOf(clearEvents(d, rangeOf(first, count)));
    if (edit == "reverse")
        return objectOf(reverseEvents(d, rangeOf(first, count)));
    return objectOf(rotateEvents(d, first)); // "rotate": `first` is the step
}

std::string eventValuesText(const val& values)
{
    return eventsText(intsOf(values));
}

val readEventValuesText(const std::string& text)
{
    const EventsRead read = readEventsText(text);
    val out = val::object();
    out.set("values", arrayOf(read.values));
    out.set("error", read.error);
    return out;
}

double stepDeadline(double previous, double now, double period)
{
    return double(nextStepDeadline((long long)previous, (long long)now, (long long)period));
}

std::string text(const std::string& name)
{
    if (name == "downloadTitle")
        return std::string(kDownloadTitle);
    if (name == "downloadPrompt")
        return std::string(kDownloadPrompt);
    return {};
}

} // namespace

EMSCRIPTEN_BINDINGS(glimmeron)
{
    using namespace emscripten;
    function("newSequence", &newSequence);
    function("writeFile", &writeFile);
    function("readFile", &readFile);
    function("merged", &merged);
    function("rowOperation", &rowOperation);
    function("downloadBytes", &downloadBytes);
    function("downloadPauseBefore", &downloadPauseBefore);
    function("colourHex", &colourHex);
    function("nameBackgroundHex", &nameBackgroundHex);
    function("colourNames", &colourNames);
    function("servoModeText", &servoModeText);
    function("servoZoneBit", &servoZoneBit);
    function("ledLit", &ledLit);
    function("copyEvents", &copyEventValues);
    function("pasteEvents", &pasteEventValues);
    function("pastedPastTheEnd", &pastedPastTheEnd);
    function("eventEdit", &eventEdit);
    function("eventsText", &eventValuesText);
    function("readEventsText", &readEventValuesText);
    function("nextStepDeadline", &stepDeadline);
    function("nextTestSlot", &nextTestSlot);
    function("text", &text);
    function(
        "downloadDoneLine",
        +[](std::string where, std::string time) { return downloadDoneLine(where, time); });
    function(
        "downloadBrokenOffText", +[](std::string where, std::string reason) {
            return downloadBrokenOffText(where, reason);
        });
    function(
        "invalidSequenceText", +[](std::string file, int record, std::string problem) {
            return invalidSequenceText(file, record, problem);
        });
    class_<PageDrag>("PageDrag")
        .constructor<int, int, int, val>()
        .function("press", &PageDrag::press)
        .function("moveTo", &PageDrag::moveTo)
        .function("release", &PageDrag::release)
        .function("active", &PageDrag::active)
        .function("isClick", &PageDrag::isClick)
        .function("startSlot", &PageDrag::startSlot);
}
