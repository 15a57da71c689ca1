// The companion and the gun in a running flight, through the flight loop's
// hooks: a jet's burst at a companion ahead of it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "flight/companion_record.h"
#include "flight/gun_rounds.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "flightscreen/companion_load.h"
#include "model/rotation.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/random.h"
#include "program_test.h"

namespace zarv::flightscreen {
namespace {

using flight::CompanionData;
using flight::testing::Engine;

class JetBurst : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Randomize(3);  // the rounds' scatter
    flight_ = std::make_unique<flight::HeadlessFlight>(flight::testing::Powered(Engine::Jet, 300));
    ASSERT_TRUE(flight_->Accepted());
    while (flight_->State.Loop.FlightTime < 3 && flight_->Step()) {
    }
    view_.ViewHeadingCos = view_.ViewDepressionCos = view_.ViewRollCos = 1;
    view_.PixelsPerRadian = 573;
    ConnectCompanionSeams(flight_->Seams, {&flight_->State, &flight_->Record, companion_.get(),
                                           &flight_->Outline, &view_, &soundOn_, [] {}});
  }

  // Parks the companion `range` m from the aircraft along the path its
  // rounds take (muzzle speed along the nose plus the aircraft's velocity).
  void ParkCompanionAhead(double range) {
    const flight::FlightState& s = flight_->State;
    const double h = s.Body.Heading, p = s.Body.PitchAngle;
    const double u[3] = {std::sin(h) * std::cos(p) * 1100 + s.Body.VelX,
                         std::cos(h) * std::cos(p) * 1100 + s.Body.VelY,
                         std::sin(p) * 1100 + s.Body.VelZ};
    const double len = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (flight::CompanionSample& k : companion_->Samples) {
      k.CompanionEast = s.Body.PosX + u[0] / len * range;
      k.CompanionNorth = s.Body.PosY + u[1] / len * range;
      k.CompanionAltitude = s.Body.Altitude + u[2] / len * range;
    }
    companion_->CompanionSampleCount = 1000;
  }

  void FireBurst() {
    flight_->State.Sound.TriggerTime = Timer();
    flight_->State.Loop.StepsSinceTrigger = 0;
    flight_->State.Gun.RoundsToLoad = flight::kAllRoundsToLoad;
    flight_->State.Sound.HitFlag = 0;
    flight_->Record.LaunchMarkTenths += 10;
  }

  void Fly(int passes) {
    for (int i = 0; i < passes; ++i) ASSERT_TRUE(flight_->Step());
  }

  std::unique_ptr<flight::HeadlessFlight> flight_;
  std::unique_ptr<CompanionData> companion_ = std::make_unique<CompanionData>();
  model::ViewSetup view_;
  int16_t soundOn_ = 0;
};

TEST_F(JetBurst, RoundsFlyAndHitACompanionAhead) {
  ParkCompanionAhead(400);
  FireBurst();
  Fly(60);  // 1.5 s: the rounds cross 400 m in about a third of a second
  const flight::FlightState& s = flight_->State;
  EXPECT_GE(s.Gun.HitCount, 1);
  EXPECT_LE(s.Gun.HitCount, 10);
  EXPECT_EQ(s.Sound.HitFlag, 1);
  // The companion was placed from its record every pass.
  EXPECT_EQ(companion_->CompanionPositionEast, companion_->Sample(flight_->Record.RecordCount - 1).CompanionEast);
}

TEST_F(JetBurst, RoundsMissACompanionOffTheLineOfFire) {
  ParkCompanionAhead(400);
  for (flight::CompanionSample& k : companion_->Samples) k.CompanionAltitude += 30;
  FireBurst();
  Fly(60);
  EXPECT_EQ(flight_->State.Gun.HitCount, 0);
  // All ten rounds left the gun and flew on past the companion's range.
  const flight::FlightState& s = flight_->State;
  for (int i = 0; i < flight::kGunRounds; ++i) {
    const double dx = s.Gun.RoundX[i] - s.Body.PosX, dy = s.Gun.RoundY[i] - s.Body.PosY;
    EXPECT_GT(std::sqrt(dx * dx + dy * dy), 500) << i;
  }
}

}  // namespace
}  // namespace zarv::flightscreen
