#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text form shared by data files and LED.cfg: one value per line, text in double
// quotes, integers as bare signed decimals, CR LF after every record.
struct FieldText
{
    bool quoted = false;
    std::string text;
    int line = 0; // 1-based line the field starts on
};

std::string quotedRecordText(std::string_view text);
std::string integerRecordText(int value);

// Splits file bytes into fields. A comma also ends a field; CR LF, LF or CR end a line,
// the last line may lack its line end, and empty lines at the very end are not fields.
std::vector<FieldText> splitFields(std::string_view bytes);

// A field's value as a whole number, quoted or not; nothing when it is not one.
std::optional<long long> fieldNumber(const FieldText& field);
// True for a sign and digits only, however many.
bool fieldIsWholeNumber(const FieldText& field);
// A short, printable rendering of a field for messages.
std::string fieldDescription(const FieldText& field);
