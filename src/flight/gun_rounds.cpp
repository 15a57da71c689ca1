#include "flight/gun_rounds.h"

#include <cmath>
#include <cstddef>

#include "platform/runtime/numeric.h"
#include "platform/runtime/random.h"

namespace zarv::flight {
namespace {

constexpr double kJetGunX = -2.0;    // m left of the axis, level with the eye
constexpr double kWingGunX = 2.5;    // m either side, 2 m ahead of the reference
constexpr double kWingGunY = 2.0;
constexpr double kScatter = 15.0;    // m/s of sideways speed: +-7.5 / MuzzleSpeed rad
constexpr double kSkipFactor = 0.8;  // speed kept when a round skips off the water
constexpr double kHitTestSpeed = 50.0;  // m/s: slower rounds are not tested
constexpr double kHitSpeed = 60.0;      // m/s: slower rounds do not count

std::size_t At(int i) { return static_cast<std::size_t>(i); }

double DistanceTo(const GunState& g, int i, double x, double y, double z) {
  const double dx = g.RoundX[At(i)] - x, dy = g.RoundY[At(i)] - y, dz = g.RoundZ[At(i)] - z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The muzzle points of this step, from the body frame into the world.
void PlaceMuzzles(FlightState& s, const model::AirframeOutline& outline) {
  const model::AttitudeRotation attitude{std::sin(s.Body.BankAngle),  std::cos(s.Body.BankAngle),
                                         std::sin(s.Body.PitchAngle), std::cos(s.Body.PitchAngle),
                                         std::sin(s.Body.Heading),    std::cos(s.Body.Heading)};
  const auto place = [&](int entry, double x, double y) {
    model::WorkPoint p{x, y, 0.0};
    model::RotatePointByAttitude(attitude, p);
    s.Gun.RoundX[At(entry)] = p.X + s.Body.PosX;
    s.Gun.RoundY[At(entry)] = p.Y + s.Body.PosY;
    s.Gun.RoundZ[At(entry)] = p.Z + s.Body.Altitude;
  };
  if (s.Engine.EngineType == aircraft::EngineKind::Jet) {
    place(kMuzzleA, kJetGunX, outline.FrontFuselageY(4, 0));
    place(kMuzzleB, kJetGunX, outline.FrontFuselageY(4, 0));
  } else {
    place(kMuzzleA, -kWingGunX, kWingGunY);
    place(kMuzzleB, kWingGunX, kWingGunY);
  }
}

// A round still at its gun: aimed along the nose with a little scatter,
// carried with the aircraft's velocity. Even rounds leave the right gun,
// odd ones the left.
void LoadRound(FlightState& s, int i) {
  GunState& g = s.Gun;
  const double jx = (Rnd() - 0.5) * kScatter / g.MuzzleSpeed;
  const double jy = (Rnd() - 0.5) * kScatter / g.MuzzleSpeed;
  const double h = s.Body.Heading + jx;
  const double p = s.Body.PitchAngle + jy;
  g.RoundVelX[At(i)] = std::sin(h) * std::cos(p) * g.MuzzleSpeed + s.Body.VelX;
  g.RoundVelY[At(i)] = std::cos(h) * std::cos(p) * g.MuzzleSpeed + s.Body.VelY;
  g.RoundVelZ[At(i)] = std::sin(p) * g.MuzzleSpeed + s.Body.VelZ;
  const int muzzle = i % 2 == 0 ? kMuzzleB : kMuzzleA;
  g.RoundX[At(i)] = g.RoundX[At(muzzle)];
  g.RoundY[At(i)] = g.RoundY[At(muzzle)];
  g.RoundZ[At(i)] = g.RoundZ[At(muzzle)];
  g.RoundsToLoad = static_cast<uint16_t>(g.RoundsToLoad & ~(1u << i));
}

// Gravity, the skip off the water and one step of path; a round covers a
// third of its path per step while it is leaving the muzzle.
void FlyRound(FlightState& s, int i, int n) {
  GunState& g = s.Gun;
  const double sps = s.Loop.StepsPerSecond;
  g.RoundVelZ[At(i)] -= s.Setup.Gravity / sps;
  if (g.RoundZ[At(i)] < 0) {
    g.RoundVelZ[At(i)] = -kSkipFactor * g.RoundVelZ[At(i)];
    g.RoundVelX[At(i)] *= kSkipFactor;
    g.RoundVelY[At(i)] *= kSkipFactor;
  }
  const double share = n > 3 * i ? 1.0 : 1.0 / 3.0;
  g.RoundX[At(i)] += g.RoundVelX[At(i)] / sps * share;
  g.RoundY[At(i)] += g.RoundVelY[At(i)] / sps * share;
  g.RoundZ[At(i)] += g.RoundVelZ[At(i)] / sps * share;
}

// The round's path of this step passes the companion closer than the miss
// distance, and the companion was still ahead of it (the step's path and the
// distance after it make an acute angle at the new position).
bool PassesCompanion(double pathLength, double before, double after) {
  const double a = pathLength;
  const double half = (a + before + after) / 2;
  const double area = std::sqrt(std::fabs(half * (half - a) * (half - before) * (half - after)));
  const double miss = 2 * area / a;
  return after * after + a * a < before * before && miss < kHitMissDistance;
}

void ScoreHit(GunRoundsContext& c, int i, double now) {
  FlightState& s = c.State;
  GunState& g = s.Gun;
  if (g.HitCount < INT16_MAX) ++g.HitCount;
  s.Sound.HitFlag = 1;
  // Never more hits than rounds fired.
  if (g.HitCount > c.Record.LaunchMarkTenths) {
    g.HitCount = CInt(c.Record.LaunchMarkTenths);
    return;
  }
  g.RoundVelX[At(i)] = g.RoundVelY[At(i)] = g.RoundVelZ[At(i)] = 0;
  g.RoundHitTime[At(i)] = now;
  s.Sound.LastHitTime = now;
  // While the hit sound of an earlier hit plays, its time and level stand.
  if (s.Sound.HitSoundPlaying != 0) return;
  s.Sound.HitSoundTime = s.Sound.LastHitTime;
  if (c.SoundOn == 1) c.SetHitVolume();
}

void ProjectRound(GunRoundsContext& c, int i) {
  GunState& g = c.State.Gun;
  model::WorkPoint p{g.RoundX[At(i)], g.RoundY[At(i)], g.RoundZ[At(i)]};
  model::ProjectionResult r;
  model::ProjectPointToView(c.View, p, r);
  g.RoundScreenX[At(i)] = CInt(c.State.View.ViewCentreX + r.ProjX);
  g.RoundScreenY[At(i)] = CInt(c.State.View.ViewCentreY + r.ProjY);
  g.RoundDistance[At(i)] = CInt(r.ProjDistance);
}

}  // namespace

double MuzzleSpeedFor(aircraft::EngineKind engine) {
  return engine == aircraft::EngineKind::Piston ? 600.0 : 1100.0;
}

void UpdateCompanionPosition(CompanionData& companion, int32_t recordCount) {
  if (companion.CompanionSampleCount <= 10 || recordCount <= 0) return;
  const CompanionSample& k = companion.Sample(recordCount);
  companion.CompanionPositionEast = k.CompanionEast;
  companion.CompanionPositionNorth = k.CompanionNorth;
  companion.CompanionPositionHeight = k.CompanionAltitude;
}

bool GunRoundsActive(const FlightState& s, int32_t recordCount, double now) {
  const double burst = s.Sound.TriggerTime;
  if (!(burst > 0)) return false;
  // From the burst's own clock tick on: the passes that follow a click
  // within the same millisecond already move the rounds, so that they leave
  // one every two steps however fast the passes run. The burst's time is
  // kept in single precision; the tick is compared so.
  const bool afterBurst = static_cast<float>(now) >= burst && now < burst + kRoundActiveSeconds && recordCount > 5;
  const bool afterHit = now < s.Sound.LastHitTime + kRoundHitActiveSeconds && s.Sound.HitFlag == 1;
  return afterBurst || afterHit;
}

void UpdateGunRounds(GunRoundsContext& c, double now) {
  FlightState& s = c.State;
  if (!GunRoundsActive(s, c.Record.RecordCount, now)) return;
  GunState& g = s.Gun;
  // The panel keeps it too; set here so that a step before the first panel
  // never divides by zero.
  g.MuzzleSpeed = MuzzleSpeedFor(s.Engine.EngineType);
  PlaceMuzzles(s, c.Outline);

  const bool companion = c.Companion.CompanionSampleCount > 0;
  const double cx = c.Companion.CompanionPositionEast;
  const double cy = c.Companion.CompanionPositionNorth;
  const double cz = c.Companion.CompanionPositionHeight;
  const int n = s.Loop.StepsSinceTrigger;
  for (int i = 0; i < kGunRounds; ++i) {
    const bool atGun = n <= 2 * i;
    if (atGun || (g.RoundsToLoad >> i & 1u) != 0) LoadRound(s, i);
    if (atGun) continue;
    const double before = companion ? DistanceTo(g, i, cx, cy, cz) : 0.0;
    FlyRound(s, i, n);
    const double v = std::sqrt(g.RoundVelX[At(i)] * g.RoundVelX[At(i)] +
                               g.RoundVelY[At(i)] * g.RoundVelY[At(i)] +
                               g.RoundVelZ[At(i)] * g.RoundVelZ[At(i)]);
    if (v > kHitTestSpeed && companion && before < kHitTestRange) {
      const double after = DistanceTo(g, i, cx, cy, cz);
      if (PassesCompanion(v / s.Loop.StepsPerSecond, before, after) && v > kHitSpeed) {
        ScoreHit(c, i, now);
      }
    }
    ProjectRound(c, i);
  }
}

}  // namespace zarv::flight
