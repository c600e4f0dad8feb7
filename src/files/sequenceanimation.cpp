#include "files/sequenceanimation.h"

#include "core/sequencedata.h"
#include "files/sequencepicture.h"
#include "files/sharestyle.h"
#include "platform/qtconvert.h"

#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <gif_lib.h>

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 146;
constexpr int kSide = 16;
constexpr int kLamp = 48;
constexpr int kColumn = (kWidth - 2 * kSide) / 4;
// The palette: background, unlit lamp, lamp rim, the index that marks unchanged pixels,
// the eight LED colours, then greys from the background to the ink for smooth text.
constexpr int kBackground = 0, kUnlit = 1, kRim = 2, kUnchanged = 3, kFirstColour = 4;
constexpr int kFirstGrey = 12, kGreys = 20, kPaletteSize = 32;
const QColor kBackgroundColour = ShareStyle::kBackground;
const QColor kUnlitColour = ShareStyle::kUnlit;
const QColor kRimColour(0x9a, 0xa0, 0xa8);
using ShareStyle::kDimInk;
using ShareStyle::kInk;

QString tr(const char* text)
{
    return QCoreApplication::translate("GLIMMERON", text);
}

std::array<QColor, kPaletteSize> palette()
{
    std::array<QColor, kPaletteSize> colours;
    colours[kBackground] = kBackgroundColour;
    colours[kUnlit] = kUnlitColour;
    colours[kRim] = kRimColour;
    colours[kUnchanged] = QColor(0xff, 0x00, 0xfe);
    for (int i = 0; i < 8; ++i)
        colours[kFirstColour + i] = tableColour(i);
    for (int i = 0; i < kGreys; ++i) {
        auto mix = [i](int from, int to) { return from + (to - from) * i / (kGreys - 1); };
        colours[kFirstGrey + i] = QColor(mix(kBackgroundColour.red(), kInk.red()),
                                         mix(kBackgroundColour.green(), kInk.green()),
                                         mix(kBackgroundColour.blue(), kInk.blue()));
    }
    return colours;
}

// One frame as the viewer sees it: lamps are drawn without smoothing so that they keep
// their exact colours; text is smoothed and lands on the greys.
QImage drawFrame(const SequenceData& data, const QString& title, int event)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kBackgroundColour);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(kInk);
    painter.setFont(ShareStyle::font(18, true));
    painter.drawText(QRect(kSide, 10, kWidth - 200, 26), Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(title, Qt::ElideRight, kWidth - 200));
    painter.setFont(ShareStyle::font(16, true));
    painter.drawText(QRect(kWidth - kSide - 170, 10, 170, 26), Qt::AlignRight | Qt::AlignVCenter,
                     tr("Event %1 of %2").arg(event + 1).arg(data.lastEvent + 1));
    const QStringList colours = colourNames();
    for (int led = 0; led < 4; ++led) {
        const int left = kSide + led * kColumn, index = data.colourIndexes[led];
        const bool lit = (data.events[event] >> led) & 1;
        // A light ring marks a lit lamp, so a lit Black one shows too.
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit ? kInk : kRimColour);
        painter.drawEllipse(left, 52, kLamp, kLamp);
        painter.setBrush(lit ? tableColour(index) : kUnlitColour);
        painter.drawEllipse(left + 3, 55, kLamp - 6, kLamp - 6);
        painter.setPen(kInk);
        painter.setFont(ShareStyle::font(15, true));
        painter.drawText(QRect(left + kLamp + 8, 54, kColumn - kLamp - 8, 22),
                         Qt::AlignLeft | Qt::AlignVCenter, tr("LED#%1").arg(led + 1));
        painter.setPen(kDimInk);
        painter.setFont(ShareStyle::font(12));
        painter.drawText(QRect(left + kLamp + 8, 76, kColumn - kLamp - 8, 20),
                         Qt::AlignLeft | Qt::AlignVCenter, colours.value(index));
    }
    painter.setPen(kDimInk);
    painter.setFont(ShareStyle::font(13));
    painter.drawText(QRect(kSide, 114, kWidth - 2 * kSide, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     cycleDescription(data.lastEvent, data.sequencerDelay));
    return image;
}

