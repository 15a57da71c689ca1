#include "probe/probe_replay.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "aircraft/aircraft_file.h"
#include "flight/headless_flight.h"
#include "logbook/flight_log.h"
#include "model/polygon_list.h"
#include "model/rotation.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/bmp.h"
#include "replay/replay_player.h"
#include "view/scenery.h"

namespace zarv::replay {
namespace {

bool ParseNumber(const char* text, double& v) {
  const auto r = std::from_chars(text, text + std::strlen(text), v);
  return r.ec == std::errc() && *r.ptr == '\0';
}

// The cockpit view's own scene for this aircraft: the shore, the deck, its
// course and the prism, as the flight screen hands them to the replay.
ReplayScenery ProbeScenery(const flight::FlightState& s, const aircraft::AircraftData& a) {
  view::SceneGeometry scene;
  view::InitSceneGeometry(s.Masses.DryMass, a.LaunchSpeed, a.EngineCount, scene);
  return SceneryOf(scene, s.Ground);
}

// The wing tips' world positions, as the flight-log writer fills them.
void FillWingTips(flight::FlightRecord& r, const model::AirframeOutline& o) {
  const int32_t n = std::min<int32_t>(static_cast<int32_t>(r.RecordSampleCount) + 1,
                                      static_cast<int32_t>(r.Samples.size()));
  for (int32_t i = 0; i < n; ++i) records::ComputeTipTrail(r.Row(i), o);
}

}  // namespace

int ReplayCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 1) return 2;
  const std::string path = argv[0];
  double seconds = 0, frame = -1, size = 640;
  bool vortex = false, wire = false;
  // A camera of one's own: east, north and height index; none puts it where
  // the replay's opening does.
  double camera[3] = {0, 0, 0};
  bool placed = false;
  std::string picture, aircraftPath;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--vortex") {
      vortex = true;
    } else if (a == "--wireframe") {
      wire = true;
    } else if (a == "--seconds" && hasValue) {
      if (!ParseNumber(argv[++i], seconds) || !(seconds > 0)) return 2;
    } else if (a == "--frame" && hasValue) {
      if (!ParseNumber(argv[++i], frame) || !(frame >= 0)) return 2;
    } else if (a == "--size" && hasValue) {
      if (!ParseNumber(argv[++i], size) || (size != 640 && size != 800 && size != 1024)) return 2;
    } else if (a == "--out" && hasValue) {
      picture = argv[++i];
    } else if (a == "--camera" && hasValue) {
      // EAST,NORTH,HEIGHTINDEX
      const std::string v = argv[++i];
      std::size_t from = 0;
      for (int k = 0; k < 3; ++k) {
        const std::size_t comma = k < 2 ? v.find(',', from) : v.size();
        if (comma == std::string::npos || !ParseNumber(v.substr(from, comma - from).c_str(), camera[k])) return 2;
        from = comma + 1;
      }
      if (camera[2] != std::floor(camera[2]) || camera[2] < 0 || camera[2] > 13) return 2;
      placed = true;
    } else if (a == "--aircraft" && hasValue) {
      aircraftPath = argv[++i];
    } else {
      return 2;
    }
  }
  // A stored log is replayed with the aircraft that flew it, as the
  // program replays a log with the current aircraft.
  const bool log = path.size() > 4 && path.compare(path.size() - 4, 4, ".csv") == 0;
  if (log ? aircraftPath.empty() : !(seconds > 0)) return 2;
  if (frame < 0 || picture.empty()) return 2;
  if (!log) aircraftPath = path;

  aircraft::AircraftData aircraft;
  std::string error;
  if (!aircraft::LoadAircraftData(aircraftPath, aircraft, &error)) {
    err << "zarv-probe: " << aircraftPath << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  auto flight = std::make_unique<flight::HeadlessFlight>(aircraft);
  if (!flight->Accepted()) {
    err << "zarv-probe: " << flight->RefusalMessage() << '\n';
    return 1;
  }
  std::string end = "log";
  flight::FlightRecord& record = flight->Record;
  if (log) {
    const records::LogReadResult read = records::ReadFlightLog(
        path, records::LogReadInputs{aircraft.LaunchSpeed, static_cast<int>(aircraft.EngineCount)}, record,
        flight->Outline);
    if (!read.Opened) {
      err << "zarv-probe: " << path << ": cannot read\n";
      return 1;
    }
  } else {
    end = flight->Fly(seconds);
    record.RecordSampleCount = std::max(record.RecordCount, 0);
    FillWingTips(record, flight->Outline);
  }

  const double scale = size == 640 ? 1.0 : (size == 800 ? 1.25 : 1.6);
  const ReplayGeometry geometry = ReplayGeometry::ForScale(scale);
  model::Scene().Reset();
  model::Polygons().Reset();
  model::Projection().Reset();
  // A picture has no sound: the player's sound hooks stay empty by design,
  // and it skips them.
  ReplayPlayer player(record, flight->Outline, flight->State, ReplayAircraft::From(flight->Aircraft, flight->State),
                      ProbeScenery(flight->State, flight->Aircraft), geometry);
  player.State.VortexLines = vortex;
  player.State.WireframeBackground = wire ? 1 : 0;
  if (placed) {
    player.State.CameraX = camera[0];
    player.State.CameraY = camera[1];
    player.State.CameraHeightIndex = CInt(camera[2]);
  }
  const uint64_t t0 = 1000;
  player.Open(t0);
  Surface frameSurface(geometry.FrameWidth(), geometry.FrameHeight(), RGB(0, 0, 128));
  // The first frame works out the zoom the next ones draw with; seven fill
  // every readout.
  for (int k = 0; k < 7; ++k) {
    player.State.Position = frame;
    player.State.Speed = 0;
    player.DrawFrame(t0 + 1000 + 50 * static_cast<uint64_t>(k), frameSurface, nullptr);
  }
  if (!SaveBmp(frameSurface, picture)) {
    err << "zarv-probe: cannot write " << picture << '\n';
    return 1;
  }
  out << "samples " << player.Record.RecordSampleCount << " sample " << player.State.Sample << " end " << end
      << " zoom " << player.State.ViewZoom << " height " << model::Scene().ModelPosZ << " polygons "
      << player.PolygonsPainted << '\n';
  for (int i = 1; i <= 18; ++i) {
    if (!player.State.Labels[static_cast<std::size_t>(i)].empty()) out << "Label" << i << ' ' << player.State.Labels[static_cast<std::size_t>(i)] << '\n';
  }
  return 0;
}

}  // namespace zarv::replay
