#pragma once

#include "core/sequencedata.h"

#include <optional>
#include <string>
#include <string_view>

// A whole sequence in an address's fragment, so that a link carries it: "g1" (ours, form 1)
// and the sequence packed into 42 bytes, written in the 64 characters an address takes
// as they are (A-Z a-z 0-9 - _). Packing: the 50 events two to a byte, the four LED
// colours and the four servo modes a half-byte each, the last event, the two timings,
// the four carried colour entries as 16-bit numbers, then a CRC-16 of all that, so that
// a link cut short or mistyped is refused rather than opened wrong.
inline constexpr std::string_view kShareLinkMark = "g1";
inline constexpr int kShareLinkBytes = 42;

std::string shareLinkFragment(const SequenceData& data);

struct ShareLinkRead
{
    std::optional<SequenceData> data;
    std::string problem; // e.g. "it has 40 characters of sequence where 56 belong"
};

// Takes a fragment, with or without its "#", or a whole address.
ShareLinkRead readShareLink(std::string_view text);
// Whether `text` (blanks around it aside) is an address or fragment of ours, whole or
// damaged: its fragment starts with "g" and a digit.
bool isShareLink(std::string_view text);
