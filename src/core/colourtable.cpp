#include "core/colourtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::array<std::string, 11> initialColourCodes()
{
    return {"&H0",      "&HFF",     "&HFF00",      "&HFFFF",      "&HFF0000",   "&HFF00FF",
            "&HFFFF00", "&HFFFFFF", std::string(), std::string(), std::string()};
}

const std::array<std::string_view, kTableColours>& colourTableNames()
{
    static const std::array<std::string_view, kTableColours> names{
        "Black", "Red", "Green", "Yellow", "Blue", "Magenta", "Cyan", "White"};
    return names;
}

std::uint32_t colourCodeValue(std::string_view code)
{
    if (code.size() < 3 || code[0] != '&' || (code[1] != 'H' && code[1] != 'h'))
        return 0;
    std::uint32_t value = 0;
    const char* end = code.data() + code.size();
    const auto [ptr, ec] = std::from_chars(code.data() + 2, end, value, 16);
    return ec == std::errc() && ptr == end ? value : 0;
}

Rgb rgbFromValue(std::uint32_t value)
{
    return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
}

Rgb tableRgb(int index)
{
    if (index < 0 || index >= kTableColours)
        return {};
    return rgbFromValue(colourCodeValue(initialColourCodes()[index]));
}

namespace {

double luminance(Rgb colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) +
           0.0722 * channel(colour.blue);
}

} // namespace

double contrastRatio(Rgb a, Rgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb nameBackground(Rgb text)
{
    const Rgb grey{0x90, 0x90, 0x90}, dark{0x20, 0x20, 0x20}, light{0xE0, 0xE0, 0xE0};
    if (contrastRatio(text, grey) >= 3)
        return grey;
    return contrastRatio(text, dark) >= contrastRatio(text, light) ? dark : light;
}
