#pragma once

#include <string_view>

// What must hold for any bytes given to the core's readers and edits; shared by the fuzz
// targets and the replay of their corpora in the core test. Standard C++ only.
bool sequenceReaderHolds(std::string_view bytes);
bool shareLinkHolds(std::string_view bytes);
bool ledCfgReaderHolds(std::string_view bytes);
bool eventsTextReaderHolds(std::string_view bytes);
// The bytes pick an edit, its range and the sequence it works on.
bool eventEditsHold(std::string_view bytes);
