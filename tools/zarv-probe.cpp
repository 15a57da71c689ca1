// Developer probe: loads an aircraft file, runs the flight screen's load-time
// set-up and prints what it derived.
//   zarv-probe setup FILE    the flight state and the aircraft record, "Name value"
//   zarv-probe outline FILE  the airframe outline after the set-up
//   zarv-probe chart FILE [--airfoil NAME]  the characteristic charts as CSV
//   zarv-probe frame FILE ... --out X.bmp  one cockpit-view frame as a bitmap
//   zarv-probe fly FILE [--seconds T] [--log OUT.csv]  a headless flight (and its log)
//   zarv-probe log FILE.csv  a flight log as the program reads it, "Name value"
#include <cstring>
#include <iostream>
#include <string>

#include "flight/flight_load.h"
#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "probe/probe_chart.h"
#include "probe/probe_fly.h"
#include "probe/probe_panel.h"
#include "probe/probe_frame.h"
#include "probe/probe_log.h"
#include "probe/probe_replay.h"
#include "flight/state_listing.h"
#include "model/outline.h"
#include "model/outline_print.h"
#include "aircraft/aircraft_data.h"
#include "aircraft/aircraft_file.h"

namespace {

using CommandFunction = int (*)(int argc, char** argv, std::ostream& out, std::ostream& err);

// The commands that parse their own arguments ("fly FILE ..."); each returns
// 2 on a usage error.
struct Command {
  const char* Name;
  CommandFunction Run;
  const char* Usage;
};

const Command kCommands[] = {
    {"fly", zarv::flight::FlyCommand, "fly FILE [--seconds T] [--log OUT.csv] [--keys SCRIPT]"},
    {"log",
     [](int argc, char** argv, std::ostream& out, std::ostream& err) {
       return argc == 1 ? zarv::flight::LogCommand(argv[0], out, err) : 2;
     },
     "log FILE.csv"},
    {"chart", zarv::flight::ChartCommand, "chart FILE [--airfoil NAME]"},
    {"panel", zarv::view::PanelCommand,
     "panel FILE [--seconds T] [--size 640|800|1024] [--set Name=value ...] --out PICTURE.bmp"},
    {"replay", zarv::replay::ReplayCommand,
     "replay FILE.brd|LOG.csv [--seconds T] --frame N [--size 640|800|1024] [--vortex] [--wireframe] --out PICTURE.bmp"},
    {"frame", zarv::view::FrameCommand,
     "frame FILE [--seconds T] [--size 640|800|1024] [--set Name=value ...] --out PICTURE.bmp"},
};

int Usage() {
  std::cerr << "usage: zarv-probe setup FILE\n       zarv-probe outline FILE\n";
  for (const Command& c : kCommands) std::cerr << "       zarv-probe " << c.Usage << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  for (const Command& c : kCommands) {
    if (argc >= 3 && std::strcmp(argv[1], c.Name) == 0) {
      const int status = c.Run(argc - 2, argv + 2, std::cout, std::cerr);
      return status == 2 ? Usage() : status;
    }
  }
  if (argc != 3) return Usage();
  const std::string mode = argv[1];
  if (mode != "setup" && mode != "outline") return Usage();

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