// The palette index of each pixel: the nearest colour, the marker index left out.
QByteArray paletteIndexes(const QImage& image, const std::array<QColor, kPaletteSize>& colours)
{
    QHash<QRgb, char> nearest;
    QByteArray pixels(kWidth * kHeight, char(kBackground));
    for (int y = 0; y < kHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            auto found = nearest.constFind(line[x]);
            if (found == nearest.constEnd()) {
                int best = kBackground, bestDistance = INT_MAX;
                for (int i = 0; i < kPaletteSize; ++i) {
                    const int dr = qRed(line[x]) - colours[i].red(),
                              dg = qGreen(line[x]) - colours[i].green(),
                              db = qBlue(line[x]) - colours[i].blue();
                    const int distance = dr * dr + dg * dg + db * db;
                    if (i != kUnchanged && distance < bestDistance)
                        std::tie(best, bestDistance) = std::pair(i, distance);
                }
                found = nearest.insert(line[x], char(best));
            }
            pixels[y * kWidth + x] = *found;
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
bool putFrame(GifFileType* gif, const QByteArray& pixels, const QByteArray& previous, int delayCs)
{
    QRect changed(0, 0, kWidth, kHeight);
    if (!previous.isEmpty()) {
        changed = QRect();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixels[y * kWidth + x] != previous[y * kWidth + x])
                    changed |= QRect(x, y, 1, 1);
        if (changed.isEmpty())
            changed = QRect(0, 0, 1, 1);
    }
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delayCs,
                                 previous.isEmpty() ? NO_TRANSPARENT_COLOR : kUnchanged};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    bool ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK &&
              EGifPutImageDesc(gif, changed.x(), changed.y(), changed.width(), changed.height(),
                               false, nullptr) == GIF_OK;
    QByteArray line(changed.width(), char(kUnchanged));
    for (int y = changed.top(); ok && y <= changed.bottom(); ++y) {
        for (int x = changed.left(); x <= changed.right(); ++x) {
            const char pixel = pixels[y * kWidth + x];
            line[x - changed.left()] =
                previous.isEmpty() || pixel != previous[y * kWidth + x] ? pixel : char(kUnchanged);
        }
        ok = EGifPutLine(gif, reinterpret_cast<GifPixelType*>(line.data()), changed.width()) ==
             GIF_OK;
    }
    return ok;
}

} // namespace

QList<AnimationFrame> animationFrames(int lastEvent, int delayMs)
{
    QList<AnimationFrame> frames;
    const int events = lastEvent + 1;
    auto roundedCs = [](int ms) { return (ms + 5) / 10; };
    // Each event from its start to the next one's, both rounded to 10 ms: the rounding
    // never adds up, and every frame is 20 ms or more.
    if (delayMs >= 20) {
        for (int i = 0; i < events; ++i)
            frames.append({i, roundedCs((i + 1) * delayMs) - roundedCs(i * delayMs)});
        return frames;
    }
    // Whole 20 ms frames; the last takes the 10 ms left over by an odd total.
    const int totalCs = std::max(1, roundedCs(events * delayMs));
    const int count = std::max(1, totalCs / 2);
    for (int i = 0; i < count; ++i)
        frames.append({20 * i / delayMs, 2});
    frames.last().delayCs = totalCs - 2 * (count - 1);
    return frames;
}

QByteArray sequenceAnimationGif(const SequenceData& data, const QString& name, QString* error)
{
    const QString title = name.isEmpty() ? tr("GLIMMERON sequence") : name;
    QList<AnimationFrame> shown;
    for (const AnimationFrame& frame : animationFrames(data.lastEvent, data.sequencerDelay)) {
        if (!shown.isEmpty() && shown.last().event == frame.event)
            shown.last().delayCs += frame.delayCs;
        else
            shown.append(frame);
    }
    const std::array<QColor, kPaletteSize> colours = palette();
    GifColorType map[kPaletteSize];
    for (int i = 0; i < kPaletteSize; ++i)
        map[i] = {GifByteType(colours[i].red()), GifByteType(colours[i].green()),
                  GifByteType(colours[i].blue())};
    QByteArray bytes;
    int code = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &code);
    if (gif)
        EGifSetGifVersion(gif, true); // the frame delays and the loop need GIF89a
    ColorMapObject* colourMap = gif ? GifMakeMapObject(kPaletteSize, map) : nullptr;
    bool ok =
        colourMap && EGifPutScreenDesc(gif, kWidth, kHeight, 5, kBackground, colourMap) == GIF_OK;
    // Loop for ever, as a preview does.
    const GifByteType loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    QByteArray previous;
    for (const AnimationFrame& frame : shown) {
        const QByteArray pixels = paletteIndexes(drawFrame(data, title, frame.event), colours);
        ok = ok && putFrame(gif, pixels, previous, frame.delayCs);
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
