#include "files/sequenceanimation.h"

#include "core/picturelayout.h"
#include "files/layoutpainter.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <gif_lib.h>

namespace {

constexpr int kBackground = 0; // the palette's first entry

// The palette index of each pixel: the nearest colour, the marker index left out.
QByteArray paletteIndexes(const QImage& image, const AnimationLayouts& layouts)
{
    QHash<QRgb, char> nearest;
    const int width = image.width(), height = image.height();
    QByteArray pixels(width * height, char(kBackground));
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            auto found = nearest.constFind(line[x]);
            if (found == nearest.constEnd()) {
                int best = kBackground, bestDistance = INT_MAX;
                for (int i = 0; i < int(layouts.palette.size()); ++i) {
                    const Rgb colour = layouts.palette[i];
                    const int dr = qRed(line[x]) - colour.red, dg = qGreen(line[x]) - colour.green,
                              db = qBlue(line[x]) - colour.blue;
                    const int distance = dr * dr + dg * dg + db * db;
                    if (i != layouts.unchangedIndex && distance < bestDistance)
                        std::tie(best, bestDistance) = std::pair(i, distance);
                }
                found = nearest.insert(line[x], char(best));
            }
            pixels[y * width + x] = *found;
        }
    }
    return pixels;
}

int appendToBuffer(GifFileType* gif, const GifByteType* bytes, int size)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), size);
    return size;
}

// After the first frame only the rectangle that changed is stored, and in it the pixels
// that did not change are transparent: a frame costs a few hundred bytes.
struct GifFrame
{
    QByteArray pixels, previous; // palette indexes, row by row
    int width, delayCs, unchanged;
};

bool putFrame(GifFileType* gif, const GifFrame& frame)
{
    const QByteArray &pixels = frame.pixels, &previous = frame.previous;
    const int width = frame.width, height = int(pixels.size()) / width;
    QRect changed(0, 0, width, height);
    if (!previous.isEmpty()) {
        changed = QRect();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[y * width + x] != previous[y * width + x])
                    changed |= QRect(x, y, 1, 1);
        if (changed.isEmpty())
            changed = QRect(0, 0, 1, 1);
    }
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, frame.delayCs,
                                 previous.isEmpty() ? NO_TRANSPARENT_COLOR : frame.unchanged};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    bool ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK &&
              EGifPutImageDesc(gif, changed.x(), changed.y(), changed.width(), changed.height(),
                               false, nullptr) == GIF_OK;
    QByteArray line(changed.width(), char(frame.unchanged));
    for (int y = changed.top(); ok && y <= changed.bottom(); ++y) {
        for (int x = changed.left(); x <= changed.right(); ++x) {
            const char pixel = pixels[y * width + x];
            line[x - changed.left()] = previous.isEmpty() || pixel != previous[y * width + x]
                                           ? pixel
                                           : char(frame.unchanged);
        }
        ok = EGifPutLine(gif, reinterpret_cast<GifPixelType*>(line.data()), changed.width()) ==
             GIF_OK;
    }
    return ok;
}

} // namespace

QByteArray sequenceAnimationGif(const SequenceData& data, const QString& name, QString* error)
{
    const AnimationLayouts layouts = animationLayouts(data, name.toStdString());
    const int colours = int(layouts.palette.size()); // a power of two, as GIF needs
    std::vector<GifColorType> map;
    for (const Rgb& rgb : layouts.palette)
        map.push_back({GifByteType(rgb.red), GifByteType(rgb.green), GifByteType(rgb.blue)});
    const PictureLayout& first = layouts.frames.front().layout;
    QByteArray bytes;
    int code = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &code);
    if (gif)
        EGifSetGifVersion(gif, true); // the frame delays and the loop need GIF89a
    ColorMapObject* colourMap = gif ? GifMakeMapObject(colours, map.data()) : nullptr;
    bool ok = colourMap && EGifPutScreenDesc(gif, first.width, first.height, GifBitSize(colours),
                                             kBackground, colourMap) == GIF_OK;
    // Loop for ever, as a preview does.
    const GifByteType loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    QByteArray previous;
    for (const AnimationLayoutFrame& frame : layouts.frames) {
        const QByteArray pixels = paletteIndexes(layoutImage(frame.layout), layouts);
        ok = ok && putFrame(gif, {pixels, previous, frame.layout.width, frame.delayCs,
                                  layouts.unchangedIndex});
        previous = pixels;
    }
    if (!ok && gif)
        code = gif->Error;
    if (gif && EGifCloseFile(gif, &code) != GIF_OK)
        ok = false;
    GifFreeMapObject(colourMap);
    if (!ok) {
        *error = QString::fromLocal8Bit(GifErrorString(code));
        return {};
    }
    return bytes;
}
