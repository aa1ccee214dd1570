#pragma once
// Where the button bar puts its buttons: widths by kind, the common top, and the left edges of
// the left group (from the bar's left end) and the right group (from its right end).

#include <cstdint>
#include <vector>

constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 5;

// 0: 30 pixels, 1: 90, 2: 120, 3: 200; any other kind 99.
int ButtonWidth(std::uint8_t widthKind);

// Centred vertically, truncated toward zero.
int ButtonTop(int barHeight);

// Left edge of the next button of a group whose earlier buttons have the given widths.
int NextLeftGroupLeft(const std::vector<int>& placedWidths);
int NextRightGroupLeft(int barWidth, int ownWidth, const std::vector<int>& placedWidths);
