#include "core/sharelink.h"

#include <array>
#include <cstdint>

namespace {

using Bytes = std::array<std::uint8_t, kShareLinkBytes>;

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int kCharacters = kShareLinkBytes * 4 / 3; // 42 bytes fill 56 characters exactly
constexpr std::string_view kBlanks = " \t\n\v\f\r";

std::uint16_t crc16(const std::uint8_t* bytes, int count)
{
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i < count; ++i) {
        crc ^= std::uint16_t(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = std::uint16_t(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view fragmentOf(std::string_view text)
{
    text = trimmed(text);
    const size_t hash = text.find('#');
    return hash == std::string_view::npos ? text : text.substr(hash + 1);
}

std::string outside(const std::string& what, int value, int low, int high)
{
    return what + " is " + std::to_string(value) + ", outside " + std::to_string(low) + " to " +
           std::to_string(high);
}

} // namespace

std::string shareLinkFragment(const SequenceData& data)
{
    Bytes bytes{};
    for (int i = 0; i < 50; ++i)
        bytes[i / 2] |= std::uint8_t((data.events[i] & 15) << (i % 2 ? 0 : 4));
    for (int led = 0; led < 4; ++led) {
        bytes[25 + led / 2] |= std::uint8_t((data.colourIndexes[led] & 15) << (led % 2 ? 0 : 4));
        bytes[27 + led / 2] |= std::uint8_t((data.servoModes[led] & 15) << (led % 2 ? 0 : 4));
    }
    bytes[29] = std::uint8_t(data.lastEvent);
    bytes[30] = std::uint8_t(data.sequencerDelay);
    bytes[31] = std::uint8_t(data.testSpeed);
    for (int k = 0; k < 4; ++k) {
        const auto entry = std::uint16_t(data.colourIndexes[4 + k]);
        bytes[32 + 2 * k] = std::uint8_t(entry >> 8);
        bytes[33 + 2 * k] = std::uint8_t(entry);
    }
    const std::uint16_t crc = crc16(bytes.data(), kShareLinkBytes - 2);
    bytes[40] = std::uint8_t(crc >> 8);
    bytes[41] = std::uint8_t(crc);

    std::string text(kShareLinkMark);
    for (int i = 0; i < kShareLinkBytes; i += 3) {
        const unsigned triple =
            unsigned(bytes[i]) << 16 | unsigned(bytes[i + 1]) << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kAlphabet[(triple >> shift) & 63];
    }
    return text;
}

bool isShareLink(std::string_view text)
{
    const std::string_view fragment = fragmentOf(text);
    return trimmed(text).find_first_of(kBlanks) == std::string_view::npos && fragment.size() >= 2 &&
           fragment[0] == kShareLinkMark[0] && fragment[1] >= '0' && fragment[1] <= '9';
}

ShareLinkRead readShareLink(std::string_view text)
{
    const std::string_view fragment = fragmentOf(text);
    if (!isShareLink(text))
        return {std::nullopt, "it holds no sequence of this editor's"};
    if (fragment[1] != kShareLinkMark[1])
        return {std::nullopt, "it was made by a newer version of the editor (form " +
                                  std::string(1, fragment[1]) + "); open it with that version"};
    const std::string_view packed = fragment.substr(kShareLinkMark.size());
    if (packed.size() != size_t(kCharacters))
        return {std::nullopt, "it has " + std::to_string(packed.size()) +
                                  " characters of sequence where " + std::to_string(kCharacters) +
                                  " belong, so part of it is missing or extra"};
    Bytes bytes{};
    for (int i = 0; i < kCharacters; ++i) {
        const size_t digit = kAlphabet.find(packed[size_t(i)]);
        if (digit == std::string_view::npos) {
            const unsigned char c = static_cast<unsigned char>(packed[size_t(i)]);
            return {std::nullopt, "character " + std::to_string(i + 1 + kShareLinkMark.size()) +
                                      (c > ' ' && c < 127 ? " ('" + std::string(1, char(c)) + "')"
                                                          : std::string()) +
                                      " is not one a sequence link can hold"};
        }
        const int bit = i * 6;
        for (int b = 0; b < 6; ++b)
            if ((digit >> (5 - b)) & 1)
                bytes[size_t((bit + b) / 8)] |= std::uint8_t(0x80 >> ((bit + b) % 8));
    }
    if (crc16(bytes.data(), kShareLinkBytes - 2) != (bytes[40] << 8 | bytes[41]))
        return {std::nullopt, "its checksum does not match, so some characters were changed"};

    SequenceData data;
    const auto half = [&](int at, int index) {
        return index % 2 ? bytes[at] & 15 : bytes[at] >> 4;
    };
    for (int i = 0; i < 50; ++i)
        data.events[i] = half(i / 2, i);
    for (int led = 0; led < 4; ++led) {
        data.colourIndexes[led] = half(25 + led / 2, led);
        data.servoModes[led] = half(27 + led / 2, led);
        if (data.colourIndexes[led] > 7)
            return {std::nullopt, outside("the colour index of LED " + std::to_string(led + 1),
                                          data.colourIndexes[led], 0, 7)};
    }
    data.lastEvent = bytes[29];
    data.sequencerDelay = bytes[30];
    data.testSpeed = bytes[31];
    for (int k = 0; k < 4; ++k)
        data.colourIndexes[4 + k] = std::int16_t(bytes[32 + 2 * k] << 8 | bytes[33 + 2 * k]);
    if (data.lastEvent > 49)
        return {std::nullopt, outside("the last event index", data.lastEvent, 0, 49)};
    if (data.sequencerDelay < 1 || data.testSpeed < 1)
        return {std::nullopt,
                outside(data.sequencerDelay < 1 ? "the sequencer delay" : "the LED test speed", 0,
                        1, 255)};
    return {data, {}};
}
