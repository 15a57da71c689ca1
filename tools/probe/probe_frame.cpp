#include "probe/probe_frame.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "aircraft/aircraft_file.h"
#include "flight/flight_loop.h"
#include "flight/head_up.h"
#include "flight/headless_flight.h"
#include "platform/runtime/files.h"
#include "platform/runtime/scratch_folder.h"
#include "platform/ui/bmp.h"
#include "shell/sky_bands.h"
#include "view/cockpit_view.h"
#include "view/panel_picture.h"
#include "view/screen_art.h"

namespace zarv::view {

namespace {

using Setter = std::function<void(flight::FlightState&, double)>;

// The state values a frame can be posed with, by their listed names.
const std::map<std::string, Setter>& Setters() {
  using S = flight::FlightState;
  static const std::map<std::string, Setter> kSetters = {
      {"PitchAngle", [](S& s, double v) { s.Body.PitchAngle = v; }},
      {"BankAngle", [](S& s, double v) { s.Body.BankAngle = v; }},
      {"Heading", [](S& s, double v) { s.Body.Heading = v; }},
      {"TrackAngle", [](S& s, double v) { s.Body.TrackAngle = v; }},
      {"Altitude", [](S& s, double v) { s.Body.Altitude = v; }},
      {"PosX", [](S& s, double v) { s.Body.PosX = v; }},
      {"PosY", [](S& s, double v) { s.Body.PosY = v; }},
      {"Distance", [](S& s, double v) { s.Body.Distance = v; }},
      {"CourseDistance", [](S& s, double v) { s.Body.CourseDistance = v; }},
      {"GroundSpeed", [](S& s, double v) { s.Body.GroundSpeed = v; }},
      {"LowFlightDistance", [](S& s, double v) { s.Loads.LowFlightDistance = v; }},
      {"FlightTime", [](S& s, double v) { s.Loop.FlightTime = v; }},
      {"LaunchTime", [](S& s, double v) { s.Ground.LaunchTime = v; }},
      {"NormalLoad", [](S& s, double v) { s.Air.NormalLoad = v; }},
      {"DynamicPressure", [](S& s, double v) { s.Air.DynamicPressure = v; }},
      {"StallRatio", [](S& s, double v) { s.Wing.StallRatio = v; }},
      {"SupportAccel", [](S& s, double v) { s.Air.SupportAccel = v; }},
      {"SkinTemperature", [](S& s, double v) { s.Air.SkinTemperature = static_cast<int16_t>(v); }},
      {"SpeedMode", [](S& s, double v) { s.Loop.SpeedMode = static_cast<int16_t>(v); }},
      {"FrameRate", [](S& s, double v) { s.Loop.FrameRate = v; }},
  };
  return kSetters;
}

bool ParseNumber(const char* text, double& v) {
  const auto parsed = std::from_chars(text, text + std::strlen(text), v);
  return parsed.ec == std::errc() && *parsed.ptr == '\0' && std::isfinite(v);
}

bool Finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

int FrameCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 1) return 2;
  const std::string path = argv[0];
  double seconds = 0;
  int size = 640;
  std::string picture;
  std::vector<std::pair<std::string, double>> sets;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc) return 2;
    const std::string opt = argv[i];
    const char* value = argv[i + 1];
    if (opt == "--seconds") {
      if (!ParseNumber(value, seconds) || seconds < 0) return 2;
    } else if (opt == "--size") {
      double v = 0;
      if (!ParseNumber(value, v) || (v != 640 && v != 800 && v != 1024)) return 2;
      size = static_cast<int>(v);
    } else if (opt == "--set") {
      const char* eq = std::strchr(value, '=');
      double v = 0;
      if (eq == nullptr || !ParseNumber(eq + 1, v)) return 2;
      const std::string name(value, eq);
      if (Setters().count(name) == 0) {
        err << "zarv-probe: --set: unknown name " << name << '\n';
        return 2;
      }
      sets.emplace_back(name, v);
    } else if (opt == "--out") {
      picture = value;
    } else {
      return 2;
    }
  }
  if (picture.empty()) return 2;
  const double scale = size == 1024 ? 1.6 : (size == 800 ? 1.25 : 1.0);

  aircraft::AircraftData aircraft;
  std::string error;
  if (!aircraft::LoadAircraftData(path, aircraft, &error)) {
    err << "zarv-probe: " << path << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  flight::HeadlessFlight f(aircraft, 0.5, scale);
  if (!f.Accepted()) {
    err << "zarv-probe: " << f.RefusalMessage() << '\n';
    return 1;
  }
  // Without a time, one pass: the start of the run places the aircraft on
  // its deck (or in the air) with the distances worked out.
  if (seconds > 0) {
    f.Fly(seconds);
  } else {
    f.Step();
  }
  flight::FlightState& s = f.State;
  for (const auto& [name, v] : sets) Setters().at(name)(s, v);
  // What the display step derives from the pose.
  s.Body.PitchSin = std::sin(s.Body.PitchAngle);
  s.Body.PitchCos = std::cos(s.Body.PitchAngle);
  s.Body.ViewRollSin = std::sin(s.Body.BankAngle);
  s.Body.ViewRollCos = std::cos(s.Body.BankAngle);
  s.Body.HeadingSin = std::sin(s.Body.Heading);
  s.Body.HeadingCos = std::cos(s.Body.Heading);
  s.Air.HeadingValue = s.Body.Heading;
  flight::SetViewAndEye(s.Body, f.Aircraft, f.Outline, s.View);
  if (!flight::FlightStateIsFinite(s) ||
      !Finite({s.View.EyeX, s.View.EyeY, s.View.EyeZ, s.Body.PitchSin, s.Body.ViewRollSin, s.Body.Distance})) {
    err << "zarv-probe: the flight state is not finite\n";
    return 1;
  }

  shell::SkyBands bands;
  shell::BuildSkyBands(2000, scale, bands);
  const SkyTables sky = SkyTablesFrom(bands);

  CockpitView view;
  std::string folder = picture;
  const auto slash = folder.find_last_of('/');
  folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
  InitCockpitView(view, scale, 1.0, s, f.Aircraft, folder);
  FrameInputs in;
  in.Sky = &sky;
  in.ShowObjects = 1;
  in.ShowPylonOrHangMeter = 1;
  in.SurfaceColour = SurfaceColourOf(f.Aircraft);
  in.RecordCount = f.Record.RecordCount;
  Surface target(static_cast<int>(std::lround(640 * scale)), static_cast<int>(std::lround(480 * scale)),
                 vbBlack);

  // The panel and the head-up display over the view, from the cached art
  // drawn as the start-up draws it, in a folder of the probe's own.
  const ScratchFolder scratch;
  const std::string artFolder = scratch.path();
  std::filesystem::create_directories(artFolder + "/Temp");
  DrawCachedScreenArt(scale, artFolder + "/Temp", sky);
  flight::FlightOptions options = f.Options;
  options.ScreenScale = scale;
  auto panel = std::make_unique<PanelView>();
  panel->Screen.ProgramFolder = artFolder;
  panel->Screen.ScreenSizeChoice = static_cast<int16_t>(SizeChoiceOf(scale));
  panel->Screen.ShowPylonOrHangMeter = 1;
  panel->Screen.Record = &f.Record;
  // A picture has no flight screen whose options, aircraft or replay to look after.
  panel->Screen.ReadDisplayOptions = panel->Screen.RequestAircraftSwap = panel->Screen.CloseReplay = [] {};
  auto surfaces = std::make_unique<PanelSurfaces>();
  if (!PreparePanel(*panel, *surfaces, s, f.Aircraft, options)) {
    err << "zarv-probe: panel art missing in " << artFolder << "/Temp\n";
  }
  panel->Screen.PanelTop = PanelTopFor(target.Height(), f.Aircraft, scale);
  for (int phase = 0; phase < 4; ++phase) DrawInstrumentPanel(*panel, s, f.Aircraft, options, *surfaces);
  // The display with its marker, stepped twice as a drawn frame steps it.
  options.ShowVelocityVector = 1;
  for (int i = 0; i < 2; ++i) flight::StepHeadUpDisplay(s, f.Record, f.Aircraft, options);
  const HudInputs hud;
  view.Hooks.DrawPanelMeters = [&](Surface& picture) {
    DrawPanelMeters(*panel, s, f.Aircraft, options, *surfaces, picture, view.FrameToggle);
  };
  view.Hooks.DrawHeadUpDisplay = [&](Surface& picture) {
    DrawHeadUpDisplay(hud, *panel, s, f.Aircraft, options, picture, s.Loop.FlightTime);
  };
  DrawCockpitFrame(view, s, f.Aircraft, in, target);
  // Every real the frame worked with must have stayed a number.
  bool finite = Finite({view.ClipRatio1, view.ClipRatio2, view.ClipSlopeX, view.ClipOffsetX,
                        view.ClipSlopeZ, view.ClipOffsetZ, view.Deck.PlatformRefX,
                        view.Deck.PlatformRefY, view.ElapsedTime});
  for (std::size_t k = 0; k < view.PylonAzimuth.size(); ++k)
    finite = finite && Finite({view.PylonAzimuth[k], view.PylonWidth[k]});
  for (double r : view.ShotRadius) finite = finite && std::isfinite(r);
  if (!finite) {
    err << "zarv-probe: a frame value is not finite\n";
    return 1;
  }
  if (!SaveBmp(target, picture)) {
    err << "zarv-probe: cannot write " << picture << '\n';
    return 1;
  }
  out << "frame " << target.Width() << "x" << target.Height() << " t=" << s.Loop.FlightTime
      << " alt=" << s.Body.Altitude << " dist=" << s.Body.Distance << '\n';
  return 0;
}

}  // namespace zarv::view
