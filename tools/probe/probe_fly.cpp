#include "probe/probe_fly.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "flight/headless_flight.h"
#include "aircraft/aircraft_file.h"

namespace zarv::flight {
namespace {

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string Fixed(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

void WriteRow(std::ostream& out, const FlightState& s) {
  out << Number(s.FlightTime) << ',' << Number(s.PosX) << ',' << Number(s.PosY) << ',' << Number(s.Altitude) << ','
      << Number(s.AirSpeed) << ',' << Number(s.AngleOfAttack) << ',' << Number(s.PitchAngle) << ','
      << Number(s.BankAngle) << ',' << Number(s.Heading) << ',' << Number(s.Distance) << ','
      << Number(s.FuelQuantity) << '\n';
}

}  // namespace

int RunFlyProbe(const std::string& path, double seconds, std::ostream& out, std::ostream& err,
                const std::vector<ScriptedKey>* keys) {
  aircraft::AircraftData aircraft;
  std::string error;
  if (!aircraft::LoadAircraftData(path, aircraft, &error)) {
    err << "zarv-probe: " << path << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  auto flight = keys ? std::make_unique<HeadlessFlight>(aircraft, *keys) : std::make_unique<HeadlessFlight>(aircraft);
  if (!flight->Accepted()) {
    err << "zarv-probe: " << flight->RefusalMessage() << '\n';
    return 1;
  }
  out << "time,PosX,PosY,Altitude,AirSpeed,AngleOfAttack,PitchAngle,BankAngle,Heading,Distance,FuelQuantity\n";
  // A powered aircraft left idling on the lake never ends by itself; without
  // a limit of its own the probe still stops, after a day of simulated time.
  constexpr double kDefaultLimit = 86400;
  const double limit = seconds > 0 ? seconds : kDefaultLimit;
  std::string end;
  for (;;) {
    // The recorder stores the state as the previous pass left it.
    if (flight->WillRecord()) WriteRow(out, flight->State);
    if (!flight->Step()) {
      end = flight->EndWord();
      break;
    }
    if (flight->State.FlightTime >= limit - 1e-9) {  // the summed step drifts
      end = "limit";
      break;
    }
  }
  if (!flight->Message.empty()) err << "zarv-probe: " << flight->Message << '\n';
  out << "result distance=" << Fixed(flight->State.Distance) << " time=" << Fixed(flight->State.FlightTime)
      << " steps=" << flight->Passes << " end=" << end << '\n';
  return 0;
}

int FlyCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 1 || argc % 2 != 1) return 2;
  double seconds = 0;
  std::optional<std::vector<ScriptedKey>> keys;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) {
      const char* text = argv[i + 1];
      const auto parsed = std::from_chars(text, text + std::strlen(text), seconds);
      if (parsed.ec != std::errc() || *parsed.ptr != '\0' || !(seconds > 0)) return 2;
    } else if (std::strcmp(argv[i], "--keys") == 0) {
      std::string error;
      keys = ParseKeyScript(argv[i + 1], &error);
      if (!keys) {
        err << "zarv-probe: --keys: " << error << '\n';
        return 2;
      }
    } else {
      return 2;
    }
  }
  return RunFlyProbe(argv[0], seconds, out, err, keys ? &*keys : nullptr);
}

}  // namespace zarv::flight
