// The ten rounds of the gun's current burst: where each is on the screen,
// its velocity, its distance from the eye and when it was fired (or when it
// hit the companion). The flight screen's round update writes them every
// step; the cockpit view draws them.
#pragma once

#include <array>
#include <cstdint>

namespace zarv::flight {

struct GunRounds {
  static constexpr int kCount = 10;
  std::array<int16_t, kCount> ShotScreenX{}, ShotScreenY{};  // px of the view picture
  std::array<double, kCount> ShotVelX{}, ShotVelY{}, ShotVelZ{};  // m/s; 0 once it hit
  std::array<int16_t, kCount> ShotDistance{};  // whole metres from the eye
  std::array<double, kCount> ShotTime{};       // s, the flight state's trigger clock

  void Reset() { *this = GunRounds{}; }
};

}  // namespace zarv::flight
