#pragma once

// Settings offers serial ports by number; LED.cfg keeps one of these.
constexpr int kFirstPort = 1;
constexpr int kLastPort = 20;
