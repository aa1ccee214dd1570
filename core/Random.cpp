#include "core/Random.h"

#include <random>

namespace {

std::mt19937& Generator() {
  static std::mt19937 generator;
  return generator;
}

}  // namespace

void Randomize() {
  std::random_device entropy;
  std::seed_seq seed{entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy(),
                     entropy()};
  Generator().seed(seed);
}

int Random(int range) {
  if (range <= 0) return 0;
  return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

void RandSeed(std::uint32_t seed) { Generator().seed(seed); }
