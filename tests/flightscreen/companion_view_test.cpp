// A companion loaded from a log of a real aircraft draws as its shaded model
// in the cockpit view: the outline block and the part references the loader
// sets are what the polygon model needs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "flight/gun_rounds.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/flight_log_fixture.h"
#include "model/polygon_test_airframe.h"
#include "platform/ui/bmp.h"
#include "view/companion_draw.h"

namespace zarv::flightscreen {
namespace {

constexpr Color kSky = 0x00FF00;

// A jet flying east, banked 15 degrees, 40 m north of the eye at its height.
double LevelJetEast(int column, int /*row*/) {
  switch (column) {
    case 3: return 100;       // height
    case 26: return 90;       // heading
    case 27: return 15;       // bank
    case 32: return 20;       // east, less 20 when read
    case 33: return 18;       // north, plus 22 when read
    default: return 0;
  }
}

TEST(CompanionView, LoadedJetDrawsAsItsModel) {
  flight::HeadlessFlight jet(flight::testing::Powered(flight::testing::Engine::Jet));
  ASSERT_TRUE(jet.Accepted());
  testing::TestLog log;
  log.Powered = true;
  log.LastRow = 200;
  log.Outline = jet.Outline;
  log.Value = LevelJetEast;

  const zarv::ScratchFolder folder;
  ASSERT_TRUE(log.WriteTo(folder / "1Jet.csv"));
  auto record = std::make_unique<flight::FlightRecord>();
  auto companion = std::make_unique<flight::CompanionData>();
  auto scene = std::make_unique<model::ModelScene>();
  auto list = std::make_unique<model::PolygonList>();
  double taskStart = 0;
  LoadCompanionFlight(folder.path(), *record, *companion, scene->Reference, taskStart, {});
  ASSERT_EQ(companion->CompanionSampleCount, 200);

  flight::UpdateCompanionPosition(*companion, 5);
  EXPECT_EQ(companion->CompanionPositionEast, 0);
  EXPECT_EQ(companion->CompanionPositionNorth, 40);

  model::ProjectionRecords projection;
  model::testing::LookFrom(projection, 0, 0, 100, 0, 0, 1.6);
  view::CompanionDrawSettings settings;
  settings.RecordCount = 5;
  settings.LaunchSpeed = 150;
  settings.TailplaneArea = 5;
  settings.ViewCentreX = 512;
  settings.ViewCentreY = 384;
  settings.ScreenScale = 1.6;
  settings.Shading = model::testing::StandardShading();
  model::SceneryPrismSet noPrisms;
  noPrisms.LastPrismIndex = -1;
  view::CompanionReadout readout;
  Surface picture(1024, 768, kSky);
  view::DrawAircraftModel(*companion, settings, noPrisms, *scene, projection, *list, readout,
                          picture);
  if (const char* shot = std::getenv("ZARV_COMPANION_SHOT")) {
    EXPECT_TRUE(SaveBmp(picture, shot));
  }

  EXPECT_GT(list->PolyDrawnCount, 100);
  // Painted around the view centre, where the jet is, and nowhere near the
  // corners.
  int painted = 0, far = 0;
  for (int y = 0; y < 768; y += 4) {
    for (int x = 0; x < 1024; x += 4) {
      if (picture.Point(x, y) == kSky) continue;
      ++painted;
      if (std::abs(x - 512) > 300 || std::abs(y - 384) > 200) ++far;
    }
  }
  EXPECT_GT(painted, 500);
  EXPECT_EQ(far, 0);
  EXPECT_NE(picture.Point(512, 384), kSky);
}

}  // namespace
}  // namespace zarv::flightscreen
