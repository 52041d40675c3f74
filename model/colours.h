#pragma once
/// The colours by which the window's labels show states (0x00BBGGRR): a switch that is on or a chosen
/// label is red, one that is off or not chosen grey (black for the two music switches), the current music
/// page's tab label blue, and the status label green online and red offline.

#include <cstdint>

namespace ep {

inline constexpr std::int32_t kRed = 255;
inline constexpr std::int32_t kGreen = 65280;
inline constexpr std::int32_t kGrey = 0x808080;
inline constexpr std::int32_t kBlack = 0;
inline constexpr std::int32_t kTabHighlight = 0xFF8800;

} // namespace ep
