// The runtime's random numbers. One program-wide sequence; tests seed it to
// get a repeatable run.
#pragma once

#include <cstdint>

namespace zarv {

// Uniform random number in [0, 1).
double Rnd();
// Restarts the sequence from seed.
void Randomize(uint32_t seed);

}  // namespace zarv
