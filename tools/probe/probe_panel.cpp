#include "probe/probe_panel.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "aircraft/aircraft_file.h"
#include "flight/head_up.h"
#include "flight/headless_flight.h"
#include "platform/runtime/scratch_folder.h"
#include "platform/runtime/text.h"
#include "platform/ui/bmp.h"
#include "view/panel_picture.h"

namespace zarv::view {
namespace {

// Plain panel art for machines without the start-up art cache: a grey panel
// with black dial wells, and its mask.
void WriteStandInArt(const std::string& folder, int sizeChoice, double S) {
  const std::string temp = folder + "/Temp";
  std::filesystem::create_directories(temp);
  const std::string n = std::to_string(sizeChoice);
  const int w = CheckedRound<int>(540 * S), h = CheckedRound<int>(220 * S);
  Surface face(w, h, vbBlack), mask(w, h, vbWhite);
  face.SetFillStyle(vbFSSolid);
  mask.SetFillStyle(vbFSSolid);
  face.Line(10 * S, 20 * S, 530 * S, 219 * S, 0x404040, LineBox::BF);
  mask.Line(10 * S, 20 * S, 530 * S, 219 * S, vbBlack, LineBox::BF);
  face.SetFillColor(vbBlack);
  const double dials[6][2] = {{160, 100}, {380, 100}, {160, 200}, {260, 200}, {360, 200}, {460, 170}};
  for (const auto& d : dials) face.Circle(d[0] * S, d[1] * S, 44 * S, 0x808080);
  // Without them the panel is drawn on black: the picture still comes out.
  static_cast<void>(SaveBmp(face, temp + "/Panel" + n + ".bmp") && SaveBmp(mask, temp + "/Mask" + n + ".bmp"));
}

bool SetField(flight::FlightState& s, const std::string& name, double v) {
  if (name == "Throttle") s.Engine.Throttle = v;
  else if (name == "GearValue") s.Controls.GearValue = v;
  else if (name == "GearExtension") s.Ground.GearExtension = v;
  else if (name == "CasOn") s.Pilot.CasOn = CInt(v);
  else if (name == "BrakeOn") s.Pilot.BrakeOn = CInt(v);
  else if (name == "PitchHoldOn") s.Pilot.PitchHoldOn = CInt(v);
  else if (name == "FlapAngle") s.Controls.FlapAngle = v;
  else if (name == "FuelQuantity") s.Masses.FuelQuantity = v;
  else if (name == "Altitude") s.Body.Altitude = v;
  else if (name == "VelZ") s.Body.VelZ = v;
  else if (name == "AirSpeed") s.Body.AirSpeed = v;
  else if (name == "Heading") s.Body.Heading = v;
  else if (name == "BankAngle") s.Body.BankAngle = v;
  else if (name == "RudderCommand") s.Pilot.RudderCommand = v;
  else if (name == "ElevatorCommand") s.Controls.ElevatorCommand = v;
  else return false;
  return true;
}

}  // namespace

int PanelCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 1) return 2;
  const std::string path = argv[0];
  double seconds = 5;
  int width = 640;
  std::string picture;
  std::vector<std::pair<std::string, double>> sets;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return 2;
    const std::string value = argv[++i];
    if (arg == "--seconds") {
      seconds = Val(value);
    } else if (arg == "--size") {
      width = static_cast<int>(Val(value));
    } else if (arg == "--out") {
      picture = value;
    } else if (arg == "--set") {
      const auto eq = value.find('=');
      if (eq == std::string::npos) return 2;
      sets.emplace_back(value.substr(0, eq), Val(value.substr(eq + 1)));
    } else {
      return 2;
    }
  }
  if (picture.empty() || (width != 640 && width != 800 && width != 1024)) return 2;
  const int sizeChoice = width == 640 ? 0 : (width == 800 ? 1 : 2);
  const double S = sizeChoice == 0 ? 1.0 : (sizeChoice == 1 ? 1.25 : 1.6);

  aircraft::AircraftData aircraft;
  std::string error;
  if (!aircraft::LoadAircraftData(path, aircraft, &error)) {
    err << "zarv-probe: " << path << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  auto flight = std::make_unique<flight::HeadlessFlight>(aircraft);
  if (!flight->Accepted()) {
    err << "zarv-probe: " << flight->RefusalMessage() << '\n';
    return 1;
  }
  const std::string end = flight->Fly(seconds);
  flight::FlightState s = flight->State;
  for (const auto& [name, v] : sets) {
    if (!SetField(s, name, v)) {
      err << "zarv-probe: cannot set " << name << '\n';
      return 2;
    }
  }
  s.Body.ViewRollSin = std::sin(s.Body.BankAngle);
  s.Body.ViewRollCos = std::cos(s.Body.BankAngle);
  flight::FlightOptions options = flight->Options;
  options.ScreenScale = S;

  const char* art = std::getenv("ZARV_PANEL_ART");  // a program folder with Temp/ art
  std::string folder = art != nullptr ? art : "";
  const ScratchFolder scratch;  // the stand-in art's, removed at the end
  if (folder.empty()) {
    folder = scratch.path();
    WriteStandInArt(folder, sizeChoice, S);
  }
  auto view = std::make_unique<PanelView>();
  view->Screen.ProgramFolder = folder;
  view->Screen.ScreenSizeChoice = static_cast<int16_t>(sizeChoice);
  view->Screen.ShowPylonOrHangMeter = 1;
  view->Screen.Record = &flight->Record;
  // A picture has no flight screen whose options, aircraft or replay to look after.
  view->Screen.ReadDisplayOptions = view->Screen.RequestAircraftSwap = view->Screen.CloseReplay = [] {};
  view->Pages.Page1Visible = view->Pages.Page2Visible = view->Pages.Page3Visible = true;
  auto surfaces = std::make_unique<PanelSurfaces>();
  if (!PreparePanel(*view, *surfaces, s, flight->Aircraft, options)) {
    err << "zarv-probe: panel art missing in " << folder << "/Temp\n";
  }
  const int w = CheckedRound<int>(640 * S), h = CheckedRound<int>(500 * S);  // room for the whole panel
  Surface frame(w, h, 0xFFC080);
  view->Screen.PanelTop = PanelTopFor(h, flight->Aircraft, S);
  s.View.ViewCentreX = w / 2;
  s.View.ViewCentreY = CheckedRound<int32_t>(view->Screen.PanelTop - 50 * S);
  s.Pilot.PixelsPerRadian = 573 * S;
  frame.Line(0, s.View.ViewCentreY, w, h, 0x806020, LineBox::BF);  // a plain lake below the horizon
  options.ShowVelocityVector = 1;
  for (int i = 0; i < 2; ++i) flight::StepHeadUpDisplay(s, flight->Record, flight->Aircraft, options);
  DrawPanelAndHeadUpDisplay(*view, HudInputs{}, s, flight->Aircraft, options, *surfaces, frame, 1000.25);
  if (!SaveBmp(frame, picture)) {
    err << "zarv-probe: cannot write " << picture << '\n';
    return 1;
  }
  out << "end " << end << " time " << Format(s.Loop.FlightTime, "0.00") << " s\n";
  for (const auto& line : view->Pages.Page1) out << line << '\n';
  for (const auto& line : view->Pages.Page2) out << line << '\n';
  for (const auto& line : view->Pages.Page3) out << line << '\n';
  out << "hud " << view->HudHeadingText << " | " << view->HudSpeedText << " | " << view->HudAltitudeText << " | "
      << view->HudAlphaText << " | " << view->HudLoadText << '\n';
  return 0;
}

}  // namespace zarv::view
