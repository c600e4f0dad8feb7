// The exported picture and animation, painted from the core's layouts as the desktop
// paints them: a PNG of the events in use, a GIF of one cycle.
import { GIFEncoder, nearestColorIndex } from './gifenc.mjs';

// The faces the desktop finds for its "Sans" and "Monospace" on Linux, where there are any.
const fontOf = (text) => `${text.bold ? 'bold ' : ''}${text.pixelSize}px ${
    text.monospace ? '"DejaVu Sans Mono", monospace' : '"DejaVu Sans", sans-serif'}`;

// The longest start of `text` that fits `width` with an ellipsis after it.
function elided(context, text, width) {
    if (context.measureText(text).width <= width) return text;
    const chars = [...text];
    let fits = 0;
    for (let low = 0, high = chars.length; low <= high;) {
        const middle = (low + high) >> 1;
        if (context.measureText(chars.slice(0, middle).join('') + '\u2026').width <= width) {
            fits = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return chars.slice(0, fits).join('') + '\u2026';
}

// Placed as the desktop places text in a box: the line's ascent and descent, not the
// glyphs' ink, are what is aligned.
function drawText(context, item) {
    context.font = fontOf(item);
    context.fillStyle = item.colour;
    const text = elided(context, item.text, item.width);
    const metrics = context.measureText(text);
    const ascent = metrics.fontBoundingBoxAscent, descent = metrics.fontBoundingBoxDescent;
    const x = { left: item.x, centre: item.x + (item.width - metrics.width) / 2,
        right: item.x + item.width - metrics.width }[item.align];
    const baseline = { top: item.y + ascent, bottom: item.y + item.height - descent,
        middle: item.y + (item.height - ascent - descent) / 2 + ascent }[item.place];
    context.textBaseline = 'alphabetic';
    context.textAlign = 'left';
    context.fillText(text, x, baseline);
}

// Unsmoothed, an ellipse is filled row by row in whole pixels: its colours stay exact.
function fillEllipse(context, x, y, width, height, colour, smooth) {
    context.fillStyle = colour;
    if (width <= 0 || height <= 0) return;
    if (smooth) {
        context.beginPath();
        context.ellipse(x + width / 2, y + height / 2, width / 2, height / 2, 0, 0, 2 * Math.PI);
        context.fill();
        return;
    }
    for (let row = 0; row < height; ++row) {
        const dy = (row + 0.5) / height * 2 - 1;
        const half = width / 2 * Math.sqrt(Math.max(0, 1 - dy * dy));
        const left = Math.round(width / 2 - half), right = Math.round(width / 2 + half);
        if (right > left) context.fillRect(x + left, y + row, right - left, 1);
    }
}

// Sizes `canvas` to the layout, paints it, and gives back the 2D context.
export function drawLayout(canvas, layout) {
    canvas.width = layout.width;
    canvas.height = layout.height;
    const context = canvas.getContext('2d', { willReadFrequently: !layout.smoothShapes });
    context.fillStyle = layout.background;
    context.fillRect(0, 0, layout.width, layout.height);
    for (const item of layout.items) {
        if (item.kind === 'rect') {
            context.fillStyle = item.colour;
            context.fillRect(item.x, item.y, item.width, item.height);
        } else if (item.kind === 'ellipse') {
            const { x, y, width, height, ringWidth: w } = item;
            if (w > 0) fillEllipse(context, x, y, width, height, item.ring, layout.smoothShapes);
            fillEllipse(context, x + w, y + w, width - 2 * w, height - 2 * w, item.fill,
                layout.smoothShapes);
        } else {
            drawText(context, item);
        }
    }
    return context;
}

const canvasBlob = (canvas, type) => new Promise((resolve, reject) => canvas.toBlob(
    (blob) => (blob ? resolve(blob) : reject(new Error(`The browser could not encode the ${type} picture.`))), type));

// `data`: the page's sequence (events, colourIndexes, servoModes, lastEvent,
// sequencerDelay, testSpeed); `name`: the title line, the file's name without ".DAT".
export async function pictureBlob(core, data, name) {
    const canvas = document.createElement('canvas');
    drawLayout(canvas, core.pictureLayout(data, name));
    return canvasBlob(canvas, 'image/png');
}

const rgbOf = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));

// Each pixel's nearest palette colour; the unchanged mark is never chosen (ties go to the
// background, the first entry).
function paletteIndexes(rgba, palette, unchangedIndex) {
    const choices = palette.map((colour, i) => (i === unchangedIndex ? palette[0] : colour));
    const nearest = new Map();
    const indexes = new Uint8Array(rgba.length / 4);
    for (let i = 0; i < indexes.length; ++i) {
        const key = rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
        let index = nearest.get(key);
        if (index === undefined) {
            index = nearestColorIndex(choices, [rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]]);
            nearest.set(key, index);
        }
        indexes[i] = index;
    }
    return indexes;
}

// One cycle, looping for ever. After the first frame, pixels that did not change are
// transparent, so that a frame costs little.
export async function animationBlob(core, data, name) {
    const { palette: hexes, unchangedIndex, frames } = core.animationLayouts(data, name);
    const palette = hexes.map(rgbOf);
    const gif = GIFEncoder();
    const canvas = document.createElement('canvas');
    let previous = null;
    for (const { delayCs, layout } of frames) {
        const context = drawLayout(canvas, layout);
        const pixels = paletteIndexes(context.getImageData(0, 0, layout.width, layout.height).data,
            palette, unchangedIndex);
        const shown = previous ? pixels.map((p, i) => (p === previous[i] ? unchangedIndex : p)) : pixels;
        gif.writeFrame(shown, layout.width, layout.height, {
            palette: previous ? undefined : palette, // the first frame's is the global one
            delay: 10 * delayCs, repeat: 0, dispose: 1,
            transparent: previous !== null, transparentIndex: unchangedIndex,
        });
        previous = pixels;
    }
    gif.finish();
    return new Blob([gif.bytes()], { type: 'image/gif' });
}
