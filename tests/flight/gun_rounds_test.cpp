// The gun's rounds worked by hand: where they leave the guns, how they fly,
// fall and skip off the water, when a pass by the companion is a hit, and
// what a hit changes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "flight/gun_rounds.h"
#include "model/outline.h"
#include "model/rotation.h"
#include "platform/runtime/random.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

constexpr double kBurst = 100.0;  // Timer() seconds of the burst
constexpr double kStep = 1.0 / 40;

// A piston aircraft flying north level at 50 m/s, 100 m up, a burst just
// fired, and a companion of 1000 samples (not yet placed).
class GunRoundsTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Randomize(7);
    s_.Engine.EngineType = aircraft::EngineKind::Piston;
    s_.Loop.StepsPerSecond = 40;
    s_.Setup.Gravity = 9.8;
    s_.Body.PosX = 0;
    s_.Body.PosY = 0;
    s_.Body.Altitude = 100;
    s_.Body.VelY = 50;
    s_.Sound.TriggerTime = kBurst;
    s_.Loop.StepsSinceTrigger = 0;
    record_->RecordCount = 200;
    record_->LaunchMarkTenths = 10;
    companion_->CompanionSampleCount = 0;
    // Eye at the aircraft, looking north, level; 640 x 480 view.
    view_.EyeX = 0;
    view_.EyeY = 0;
    view_.EyeZ = 100;
    view_.ViewHeadingCos = 1;
    view_.ViewDepressionCos = 1;
    view_.ViewRollCos = 1;
    view_.PixelsPerRadian = 573;
    s_.View.ViewCentreX = 320;
    s_.View.ViewCentreY = 200;
  }

  GunRoundsContext Context() {
    GunRoundsContext c{s_, *record_, outline_, *companion_, view_, soundOn_, nullptr};
    c.SetHitVolume = [this] { ++volumeCalls_; };
    return c;
  }

  void Update(double now) {
    GunRoundsContext c = Context();
    UpdateGunRounds(c, now);
  }

  // Puts the companion at (x, y, z).
  void PlaceCompanion(double x, double y, double z) {
    companion_->CompanionSampleCount = 1000;
    companion_->CompanionPositionEast = x;
    companion_->CompanionPositionNorth = y;
    companion_->CompanionPositionHeight = z;
  }

  // Round i in flight at (x, y, z) with velocity (vx, vy, vz); the burst
  // well under way so that it covers its whole step.
  void FlyingRound(int i, double x, double y, double z, double vx, double vy, double vz) {
    s_.Loop.StepsSinceTrigger = 30;
    s_.Gun.RoundX[i] = x;
    s_.Gun.RoundY[i] = y;
    s_.Gun.RoundZ[i] = z;
    s_.Gun.RoundVelX[i] = vx;
    s_.Gun.RoundVelY[i] = vy;
    s_.Gun.RoundVelZ[i] = vz;
  }

  FlightState s_;
  std::unique_ptr<FlightRecord> record_ = std::make_unique<FlightRecord>();
  std::unique_ptr<CompanionData> companion_ = std::make_unique<CompanionData>();
  model::AirframeOutline outline_;
  model::ViewSetup view_;
  int16_t soundOn_ = 1;
  int volumeCalls_ = 0;
};

