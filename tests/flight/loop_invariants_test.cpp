#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "flight/flight_loop.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/rotation_dynamics.h"
#include "flight/loop_fixture.h"

namespace zarv::flight {
namespace {

using testing::Engine;

// What must hold after every pass of a flight.
struct StepChecker {
  explicit StepChecker(const HeadlessFlight& f) : f_(f), before_(f.State) {}

  void Check() {
    const FlightState& s = f_.State;
    const aircraft::AircraftData& a = f_.Aircraft;
    ASSERT_TRUE(FlightStateIsFinite(s)) << Where();
    for (double v : {s.Air.NormalLoad, s.Air.DynamicPressure, s.Wing.WingLift, s.Wing.WingDrag, s.Tail.DragArea, s.Tail.TotalLiftArea,
                     s.Tail.TotalSideArea, s.Masses.CgX, s.Masses.PitchInertia, s.Masses.RollInertia, s.Masses.YawInertia, s.Loads.LiftAccel, s.Loads.SideAccel,
                     s.Air.WindAtAltitude, s.Air.AirDensity, s.Air.MachSquared, s.Loads.WingBend, s.Controls.RearFuselageBend,
                     s.Controls.InnerDihedralLoaded, s.Controls.TipDihedralLoaded, s.Air.SupportAccel, s.Controls.ElevatorInput, s.Controls.TailplaneCommand, s.Controls.TrimTailAngle, s.Controls.TrimAngleOfAttack,
                     s.Body.TopVector[0], s.Body.TopVector[1], s.Body.TopVector[2], s.Air.AoaText}) {
      ASSERT_TRUE(std::isfinite(v)) << Where();
    }
    for (const WingPanel& p : s.Wing.Panels) {
      ASSERT_TRUE(std::isfinite(p.PanelLiftCoeff) && std::isfinite(p.PanelDragCoeff)) << Where();
    }
    EXPECT_LE(std::fabs(s.Body.RollRate), kRollRateLimit) << Where();
    EXPECT_LE(std::fabs(s.Body.PitchRate), kPitchRateLimit) << Where();
    EXPECT_LE(std::fabs(s.Body.YawRate), kYawRateLimit) << Where();
    const auto& n = s.Body.NoseVector;
    EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-9) << Where();
    EXPECT_GE(s.Body.Heading, 0) << Where();
    EXPECT_LE(s.Body.Heading, 6.2831852 + 1e-9) << Where();
    EXPECT_GT(s.Body.PitchAngle, -3.1415927) << Where();
    EXPECT_LE(s.Body.PitchAngle, 3.1415927) << Where();

    // Surfaces move at their rates and stay within their limits.
    const double n40 = s.Loop.StepsPerSecond;
    const double eps = 1e-12;
    EXPECT_LE(std::fabs(s.Controls.ElevatorAngle - before_.Controls.ElevatorAngle), a.SurfaceRate / 57.3 / n40 + eps) << Where();
    EXPECT_LE(std::fabs(s.Controls.RudderAngle - before_.Controls.RudderAngle), a.SurfaceRate / 57.3 / n40 + eps) << Where();
    EXPECT_LE(std::fabs(s.Controls.AileronAngle - before_.Controls.AileronAngle), a.SurfaceRate / 30 / n40 + eps) << Where();
    EXPECT_LE(std::fabs(s.Controls.FlapAngle - before_.Controls.FlapAngle), 0.15 / std::pow(a.WingArea, 0.3) / n40 + eps) << Where();
    EXPECT_LE(s.Controls.TailplaneCommand, 0.4) << Where();
    EXPECT_LE(std::fabs(s.Controls.RudderAngle), 0.1745 + eps) << Where();
    EXPECT_LE(std::fabs(s.Controls.AileronAngle), 0.8 + eps) << Where();
    EXPECT_LE(std::fabs(s.Controls.NozzlePitch), 0.25) << Where();
    EXPECT_GE(s.Controls.FlapAngle, 0) << Where();
    EXPECT_LE(s.Controls.FlapAngle, a.FlapMax + eps) << Where();
    EXPECT_GE(s.Masses.FuelQuantity, 0) << Where();
    EXPECT_GE(s.Masses.TrimCentre, s.Masses.TrimMin - eps) << Where();
    EXPECT_LE(s.Masses.TrimCentre, s.Masses.TrimMax + eps) << Where();
    before_ = s;
  }

