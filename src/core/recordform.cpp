#include "core/recordform.h"

#include <algorithm>
#include <charconv>

std::string quotedRecordText(std::string_view text)
{
    return '"' + std::string(text) + "\"\r\n";
}

std::string integerRecordText(int value)
{
    return std::to_string(value) + "\r\n";
}

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks and control characters at either end go, as the desktop's reader always did.
std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::vector<FieldText> splitFields(std::string_view bytes)
{
    std::vector<FieldText> fields;
    const size_t size = bytes.size();
    size_t pos = 0;
    int line = 1;
    while (pos < size) {
        FieldText field;
        field.line = line;
        while (pos < size && isBlank(bytes[pos]))
            ++pos;
        if (pos < size && bytes[pos] == '"') {
            field.quoted = true;
            const size_t start = ++pos;
            while (pos < size && bytes[pos] != '"' && !isLineEnd(bytes[pos]))
                ++pos;
            field.text = bytes.substr(start, pos - start);
            if (pos < size && bytes[pos] == '"')
                ++pos;
            // Anything between the closing quote and the delimiter is passed over.
            while (pos < size && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
                ++pos;
        } else {
            const size_t start = pos;
            while (pos < size && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
                ++pos;
            field.text = trimmed(bytes.substr(start, pos - start));
        }
        fields.push_back(field);
        if (pos < size && bytes[pos] == ',') {
            ++pos;
            if (pos == size || isLineEnd(bytes[pos]))
                fields.push_back(FieldText{false, {}, line}); // "a," holds an empty second field
        }
        if (pos < size && isLineEnd(bytes[pos])) {
            if (bytes[pos] == '\r' && pos + 1 < size && bytes[pos + 1] == '\n')
                ++pos;
            ++pos;
            ++line;
        }
    }
    while (!fields.empty() && !fields.back().quoted && fields.back().text.empty())
        fields.pop_back();
    return fields;
}

std::optional<long long> fieldNumber(const FieldText& field)
{
    std::string_view text = trimmed(field.text);
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    // A NUL or another control byte inside is no number: "5\0junk" is not a 5.
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::nullopt;
    }
    if (text.front() == '+')
        text.remove_prefix(1);
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool fieldIsWholeNumber(const FieldText& field)
{
    std::string_view text = trimmed(field.text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string fieldDescription(const FieldText& field)
{
    if (field.text.empty())
        return "an empty field";
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    for (char c : std::string_view(field.text).substr(0, 20)) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            shown += c;
        else
            shown += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    }
    if (field.text.size() > 20)
        shown += "...";
    return '"' + shown + '"';
}