TEST_F(GunRoundsTest, PistonRoundsAlternateGunsAndAllLeaveInHalfASecond) {
  Update(kBurst + 0.01);
  EXPECT_DOUBLE_EQ(s_.Gun.MuzzleSpeed, 600);
  for (int i = 0; i < kGunRounds; ++i) {
    // Even rounds at the right gun (+2.5 m), odd ones at the left.
    EXPECT_DOUBLE_EQ(s_.Gun.RoundX[i], i % 2 == 0 ? 2.5 : -2.5) << i;
    EXPECT_DOUBLE_EQ(s_.Gun.RoundY[i], 2.0);
    EXPECT_DOUBLE_EQ(s_.Gun.RoundZ[i], 100.0);
    // Aimed along the nose within +-7.5 / 600 rad, plus the aircraft's speed.
    EXPECT_NEAR(s_.Gun.RoundVelX[i], 0, 7.5 + 1e-9);
    EXPECT_NEAR(s_.Gun.RoundVelY[i], 650, 0.1);
    EXPECT_NEAR(s_.Gun.RoundVelZ[i], 0, 7.5 + 1e-9);
  }
  // One round leaves every two steps; after 20 steps all ten are out.
  for (int n = 1; n <= 20; ++n) {
    s_.Loop.StepsSinceTrigger = static_cast<int16_t>(n);
    Update(kBurst + 0.01 + n * kStep);
    for (int i = 0; i < kGunRounds; ++i) {
      const bool out = n > 2 * i;
      EXPECT_EQ(s_.Gun.RoundY[i] > 2.0, out) << "step " << n << " round " << i;
    }
  }
}

TEST_F(GunRoundsTest, RoundCoversAThirdOfItsPathWhileLeavingThenAWholeStep) {
  FlyingRound(3, 1, 10, 100, 4, 600, 8);
  s_.Loop.StepsSinceTrigger = 8;  // in flight (8 > 6), still leaving (8 <= 9)
  Update(kBurst + 0.2);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundVelZ[3], 8 - 9.8 / 40);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundX[3], 1 + 4.0 / 40 / 3);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundY[3], 10 + 600.0 / 40 / 3);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundZ[3], 100 + (8 - 9.8 / 40) / 40 / 3);

  s_.Loop.StepsSinceTrigger = 10;  // past 3 x 3: whole steps
  Update(kBurst + 0.25);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundY[3], 10 + 600.0 / 40 / 3 + 600.0 / 40);
}

TEST_F(GunRoundsTest, RoundBelowTheWaterSkipsOffIt) {
  FlyingRound(0, 0, 500, -0.1, 10, 100, -50);
  Update(kBurst + 0.5);
  const double vz = -0.8 * (-50 - 9.8 / 40);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundVelZ[0], vz);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundVelX[0], 8);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundVelY[0], 80);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundZ[0], -0.1 + vz / 40);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundY[0], 500 + 80.0 / 40);
}

TEST_F(GunRoundsTest, JetFiresOneGunBesideTheNose) {
  s_.Engine.EngineType = aircraft::EngineKind::Jet;
  outline_.FrontFuselageY(4, 0) = 3.0;
  s_.Body.Heading = 3.1415926535897932 / 2;  // east: body Y is world X
  Update(kBurst + 0.01);
  EXPECT_DOUBLE_EQ(s_.Gun.MuzzleSpeed, 1100);
  for (int i = 0; i < kGunRounds; ++i) {
    EXPECT_NEAR(s_.Gun.RoundX[i], 3.0, 1e-12);
    EXPECT_NEAR(s_.Gun.RoundY[i], 2.0, 1e-12);  // left of an east heading is north
    EXPECT_NEAR(s_.Gun.RoundVelX[i], 1100, 0.1);
  }
}

TEST_F(GunRoundsTest, RoundsAreProjectedOntoTheView) {
  FlyingRound(0, 0, 60 - 600.0 / 40, 100, 0, 600, 9.8 / 40);  // level after gravity
  Update(kBurst + 0.5);
  EXPECT_DOUBLE_EQ(s_.Gun.RoundY[0], 60);
  EXPECT_EQ(s_.Gun.RoundScreenX[0], 320);
  EXPECT_EQ(s_.Gun.RoundScreenY[0], 200);
  EXPECT_EQ(s_.Gun.RoundDistance[0], 60);
  // 10 m to the right at 100 m: atan(0.1) x 573 pixels.
  FlyingRound(1, 10, 100 - 600.0 / 40, 100, 0, 600, 9.8 / 40);
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.RoundScreenX[1], 320 + 57);
  EXPECT_EQ(s_.Gun.RoundDistance[1], 100);
}

