#pragma once
// The wizard's one pseudo-random generator, shared by every part that draws numbers: key texts,
// scrambling seeds and flag bytes of the client data file, and the welcome page's animation.

#include <cstdint>

// Seeds the generator from the system's entropy source. Program start calls it once, so that
// key texts and flags differ between installations.
void Randomize();

// A uniformly distributed whole number from 0 to range - 1; 0 when range is 0 or less.
int Random(int range);

// Seeds the generator with a fixed value, for reproducible runs in tests and benchmarks.
void RandSeed(std::uint32_t seed);
