#include "files/sequenceanimation.h"

#include "sequence/colourtable.h"
#include "core/sequencedata.h"

#include <QImage>
#include <QPainter>
#include <gif_lib.h>

namespace {

constexpr int kLamp = 48;
constexpr int kGap = 16;
constexpr int kWidth = 4 * kLamp + 5 * kGap;
constexpr int kHeight = kLamp + 2 * kGap;
// The palette: background, unlit lamp, outline, then the eight LED colours.
constexpr int kBackground = 0, kUnlit = 1, kOutline = 2, kFirstColour = 3;

int appendToBuffer(GifFileType* gif, const GifByteType* bytes, int size)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), size);
    return size;
}

// The palette index of each pixel of one frame; `lit` holds a colour index or -1 per lamp.
QByteArray framePixels(const std::array<int, 4>& lit)
{
    QByteArray pixels(kWidth * kHeight, char(kBackground));
    for (int led = 0; led < 4; ++led) {
        const int cx = kGap + led * (kLamp + kGap) + kLamp / 2, cy = kHeight / 2;
        for (int y = cy - kLamp / 2; y < cy + kLamp / 2; ++y) {
            for (int x = cx - kLamp / 2; x < cx + kLamp / 2; ++x) {
                const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                const int r = kLamp / 2;
                if (d2 < (r - 2) * (r - 2))
                    pixels[y * kWidth + x] = char(lit[led] < 0 ? kUnlit : kFirstColour + lit[led]);
                else if (d2 < r * r)
                    pixels[y * kWidth + x] = char(kOutline);
            }
        }
    }
    return pixels;
}

} // namespace

QList<AnimationFrame> animationFrames(int lastEvent, int delayMs)
{
    QList<AnimationFrame> frames;
    const int events = lastEvent + 1;
    if (delayMs % 10 == 0 && delayMs >= 20) {
        for (int i = 0; i < events; ++i)
            frames.append({i, delayMs / 10});
        return frames;
    }
    const int cycleMs = events * delayMs;
    const int totalCs = std::max(1, (cycleMs + 5) / 10);
    for (int t = 0; t < cycleMs; t += 20)
        frames.append({t / delayMs, 2});
    frames.last().delayCs = std::max(1, totalCs - 2 * int(frames.size() - 1));
    return frames;
}

QByteArray sequenceAnimationGif(const SequenceData& data, QString* error)
{
    // Which lamps each frame lights: frames that look alike in a row become one.
    QList<std::pair<std::array<int, 4>, int>> shown;
    for (const AnimationFrame& frame : animationFrames(data.lastEvent, data.sequencerDelay)) {
        std::array<int, 4> lit{};
        for (int led = 0; led < 4; ++led)
            lit[led] = (data.events[frame.event] >> led) & 1 ? data.colourIndexes[led] : -1;
        if (!shown.isEmpty() && shown.last().first == lit)
            shown.last().second += frame.delayCs;
        else
            shown.append({lit, frame.delayCs});
    }
    GifColorType colours[16] = {{0x30, 0x30, 0x30}, {0x10, 0x10, 0x10}, {0x80, 0x80, 0x80}};
    for (int i = 0; i < 8; ++i) {
        const QColor c = tableColour(i);
        colours[kFirstColour + i] = {GifByteType(c.red()), GifByteType(c.green()),
                                     GifByteType(c.blue())};
    }
    QByteArray bytes;
    int code = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &code);
    if (gif)
        EGifSetGifVersion(gif, true); // the frame delays and the loop need GIF89a
    ColorMapObject* map = gif ? GifMakeMapObject(16, colours) : nullptr;
    bool ok = map && EGifPutScreenDesc(gif, kWidth, kHeight, 4, kBackground, map) == GIF_OK;
    // Loop for ever, as a preview does.
    const GifByteType loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    for (const auto& [lit, delayCs] : shown) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, delayCs, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        QByteArray pixels = framePixels(lit);
        ok = ok &&
             EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < kHeight; ++y)
            ok = EGifPutLine(gif, reinterpret_cast<GifPixelType*>(pixels.data() + y * kWidth),
                             kWidth) == GIF_OK;
    }
    if (!ok && gif)
        code = gif->Error;
    if (gif && EGifCloseFile(gif, &code) != GIF_OK)
        ok = false;
    GifFreeMapObject(map);
    if (!ok) {
        *error = QString::fromLocal8Bit(GifErrorString(code));
        return {};
    }
    return bytes;
}
