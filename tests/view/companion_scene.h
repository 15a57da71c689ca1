// The companion, the scenery prisms and the view of one cockpit-view frame,
// around the hand-made test airframe.
#pragma once

#include <memory>

#include "model/polygon_test_airframe.h"
#include "view/companion_draw.h"

namespace zarv::view::testing {

using namespace zarv::model;
using namespace zarv::model::testing;

// Everything one cockpit-view frame works on, on the heap (the records are
// large).
struct CompanionScene {
  std::unique_ptr<flight::CompanionData> Companion =
      std::make_unique<flight::CompanionData>();
  std::unique_ptr<ModelScene> Scene = std::make_unique<ModelScene>();
  std::unique_ptr<PolygonList> List = std::make_unique<PolygonList>();
  ProjectionRecords Projection;
  SceneryPrismSet Prisms = MakeTestPrisms();
  CompanionDrawSettings Settings;
  CompanionReadout Readout;

  // A 1024 x 768 view (scale 1.6); the companion, with 1000 samples, at
  // (east, north, height) with the given attitude in degrees, and the eye
  // at (0, 0, eyeHeight) looking along viewHeading / viewDepression.
  CompanionScene(double east, double north, double height, double headingDeg, double pitchDeg,
                 double bankDeg, double eyeHeight, double viewHeading = 0,
                 double viewDepression = 0) {
    Companion->Outline = MakeTestAirframe();
    Companion->CompanionSampleCount = 1000;
    Companion->CompanionPositionEast = east;
    Companion->CompanionPositionNorth = north;
    Companion->CompanionPositionHeight = height;
    for (int i = 0; i <= 20; ++i) {
      auto& s = Companion->Samples[static_cast<std::size_t>(i)];
      s.CompanionHeading = headingDeg;
      s.CompanionPitch = pitchDeg;
      s.CompanionBank = bankDeg;
      s.CompanionNozzle = 100;
    }
    Scene->Reference = PartReferenceFromPivots(Companion->Outline.Pivots.Points);
    LookFrom(Projection, 0, 0, eyeHeight, viewHeading, viewDepression, 1.6);
    Settings.RecordCount = 5;
    Settings.LaunchSpeed = 8;
    Settings.TailplaneArea = 1.0;
    Settings.ViewCentreX = 512;
    Settings.ViewCentreY = 384;
    Settings.ScreenScale = 1.6;
    Settings.ViewHeading = viewHeading;
    Settings.ViewDepression = viewDepression;
    Settings.Shading = StandardShading();
  }

  void Draw(Surface& picture) {
    DrawAircraftModel(*Companion, Settings, Prisms, *Scene, Projection, *List, Readout, picture);
  }

  // Screen point of a body-frame point of the companion as drawn now.
  PointI ScreenOf(double x, double y, double z) {
    ViewPoint v;
    const ScreenMapping m{DrawMode::Flight, Settings.ViewCentreX, Settings.ViewCentreY,
                          Settings.ScreenScale};
    PlaceOutlinePoint(Projection, m, Companion->CompanionPositionEast,
                      Companion->CompanionPositionNorth, Companion->CompanionPositionHeight, x, y,
                      z, v);
    return {v.ScreenX, v.ScreenY};
  }
};

}  // namespace zarv::view::testing