TEST_F(GunRoundsTest, ActiveTwoSecondsAfterABurstOrFourAfterAHit) {
  const int32_t rc = 6;
  EXPECT_TRUE(GunRoundsActive(s_, rc, kBurst + 1.9));
  EXPECT_FALSE(GunRoundsActive(s_, rc, kBurst + 2.1));
  EXPECT_FALSE(GunRoundsActive(s_, 5, kBurst + 1.0));  // recording barely begun
  EXPECT_TRUE(GunRoundsActive(s_, rc, kBurst));  // the passes in the burst's own clock tick
  EXPECT_FALSE(GunRoundsActive(s_, rc, kBurst - 0.001));
  s_.Sound.LastHitTime = kBurst + 1.5;
  EXPECT_FALSE(GunRoundsActive(s_, rc, kBurst + 3));  // no hit flagged
  s_.Sound.HitFlag = 1;
  EXPECT_TRUE(GunRoundsActive(s_, rc, kBurst + 5.4));
  EXPECT_FALSE(GunRoundsActive(s_, rc, kBurst + 5.6));
  // Before the first burst nothing flies, however early the clock.
  FlightState fresh;
  EXPECT_FALSE(GunRoundsActive(fresh, rc, 0.5));

  // Outside the window the rounds keep their state.
  s_.Sound.HitFlag = 0;
  FlyingRound(2, 1, 2, 3, 4, 5, 6);
  Update(kBurst + 2.5);
  EXPECT_EQ(s_.Gun.RoundX[2], 1);
  EXPECT_EQ(s_.Gun.RoundVelZ[2], 6);
}

// A round at 600 m/s whose line passes `offset` m beside the companion,
// starting 140 m short of it: within the 150 m test range at once. The
// path's slight drop (gravity over one step) adds 0.057 m at the closest
// approach, so 6.99 m passes at 6.9902 m and 7.00 m at 7.0002 m.
TEST_F(GunRoundsTest, HitWithinSevenMetresOfTheLineOfFlight) {
  for (const double offset : {0.0, 5.0, 6.99, 7.0, 8.0}) {
    SetUp();
    s_.Gun = GunState{};
    s_.Sound.HitFlag = 0;
    PlaceCompanion(0, 200, 100);
    FlyingRound(0, offset, 60, 100, 0, 600, 0);
    Update(kBurst + 0.5);
    const bool hit = offset < 7;
    EXPECT_EQ(s_.Gun.HitCount, hit ? 1 : 0) << offset;
    EXPECT_EQ(s_.Sound.HitFlag, hit ? 1 : 0) << offset;
    if (hit) {
      EXPECT_EQ(s_.Gun.RoundVelY[0], 0);
      EXPECT_EQ(s_.Gun.RoundHitTime[0], kBurst + 0.5);
      EXPECT_EQ(s_.Sound.LastHitTime, kBurst + 0.5);
      EXPECT_EQ(s_.Sound.HitSoundTime, kBurst + 0.5);
    } else {
      EXPECT_EQ(s_.Gun.RoundVelY[0], 600);
    }
  }
}

TEST_F(GunRoundsTest, HitCountsOnceAtTheFirstStepInRange) {
  PlaceCompanion(0, 1000, 100);
  FlyingRound(0, 5, 500, 100, 0, 600, 0);
  int hitStep = 0;
  for (int step = 1; step <= 60 && hitStep == 0; ++step) {
    const double before = s_.Gun.RoundY[0];
    Update(kBurst + 0.5 + step * kStep);
    if (s_.Gun.HitCount == 1) {
      hitStep = step;
      EXPECT_LT(1000 - before, 150);  // the first step that starts in range
      EXPECT_GE(1000 - (before - 15), 150);
    }
  }
  ASSERT_GT(hitStep, 0);
  // Stopped at the hit; it falls but is not counted again.
  for (int step = 1; step <= 20; ++step) Update(kBurst + 1 + step * kStep);
  EXPECT_EQ(s_.Gun.HitCount, 1);
  EXPECT_LT(s_.Gun.RoundY[0], 1000);
}

