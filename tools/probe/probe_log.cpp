#include "probe/probe_log.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "flight/flight_loop.h"
#include "logbook/flight_log.h"
#include "logbook/post_flight.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::flight {
namespace {

// The lines at the given indices (the program's line ends, the text
// decoded), or nothing past the end. The file is read only as far as the
// last of them.
std::vector<std::optional<std::string>> LinesAt(const std::string& path, const std::vector<size_t>& at) {
  std::vector<std::optional<std::string>> found(at.size());
  const size_t last = at.empty() ? 0 : *std::max_element(at.begin(), at.end());
  TextLineReader in(path, records::kMaxLogFileBytes);
  for (size_t i = 0; i <= last && !in.AtEnd(); ++i) {
    const std::string_view line = in.Next();
    for (size_t k = 0; k < at.size(); ++k)
      if (at[k] == i) found[k] = FileLineToUtf8(line);
  }
  return found;
}

// The values of a sample in the log's column order (the time as the log has it).
std::vector<std::string> RowValues(const FlightSample& x, bool powered) {
  std::vector<double> v = {x.Time, x.DistanceFlown, x.Height, x.Airspeed, x.RecordedWindSpeed, x.Pitch,
                           x.PitchRateDeg, x.WingAngleOfAttack, x.SideslipAngle, x.PathAngleDeg, x.LoadFactor,
                           x.LiftCoefficient, x.TailplaneLift, x.TailplaneAngle, x.TailplaneControl, x.FinAngle};
  if (powered) {
    for (double p : {double(x.AileronDeg), double(x.FlapSetting), double(x.LeadingEdgeFlapAngle),
                     double(x.NozzleOpening), double(x.NozzleAngle), double(x.AfterburnerOpening),
                     double(x.AirframeTemperature)})
      v.push_back(p);
  }
  for (double p : {x.CentreOfGravityPct, x.PressureCentre, x.HeadingDeg, x.Bank, x.Track, x.InnerWingDeflection,
                   x.OuterWingDeflection, x.WingTipDeflection, x.East, x.North, x.WindNoiseVolume, double(x.Time)})
    v.push_back(p);
  std::vector<std::string> out;
  for (double p : v) out.push_back(Trim(Str(p)));
  out.front() = Trim(StrSingle(x.Time));  // single precision, as the record keeps it
  out.back() = out.front();
  return out;
}

}  // namespace

int WriteProbeLog(HeadlessFlight& flight, const std::string& path, std::ostream& err) {
  if (!FlightIsDown(flight.State)) {
    err << "zarv-probe: no log: the flight has not ended\n";
    return 1;
  }
  // As the flight screen: the end steps at once, then the post-flight
  // processing's texts and log (the date from the flight's own clock).
  records::EndFlightRecordSteps(flight.State, flight.Record, flight.Aircraft);
  const records::FlightResult result = records::PrepareFlightResult(flight.State, flight.Record, flight.Aircraft);
  if (!records::WritePostFlightLog(path, flight.State, flight.Record, flight.Aircraft, flight.Outline, result)) {
    err << "zarv-probe: " << path << ": cannot write\n";
    return 1;
  }
  if (flight.Record.LogRowCount <= 3) {
    DeleteFile(path);
    err << "zarv-probe: no log: the flight recorded " << flight.Record.LogRowCount + 1 << " samples or fewer\n";
    return 1;
  }
  return 0;
}

int LogCommand(const std::string& path, std::ostream& out, std::ostream& err) {
  if (!TextLineReader(path, records::kMaxLogFileBytes).Ok()) {
    err << "zarv-probe: " << path << ": cannot read\n";
    return 1;
  }
  // The program reads a log with the current aircraft's layout; here the
  // layout is taken from the log itself: its name line and whether an
  // engine trailer follows the rows.
  const std::optional<std::string> names = LinesAt(path, {2}).front();
  const bool powered = names && records::LogColumnNames(true).size() ==
                                    static_cast<size_t>(std::count(names->begin(), names->end(), ',') + 1);
  auto record = std::make_unique<FlightRecord>();
  const records::LogReadResult probe = records::ReadFlightLog(path, {powered ? 60.0 : 1.0, 0}, *record, {});
  if (!probe.Opened) {
    err << "zarv-probe: " << path << ": no flight log (no row count on line 2)\n";
    return 1;
  }
  const size_t rowsFrom = probe.RowsRead > 0 ? 4 : 2;
  const size_t last = probe.RowsRead > 0 ? rowsFrom + static_cast<size_t>(probe.RowsRead) - 1 : 0;
  const std::vector<std::optional<std::string>> around = LinesAt(path, {last, rowsFrom + static_cast<size_t>(probe.RowsRead)});
  const int engines = around[1] && *around[1] != records::kCoordinateTitle ? 1 : 0;
  record = std::make_unique<FlightRecord>();
  const records::LogReadResult read = records::ReadFlightLog(path, {powered ? 60.0 : 1.0, engines}, *record, {});

  const std::string& s = read.FlightSummary;
  out << "Summary " << s << '\n';
  out << "Distance " << Trim(Str(Val(s))) << '\n';
  // The summary's fields: distance "m by " name " " heading "Deg  wind" wind
  // "m/s  " time "sec " date and time.
  const size_t by = s.find("m by ");
  const size_t deg = s.rfind("Deg  wind");
  const size_t ms = s.find("m/s  ", deg == std::string::npos ? 0 : deg);
  const size_t sec = s.find("sec ", ms == std::string::npos ? 0 : ms);
  if (by != std::string::npos && deg != std::string::npos && deg > by && ms != std::string::npos &&
      sec != std::string::npos) {
    const std::string middle = s.substr(by + 5, deg - by - 5);
    size_t h = middle.size();
    while (h > 0 && ((middle[h - 1] >= '0' && middle[h - 1] <= '9') || middle[h - 1] == '-')) --h;
    out << "AircraftName " << RTrim(middle.substr(0, h)) << '\n';
    out << "Heading " << middle.substr(h) << '\n';
    out << "Wind " << s.substr(deg + 9, ms - deg - 9) << '\n';
    out << "Time " << Trim(s.substr(ms + 5, sec - ms - 5)) << '\n';
    out << "DateTime " << s.substr(sec + 4) << '\n';
  }
  out << "Layout " << (powered ? "powered" : "light") << '\n';
  out << "RowCount " << read.RowsRead << '\n';
  out << "LogRowCount " << record->LogRowCount << '\n';
  if (engines) {
    out << "LaunchMarkTenths " << Trim(StrSingle(record->LaunchMarkTenths)) << '\n';
    out << "SoundStartCount " << record->SoundStartCount << '\n';
  }
  if (read.RowsRead > 0 && around[0]) {
    const std::vector<std::string>& columns = records::LogColumnNames(powered);
    // The reader clears the last row's main columns (as the program does); the
    // last row is printed as the file holds it, read the same way.
    FlightSample lastRow;
    records::ReadLogRow(*around[0], powered, lastRow);
    const std::vector<std::string> first = RowValues(record->Samples[0], powered);
    const std::vector<std::string> final = RowValues(lastRow, powered);
    for (size_t k = 0; k + 1 < columns.size(); ++k) out << "first." << columns[k] << ' ' << first[k] << '\n';
    for (size_t k = 0; k + 1 < columns.size(); ++k) out << "last." << columns[k] << ' ' << final[k] << '\n';
  }
  return 0;
}

}  // namespace zarv::flight