  std::string Where() const { return f_.Aircraft.AircraftName + " pass " + std::to_string(f_.Passes); }

  const HeadlessFlight& f_;
  FlightState before_;
};

void FlyChecked(const aircraft::AircraftData& aircraft, double limit, const std::string& wantEnd) {
  auto f = std::make_unique<HeadlessFlight>(aircraft);
  ASSERT_TRUE(f->Accepted()) << f->RefusalMessage();
  StepChecker check(*f);
  std::string end;
  while (f->Step()) {
    check.Check();
    if (::testing::Test::HasFatalFailure() || ::testing::Test::HasFailure()) return;
    if (f->State.Loop.FlightTime >= limit) {
      end = "limit";
      break;
    }
  }
  if (end.empty()) end = f->EndWord();
  EXPECT_EQ(end, wantEnd) << aircraft.AircraftName << " at " << f->State.Loop.FlightTime << " s, "
                          << f->State.Body.Distance << " m";
  // A flight that reached the water ended at rest in it (or touched down
  // with a flying start), and went past the platform edge.
  if (end == "water") {
    EXPECT_LT(f->State.Body.Altitude, 0);
    EXPECT_GT(f->State.Body.Distance, 0);
    if (aircraft::LaunchAtMost10(aircraft.LaunchSpeed)) {
      EXPECT_LT(f->State.Body.GroundSpeed, f->State.Loop.StopSpeed);
    }
  }
}

TEST(FlightLoopInvariants, EverySampleAircraftFliesToTheWater) {
  for (const std::string& name : testing::SampleNames()) {
    SCOPED_TRACE(name);
    FlyChecked(testing::Sample(name), 900, "water");
  }
}

TEST(FlightLoopInvariants, PoweredAircraftFlyWithoutInput) {
  FlyChecked(testing::Powered(Engine::Piston), 900, "water");
  FlyChecked(testing::Powered(Engine::Jet), 900, "water");
  FlyChecked(testing::Powered(Engine::Rocket), 900, "water");
}

TEST(FlightLoopInvariants, SlowSpinsFromHeightEndInTheWater) {
  // Launched from 300 m and pitched hard, these fall into a slow flat spin
  // whose spinning wing sees far more dynamic pressure than the airspeed
  // gives: the low-speed lift must not turn over and fling them off.
  const struct {
    const char* Name;
    const char* Keys;
  } spins[] = {{"Marden98", "0.5:Return,3:Up,3.1:Up"}, {"MardenⅢ", "0.5:Return,3+0.5:Down"}};
  for (const auto& spin : spins) {
    SCOPED_TRACE(spin.Name);
    std::vector<std::string> lines = testing::SampleLines(spin.Name);
    testing::SetField(lines, 30, "300");
    auto f = std::make_unique<HeadlessFlight>(testing::FromLines(lines), *ParseKeyScript(spin.Keys));
    StepChecker check(*f);
    double fastest = 0;  // until the first touch of the water
    bool touched = false;
    while (f->Step()) {
      check.Check();
      if (::testing::Test::HasFailure()) return;
      touched = touched || f->State.Body.Altitude < 0;
      if (!touched) fastest = std::max(fastest, f->State.Body.AirSpeed);
      ASSERT_LT(f->State.Loop.FlightTime, 900);
    }
    EXPECT_EQ(f->EndWord(), "water");
    EXPECT_LT(fastest, 77);  // a free fall from 300 m
    // Recovered over the deck's footprint, far under the deck, they glide on
    // from what height is left: no farther than such a glide.
    EXPECT_LT(f->State.Body.Distance, 4000);
  }
}

}  // namespace
}  // namespace zarv::flight
