#include "platform/runtime/random.h"

#include <random>

namespace zarv {

namespace {

std::mt19937& Engine() {
  static std::mt19937 engine(std::random_device{}());
  return engine;
}

}  // namespace

double Rnd() {
  // 53 random bits scaled into [0, 1): never reaches 1, unlike
  // generate_canonical on some library versions.
  const uint32_t a = Engine()() >> 5;  // 27 bits
  const uint32_t b = Engine()() >> 6;  // 26 bits
  return (a * 67108864.0 + b) / 9007199254740992.0;
}

void Randomize(uint32_t seed) { Engine().seed(seed); }

}  // namespace zarv
