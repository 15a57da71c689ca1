// Powered aircraft without an engine to run: a model the catalogue does not
// list (the editor offers one), or an engine count of 0. They fly from their
// launch height as gliders.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "flight/flight_loop.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"

namespace zarv::flight {
namespace {

TEST(EnginelessAircraft, FlyToTheWaterWithoutThrust) {
  aircraft::AircraftData unlistedJet = testing::DataAircraft("TestJet.brd");
  unlistedJet.EngineModel = "RB168-Mk202";
  aircraft::AircraftData unlistedRocket = testing::DataAircraft("TestRocket.brd");
  unlistedRocket.EngineModel = "XR-99";
  aircraft::AircraftData jetWithout = testing::DataAircraft("TestJet.brd");
  jetWithout.EngineCount = 0;
  aircraft::AircraftData pistonWithout = testing::DataAircraft("TestPiston.brd");  // its row divided 0 by 0
  pistonWithout.EngineCount = 0;
  for (const aircraft::AircraftData& a : {unlistedJet, unlistedRocket, jetWithout, pistonWithout}) {
    SCOPED_TRACE(a.EngineModel + " x " + std::to_string(a.EngineCount));
    auto f = std::make_unique<HeadlessFlight>(a);
    ASSERT_TRUE(f->Accepted()) << f->RefusalMessage();
    const FlightState& s = f->State;
    EXPECT_EQ(s.Engine.EngineRating, 0);
    bool supported = false;
    while (f->Step()) {
      ASSERT_TRUE(FlightStateIsFinite(s)) << "pass " << f->Passes;
      ASSERT_LT(s.Loop.FlightTime, 900);
      // Only the surface's small push while it carries the aircraft (at the
      // start, for a moment, on its gear).
      if (s.Loop.FlightTime < 2) supported = supported || s.Air.SupportAccel > 0;
      if (s.Air.SupportAccel > 0) {
        ASSERT_EQ(s.Engine.Thrust, s.Masses.Mass * 0.001) << "pass " << f->Passes;
      } else if (s.Body.Altitude > 0) {
        ASSERT_EQ(s.Engine.Thrust, 0) << "pass " << f->Passes;
      }
      ASSERT_EQ(s.Engine.GrossThrust, 0) << "pass " << f->Passes;
    }
    EXPECT_EQ(f->EndWord(), "water");
    EXPECT_GT(s.Body.Distance, 1000);  // a glide from the launch height
    EXPECT_TRUE(supported);  // the start on the gear was looked at
  }
}

}  // namespace
}  // namespace zarv::flight
