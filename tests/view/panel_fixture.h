// A flight state, aircraft and panel pictures for the panel tests, with
// plain stand-in panel art written to a scratch program folder.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/ui/bmp.h"
#include "program_test.h"
#include "view/head_up_display.h"
#include "view/instrument_panel.h"

namespace zarv::view::testing {

inline constexpr Color kPanelGrey = 0x404040;

// Grey panel from (10, 20) to (530, 219) design px; the mask black there.
inline std::string WriteStandInArt(const std::string& programFolder, double S, int choice) {
  const std::filesystem::path folder = programFolder;
  std::filesystem::create_directories(folder / "Temp");
  const int w = CheckedRound<int>(540 * S), h = CheckedRound<int>(220 * S);
  Surface face(w, h, vbBlack), mask(w, h, vbWhite);
  face.Line(10 * S, 20 * S, 530 * S, 219 * S, kPanelGrey, LineBox::BF);
  mask.Line(10 * S, 20 * S, 530 * S, 219 * S, vbBlack, LineBox::BF);
  const std::string n = std::to_string(choice);
  // Art that could not be written leaves the panel black: its tests fail.
  static_cast<void>(SaveBmp(face, (folder / "Temp" / ("Panel" + n + ".bmp")).string()) &&
                    SaveBmp(mask, (folder / "Temp" / ("Mask" + n + ".bmp")).string()));
  return folder.string();
}

struct PanelFixture {
  zarv::ScratchFolder art;
  flight::FlightState s;
  aircraft::AircraftData a;
  flight::FlightOptions o;
  std::unique_ptr<PanelView> v = std::make_unique<PanelView>();
  std::unique_ptr<PanelSurfaces> p = std::make_unique<PanelSurfaces>();

  // A piston aircraft (M-14P like) on a flying start, at scale 1; the
  // flight screen's hooks do nothing.
  PanelFixture() {
    v->Screen.ReadDisplayOptions = v->Screen.RequestAircraftSwap = v->Screen.CloseReplay = [] {};
    a.LaunchSpeed = 60;
    a.EngineCount = 1;
    a.FuelCapacity = 200;
    a.FlapMax = 20;
    a.SurfacePressure = 1013;
    a.TailplaneArm = 4;
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.EngineRating = 261000;
    s.Engine.RatedRpm = 2800.0 / 60;
    s.Engine.GearRatio = 1.0;
    s.Engine.ManifoldPressureMax = 29;
    s.Engine.RatedFuelFlow = 0.02;
    s.Masses.FuelQuantity = 100;
    s.Body.Altitude = 500;
    s.Body.AirSpeed = 50;
    s.Body.GroundSpeed = 50;
    s.Loop.StepsPerSecond = 40;
    s.Masses.Mass = s.Masses.DryMass = 1000;
  }
  void Compose(double scale = 1.0, int choice = 0) {
    o.ScreenScale = scale;
    v->Screen.ScreenSizeChoice = static_cast<int16_t>(choice);
    v->Screen.ProgramFolder = WriteStandInArt(art.path(), scale, choice);
    ComposePanelFace(*p, v->Screen, s, a, scale);
    LoadPanelMask(*p, v->Screen, scale);
    DrawSpeedTape(p->SpeedTape, 1.0);
    MakeBallImage(p->Ball);
  }
  void Jet() {
    s.Engine.EngineType = aircraft::EngineKind::Jet;
    s.Engine.EngineRating = 60000;
    s.Engine.RatedRpm = 10000.0 / 60;
  }
  void Light() {
    a.LaunchSpeed = 5;
    a.EngineCount = 0;
    a.FuelCapacity = 0;
    s.Engine.EngineType = aircraft::EngineKind::Piston;
    s.Engine.EngineRating = 300;
  }
};

}  // namespace zarv::view::testing
