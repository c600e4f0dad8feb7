// The portable rules the page still uses beside the session: the download stream, the
// colours, the servo texts, the test run's steps and the drag over the page's grid.
#include "core/colourtable.h"
#include "core/downloadstream.h"
#include "core/dragpaint.h"
#include "core/sequencefile.h"
#include "core/servozones.h"
#include "core/teststep.h"
#include "core/usertexts.h"
#include "jsbytes.h"
#include "jsdata.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

using emscripten::val;
using jsdata::arrayOf;
using jsdata::readArray;

namespace {

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

val colourNames()
{
    val out = val::array();
    for (size_t i = 0; i < colourTableNames().size(); ++i)
        out.set(i, std::string(colourTableNames()[i]));
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

// A file that Open, Merge or a pattern could not read, as the desktop words it.
std::string unreadableText(const std::string& file, const std::string& reason)
{
    return unreadableFileText(file, reason) + std::string(kNothingChanged);
}

} // namespace

EMSCRIPTEN_BINDINGS(glimmeron)
{
    using namespace emscripten;
    function("downloadPauseBefore", &downloadPauseBefore);
    function("colourHex", &colourHex);
    function("colourNames", &colourNames);
    function("servoModeText", &servoModeText);
    function("servoZoneBit", &servoZoneBit);
    function("ledLit", &ledLit);
    function("nextStepDeadline", &stepDeadline);
    function("nextTestSlot", &nextTestSlot);
    function("text", &text);
    function("unreadableText", &unreadableText);
    function(
        "tooLongReason", +[](double size) { return tooLongReason((long long)size); });
    function(
        "maxDataFileBytes", +[] { return double(kMaxDataFileBytes); });
    function(
        "sequenceFileNote",
        +[](const val& bytes) { return sequenceFileNote(jsbytes::stringOf(bytes)); });
    function(
        "downloadDoneLine",
        +[](std::string where, std::string time) { return downloadDoneLine(where, time); });
    function(
        "downloadBrokenOffText", +[](std::string where, std::string reason) {
            return downloadBrokenOffText(where, reason);
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
