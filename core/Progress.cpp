#include "core/Progress.h"

#include <cfenv>
#include <cmath>

int PercentComplete(long long position, long long maximum) {
  if (maximum <= 0) return 0;
  double percent = static_cast<double>(position) / static_cast<double>(maximum) * 100.0;
  // nearbyint rounds as the current mode says; the default mode is to nearest, ties to even.
  return static_cast<int>(std::nearbyint(percent));
}
