// The exported picture and the animation's frames as plain objects for the page's canvas.
#include "core/picturelayout.h"
#include "jsdata.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

using emscripten::val;

namespace {

val box(const char* kind, int x, int y, int width, int height)
{
    val out = val::object();
    out.set("kind", kind);
    out.set("x", x);
    out.set("y", y);
    out.set("width", width);
    out.set("height", height);
    return out;
}

val itemOf(const LayoutRect& r)
{
    val out = box("rect", r.x, r.y, r.width, r.height);
    out.set("colour", jsdata::hex(r.colour));
    return out;
}

val itemOf(const LayoutEllipse& e)
{
    val out = box("ellipse", e.x, e.y, e.width, e.height);
    out.set("fill", jsdata::hex(e.fill));
    out.set("ringWidth", e.ringWidth);
    out.set("ring", jsdata::hex(e.ring));
    return out;
}

val itemOf(const LayoutText& t)
{
    static const char* const aligns[] = {"left", "centre", "right"};
    static const char* const places[] = {"top", "middle", "bottom"};
    val out = box("text", t.x, t.y, t.width, t.height);
    out.set("text", t.text);
    out.set("pixelSize", t.pixelSize);
    out.set("bold", t.bold);
    out.set("monospace", t.monospace);
    out.set("colour", jsdata::hex(t.colour));
    out.set("align", aligns[int(t.align)]);
    out.set("place", places[int(t.place)]);
    return out;
}

val layoutOf(const PictureLayout& layout)
{
    val out = val::object();
    out.set("width", layout.width);
    out.set("height", layout.height);
    out.set("background", jsdata::hex(layout.background));
    out.set("smoothShapes", layout.smoothShapes);
    val items = val::array();
    for (size_t i = 0; i < layout.items.size(); ++i)
        items.set(i, std::visit([](const auto& item) { return itemOf(item); }, layout.items[i]));
    out.set("items", items);
    return out;
}

val pictureLayoutOf(const val& data, const std::string& name)
{
    return layoutOf(pictureLayout(jsdata::dataOf(data), name));
}

// { palette: ["#rrggbb", ...], unchangedIndex, frames: [{ delayCs, layout }] }
val animationLayoutsOf(const val& data, const std::string& name)
{
    const AnimationLayouts layouts = animationLayouts(jsdata::dataOf(data), name);
    val palette = val::array(), frames = val::array();
    for (size_t i = 0; i < layouts.palette.size(); ++i)
        palette.set(i, jsdata::hex(layouts.palette[i]));
    for (size_t i = 0; i < layouts.frames.size(); ++i) {
        val frame = val::object();
        frame.set("delayCs", layouts.frames[i].delayCs);
        frame.set("layout", layoutOf(layouts.frames[i].layout));
        frames.set(i, frame);
    }
    val out = val::object();
    out.set("palette", palette);
    out.set("unchangedIndex", layouts.unchangedIndex);
    out.set("frames", frames);
    return out;
}

} // namespace

EMSCRIPTEN_BINDINGS(picture)
{
    emscripten::function("pictureLayout", &pictureLayoutOf);
    emscripten::function("animationLayouts", &animationLayoutsOf);
    emscripten::function("cycleDescription", &cycleDescription);
}
