#include "core/ButtonLayout.h"

namespace {

int OccupiedWidth(const std::vector<int>& placedWidths) {
  int sum = 0;
  for (int width : placedWidths) sum += width + kButtonGap;
  return sum;
}

}  // namespace

int ButtonWidth(std::uint8_t widthKind) {
  switch (widthKind) {
    case 0: return 30;
    case 1: return 90;
    case 2: return 120;
    case 3: return 200;
    default: return 99;
  }
}

int ButtonTop(int barHeight) { return (barHeight - kButtonHeight) / 2; }

int NextLeftGroupLeft(const std::vector<int>& placedWidths) {
  return kButtonGap + OccupiedWidth(placedWidths);
}

int NextRightGroupLeft(int barWidth, int ownWidth, const std::vector<int>& placedWidths) {
  return barWidth - ownWidth - kButtonGap - OccupiedWidth(placedWidths);
}
