#include "core/colourtable.h"

#include <charconv>

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
