#pragma once

#include <string>
#include <string_view>

// What the user reads, the same in every edition. CR alone breaks a line.
inline constexpr std::string_view kDownloadTitle =
    "Download to GLIMMERON  -  Programmable LED Sequencer/Flasher...";
inline constexpr std::string_view kDownloadPrompt =
    "\r 1) Cycle power/Connect Glimmeron to programming cable (All LEDs flash), "
    "then\r\r 2)  Wait till all LEDS come on and stay on, then\r\r 3)  With all "
    "LEDs lit, Press 'OK' to download to Glimmeron...";

// The status line after a whole stream went out: `where` names the port, `time` is
// "HH:mm:ss".
std::string downloadDoneLine(std::string_view where, std::string_view time);
// A download that stopped part-way.
std::string downloadBrokenOffText(std::string_view where, std::string_view reason);
// A file that Open or Merge refuses.
std::string invalidSequenceText(std::string_view file, int record, std::string_view problem);
// A shared link that Open Link or Paste refuses.
std::string invalidLinkText(std::string_view problem);
// Asked before a link's sequence replaces unsaved changes to `sequenceName`.
std::string linkOverChangesText(std::string_view sequenceName);
// The status line once `link` is on the clipboard.
std::string linkCopiedLine(std::string_view link);
// What a refusal to open a file adds: the window is as it was.
inline constexpr std::string_view kNothingChanged = "\r\rNothing on screen has changed.";
// Far more than any data file holds, notes included.
inline constexpr long long kMaxDataFileBytes = 1024 * 1024;
// A file that could not be read at all, and why.
std::string unreadableFileText(std::string_view file, std::string_view reason);
// The reason for a file of `size` bytes, too long to read; -1 for a size not known.
std::string tooLongReason(long long size);
