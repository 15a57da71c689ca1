#include "probe/probe_fly.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "flight/headless_flight.h"
#include "flight/state_listing.h"
#include "probe/probe_log.h"
#include "aircraft/aircraft_file.h"
#include "platform/runtime/number_text.h"

namespace zarv::flight {
namespace {

std::string Fixed(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// One row, built whole and written at once: rows are most of a long flight's output.
void WriteRow(std::ostream& out, const FlightState& s) {
  const double values[] = {s.Loop.FlightTime, s.Body.PosX,      s.Body.PosY,       s.Body.Altitude,     s.Body.AirSpeed, s.Air.AngleOfAttack,
                           s.Body.PitchAngle, s.Body.BankAngle, s.Body.Heading,    s.Body.Distance,     s.Masses.FuelQuantity};
  char row[std::size(values) * (kNumberTextMax + 1)];
  char* p = row;
  for (double v : values) {
    p = AppendNumberText(p, v);
    *p++ = ',';
  }
  p[-1] = '\n';
  out.write(row, p - row);
}

}  // namespace

int RunFlyProbe(const std::string& path, double seconds, std::ostream& out, std::ostream& err,
                const std::string& logPath, const std::vector<ScriptedKey>* keys, const FieldSettings& sets) {
  aircraft::AircraftData aircraft;
  std::string error;
  if (!aircraft::LoadAircraftData(path, aircraft, &error)) {
    err << "zarv-probe: " << path << ": " << (error.empty() ? "cannot read" : error) << '\n';
    return 1;
  }
  for (const auto& [name, v] : sets) SetAircraftNumber(aircraft, name, v);
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
  // A pass starts by testing the state for NaN and infinity: once it has run,
  // the state it started from was finite. That one is reported when the
  // flight ends on a non-finite state.
  double lastDistance = flight->State.Body.Distance, lastTime = flight->State.Loop.FlightTime;
  for (;;) {
    // The recorder stores the state as the previous pass left it.
    if (flight->WillRecord()) WriteRow(out, flight->State);
    const double distance = flight->State.Body.Distance, time = flight->State.Loop.FlightTime;
    if (!flight->Step()) {
      end = flight->EndWord();
      break;
    }
    if (std::isfinite(distance) && std::isfinite(time)) {
      lastDistance = distance;
      lastTime = time;
    }
    if (flight->State.Loop.FlightTime >= limit - 1e-9) {  // the summed step drifts
      end = "limit";
      break;
    }
  }
  if (!flight->Message.empty()) err << "zarv-probe: " << flight->Message << '\n';
  const bool finite = end != "nonfinite";
  out << "result distance=" << Fixed(finite ? flight->State.Body.Distance : lastDistance)
      << " time=" << Fixed(finite ? flight->State.Loop.FlightTime : lastTime)
      << " steps=" << flight->Passes << " end=" << end << '\n';
  if (!logPath.empty()) return WriteProbeLog(*flight, logPath, err);
  return 0;
}

int FlyCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 1 || argc % 2 != 1) return 2;
  double seconds = 0;
  std::string logPath;
  std::optional<std::vector<ScriptedKey>> keys;
  FieldSettings sets;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) {
      const char* text = argv[i + 1];
      const auto parsed = std::from_chars(text, text + std::strlen(text), seconds);
      if (parsed.ec != std::errc() || *parsed.ptr != '\0' || !(seconds > 0)) return 2;
    } else if (std::strcmp(argv[i], "--log") == 0) {
      logPath = argv[i + 1];
    } else if (std::strcmp(argv[i], "--set") == 0) {
      // Checked on a record of its own: the file is read only once the
      // arguments are all known to be good.
      const char* text = argv[i + 1];
      const char* eq = std::strchr(text, '=');
      double v = 0;
      if (eq == nullptr) return 2;
      const auto parsed = std::from_chars(eq + 1, eq + std::strlen(eq), v);
      if (parsed.ec != std::errc() || *parsed.ptr != '\0' || !std::isfinite(v)) return 2;
      const std::string name(text, eq);
      aircraft::AircraftData probe;
      if (!SetAircraftNumber(probe, name, v)) {
        err << "zarv-probe: --set: unknown name " << name << '\n';
        return 2;
      }
      sets.emplace_back(name, v);
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
  return RunFlyProbe(argv[0], seconds, out, err, logPath, keys ? &*keys : nullptr, sets);
}

}  // namespace zarv::flight