TEST_F(GunRoundsTest, NoHitOnceTheCompanionIsBehindOrWithoutCompanion) {
  PlaceCompanion(0, 200, 100);
  FlyingRound(0, 0, 195, 100, 0, 600, 0);  // passes it during this step
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.HitCount, 0);
  FlyingRound(0, 0, 210, 100, 0, 600, 0);  // already past
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.HitCount, 0);
  // No companion: the rounds fly, nothing is tested.
  companion_->CompanionSampleCount = 0;
  FlyingRound(0, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.HitCount, 0);
  EXPECT_GT(s_.Gun.RoundY[0], 60);
  // Slow rounds do not count.
  companion_->CompanionSampleCount = 1000;
  FlyingRound(0, 0, 150, 100, 0, 55, 0);  // would pass within 7 m
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.HitCount, 0);
}

TEST_F(GunRoundsTest, HitSoundTimeAndLevelStandWhileAHitSoundPlays) {
  PlaceCompanion(0, 200, 100);
  FlyingRound(0, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.5);
  EXPECT_EQ(volumeCalls_, 1);

  s_.Sound.HitSoundPlaying = 1;
  FlyingRound(1, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.6);
  EXPECT_EQ(s_.Gun.HitCount, 2);
  EXPECT_EQ(s_.Gun.RoundVelY[1], 0);
  EXPECT_EQ(s_.Sound.LastHitTime, kBurst + 0.6);
  EXPECT_EQ(s_.Sound.HitSoundTime, kBurst + 0.5);
  EXPECT_EQ(volumeCalls_, 1);

  // Sound off: the time is kept, the level is not touched.
  s_.Sound.HitSoundPlaying = 0;
  soundOn_ = 0;
  FlyingRound(2, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.7);
  EXPECT_EQ(s_.Sound.HitSoundTime, kBurst + 0.7);
  EXPECT_EQ(volumeCalls_, 1);
}

TEST_F(GunRoundsTest, NeverMoreHitsThanRoundsFired) {
  PlaceCompanion(0, 200, 100);
  s_.Gun.HitCount = 10;
  FlyingRound(0, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.5);
  EXPECT_EQ(s_.Gun.HitCount, 10);
  EXPECT_EQ(s_.Sound.HitFlag, 1);
  EXPECT_EQ(s_.Gun.RoundVelY[0], 600);  // not stopped: it was no hit
  EXPECT_EQ(s_.Sound.LastHitTime, 0);
  EXPECT_EQ(volumeCalls_, 0);

  // The counter stays in its range whatever the fired count says.
  record_->LaunchMarkTenths = 1e9f;
  s_.Gun.HitCount = 32767;
  FlyingRound(1, 0, 60, 100, 0, 600, 0);
  Update(kBurst + 0.6);
  EXPECT_EQ(s_.Gun.HitCount, 32767);
}

TEST(CompanionPosition, FollowsTheRecordOnceLongerThanTenSamples) {
  auto c = std::make_unique<CompanionData>();
  for (int i = 0; i < CompanionData::kSampleCapacity; ++i) {
    c->Samples[static_cast<std::size_t>(i)].CompanionEast = i;
    c->Samples[static_cast<std::size_t>(i)].CompanionNorth = -i;
    c->Samples[static_cast<std::size_t>(i)].CompanionAltitude = i * 0.5;
  }
  c->CompanionSampleCount = 10;
  UpdateCompanionPosition(*c, 7);
  EXPECT_EQ(c->CompanionPositionEast, 0);
  c->CompanionSampleCount = 11;
  UpdateCompanionPosition(*c, 0);
  EXPECT_EQ(c->CompanionPositionEast, 0);
  UpdateCompanionPosition(*c, 7);
  EXPECT_EQ(c->CompanionPositionEast, 7);
  EXPECT_EQ(c->CompanionPositionNorth, -7);
  EXPECT_EQ(c->CompanionPositionHeight, 3.5);
  UpdateCompanionPosition(*c, 70000);  // past the table: its last row
  EXPECT_EQ(c->CompanionPositionEast, CompanionData::kSampleCapacity - 1);
}

}  // namespace
}  // namespace zarv::flight
