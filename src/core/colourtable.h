#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kColourWhite = 7;
constexpr int kTableColours = 8;

// Colour codes are held as "&H" hex texts, lowest byte red.
std::array<std::string, 11> initialColourCodes();
// The list texts, by colour-table index.
const std::array<std::string_view, kTableColours>& colourTableNames();
// The code read as an unsigned hex number; 0 for anything else.
std::uint32_t colourCodeValue(std::string_view code);

struct Rgb
{
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb rgbFromValue(std::uint32_t value);
// The colour of colour-table entry `index` (0..7); black outside the table.
Rgb tableRgb(int index);

// The contrast of two colours, 1 to 21, as readability guidelines reckon it.
double contrastRatio(Rgb a, Rgb b);
// The background of an LED's name in colour `text`: the design's grey, or a darker or
// lighter one where the grey would leave the name less than 3:1 to read.
Rgb nameBackground(Rgb text);
