// Developer probe: loads an aircraft file, runs the flight screen's load-time
// set-up and prints what it derived.
//   zarv-probe setup FILE    the flight state and the aircraft record, "Name value"
//   zarv-probe outline FILE  the airframe outline after the set-up
//   zarv-probe chart FILE [--airfoil NAME]  the characteristic charts as CSV
//   zarv-probe fly FILE [--seconds T] [--log OUT.csv] [--keys SCRIPT] [--set Name=value ...]
//                            a headless flight (and its log)
//   zarv-probe log FILE.csv  a flight log as the program reads it, "Name value"
//   zarv-probe frame|panel|replay ...  pictures, drawn by zarv-probe-draw
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "flight/flight_load.h"
#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "platform/runtime/files.h"
#include "platform/runtime/process.h"
#include "probe/probe_chart.h"
#include "probe/probe_commands.h"
#include "probe/probe_fly.h"
#include "probe/probe_log.h"
#include "flight/state_listing.h"
#include "model/outline.h"
#include "model/outline_print.h"
#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"

namespace {

const zarv::probe::Command kCommands[] = {
    {"fly", zarv::flight::FlyCommand},
    {"log",
     [](int argc, char** argv, std::ostream& out, std::ostream& err) {
       return argc == 1 ? zarv::flight::LogCommand(argv[0], out, err) : 2;
     }},
    {"chart", zarv::flight::ChartCommand},
};

// The drawing commands live in zarv-probe-draw beside this program, which
// links the screens; this one links none of them, so that a batch of
// headless flights loads no Qt, SDL or OpenGL.
bool IsDrawingCommand(const char* name) {
  for (const char* drawing : {"frame", "panel", "replay"})
    if (std::strcmp(name, drawing) == 0) return true;
  return false;
}

int RunDrawingProbe(char** argv) {
  const std::string path = zarv::JoinPath(zarv::ProgramFolder(), "zarv-probe-draw");
  argv[0] = const_cast<char*>(path.c_str());
  execv(path.c_str(), argv);
  std::cerr << "zarv-probe: " << path << ": " << std::strerror(errno) << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  zarv::PrepareProcess();
  if (argc >= 2 && IsDrawingCommand(argv[1])) return RunDrawingProbe(argv);
  if (const int status = zarv::probe::RunCommand(kCommands, argc, argv); status >= 0) return status;
  if (argc != 3) return zarv::probe::Usage();
  const std::string mode = argv[1];
  if (mode != "setup" && mode != "outline") return zarv::probe::Usage();

  zarv::aircraft::AircraftData aircraft;
  std::string error;
  if (!zarv::aircraft::LoadAircraftData(argv[2], aircraft, &error)) {
    std::cerr << "zarv-probe: " << argv[2] << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  zarv::flight::FlightState state;
  zarv::model::AirframeOutline outline;
  zarv::flight::ModelEvaluation chart;
  const zarv::flight::FlightLoadResult result =
      zarv::flight::PrepareFlightScreenLoad(aircraft, state, outline, chart);
  if (!result.Accepted) {
    std::cerr << "zarv-probe: " << result.RefusalMessage << '\n';
    return 1;
  }
  for (const std::string& notice : result.Notices) std::cerr << "zarv-probe: " << notice << '\n';

  if (mode == "setup") {
    zarv::flight::ListFlightState(std::cout, state);
    zarv::flight::ListAircraftData(std::cout, aircraft);
    std::cout << "MaxLiftAngle " << zarv::flight::ListingNumber(chart.MaxLiftAngle) << '\n';
    std::cout << "LiftAtBestGlide " << zarv::flight::ListingNumber(chart.LiftAtBestGlide) << '\n';
    std::cout << "ReferenceSpeed " << zarv::flight::ListingNumber(chart.ReferenceSpeed) << '\n';
    std::cout << "TailAngleFactor " << zarv::flight::ListingNumber(chart.TailAngleFactor) << '\n';
  } else {
    zarv::model::PrintOutline(std::cout, outline);
  }
  return 0;
}
