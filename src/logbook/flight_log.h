// The flight-log CSV file: the writer that turns the record of the flight
// just ended into the log, and the reader that fills a record from a stored
// log (for the charts, the replay and the companion). Plain C++: the progress
// dialog and event yielding come in through LongTaskHooks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/flight_record.h"
#include "model/outline.h"

namespace zarv::records {

// What a long task shows and does while it runs; empty hooks are skipped.
struct LongTaskHooks {
  std::function<void(const std::string&)> SetTitle;  // progress dialog title
  std::function<void(const std::string&)> SetText;   // progress text (redraws the bar, yields)
  std::function<void()> DoEvents;                    // once per row
  std::function<void()> Close;                       // unload the progress dialog
  // After the writer's row loop: carries out a request made in the dialog
  // (change the aircraft, quit).
  std::function<void()> AfterRows;
  // Monotonic seconds (defaults to the runtime's Timer()).
  std::function<double()> Seconds;
};

// The cancel and the rest watchdog set the height to -2000: a flight ended
// so, and each sample taken at or after that, lies below this height.
inline constexpr double kCancelledBelow = -1000;

// What the writer needs besides the record and the outline.
struct LogWriteInputs {
  std::string FlightSummary;  // line 1
  // Below kCancelledBelow: cancelled, the last two samples are dropped, and
  // every sample at the cancel mark before them.
  double Altitude = 0;
  double LaunchTime = 0;
  double LaunchSpeed = 0;     // above 10: the powered layout
  int EngineCount = 0;        // above 0: the engine trailer
  // The row with the latest sample, which the log ends with; below 0: row
  // RecordCount. Past it lie a row never filled (a flight that ended in the
  // water) or, once the recorder's ring has wrapped, samples a lap older.
  int32_t LatestRow = -1;
};

// The log text (UTF-8, CR LF line ends) of the record's rows 0..RecordCount
// (0..LatestRow when that is given).
// Changes the record as the program's writer does: RecordCount (cancelled:
// the last row written), Time shifted by the launch time, Bank brought into
// -180..180, the wing-tip trail points filled, LogRowCount set (0 after a
// cancel through the hooks).
std::string ComposeFlightLog(const LogWriteInputs& in, flight::FlightRecord& r,
                             const model::AirframeOutline& outline, const LongTaskHooks& hooks = {});

// The same as the file holds it (cp932).
std::string ComposeFlightLogFile(const LogWriteInputs& in, flight::FlightRecord& r,
                                 const model::AirframeOutline& outline, const LongTaskHooks& hooks = {});

// Composes the log and writes it (cp932) to path atomically. False when the
// file could not be written; an old file of that name is then left as it was.
[[nodiscard]] bool WriteFlightLog(const std::string& path, const LogWriteInputs& in, flight::FlightRecord& r,
                                  const model::AirframeOutline& outline, const LongTaskHooks& hooks = {});

// A log of the longest flight is some 15 MB: a file far larger is no log.
inline constexpr int64_t kMaxLogFileBytes = int64_t{64} << 20;

// Fields of a whole data row, each followed by a comma: a light aircraft's
// layout and a powered aircraft's.
inline constexpr int kLightLogFields = 28;
inline constexpr int kPoweredLogFields = 35;
// The fields a data row holds: the texts between its commas, not counting
// the empty text after the comma that ends a whole row. A row cut off by
// the end of its file holds fewer than its layout has, and is no sample.
int LogRowFields(std::string_view row);
// The fields a whole row of the log holds, by its column-name line.
int LogLayoutFields(std::string_view nameLine);

// How to read a log: the layout follows the current aircraft's class.
struct LogReadInputs {
  double LaunchSpeed = 0;  // above 10: the powered layout
  int EngineCount = 0;     // above 0: the engine trailer is read
};

struct LogReadResult {
  bool Opened = false;
  std::string FlightSummary;  // line 1
  int32_t RowsRead = 0;       // data rows found in the file
};

// Reads a stored log into r (rows, marks, RecordSampleCount, LogRowCount).
// The rows end where the file's rows end: at its end or at the first line
// without a comma (the trailer, the outline title); a last row cut off by
// the end of the file (fewer LogRowFields than the log's own column-name
// line has, LogLayoutFields) is no sample. LogRowCount and
// RecordSampleCount are the last row read, whatever the count line
// promised; rows past it keep what r held. A count larger than the record
// can hold is cut to the record's last row. Numbers are taken through
// LogValue. A file larger than kMaxLogFileBytes, no regular file, and a
// file whose second line holds no count (no log) are not read (Opened
// false, r untouched). The file is read a block at a time and only as far
// as the rows and the trailer go.
LogReadResult ReadFlightLog(const std::string& path, const LogReadInputs& in, flight::FlightRecord& r,
                            const model::AirframeOutline& outline, const LongTaskHooks& hooks = {});
// The same from the log's UTF-8 text.
LogReadResult ReadFlightLogText(const std::string& text, const LogReadInputs& in, flight::FlightRecord& r,
                                const model::AirframeOutline& outline, const LongTaskHooks& hooks = {});

// The fields of one data row as the reader takes them (heights and positions
// to 0.01 m); the powered layout's seven columns only when powered, the
// wing-tip trail points not at all.
void ReadLogRow(std::string_view row, bool powered, flight::FlightSample& x);

// Brings a bank angle into -180..180; exactly +-180 stays. Not finite: unchanged.
double NormaliseBank(double degrees);

// The world wing-tip trail points of sample i from its attitude, position
// and wing deflections.
void ComputeTipTrail(flight::FlightSample& x, const model::AirframeOutline& outline);

// Column names and units of a layout (UTF-8), in file order.
const std::vector<std::string>& LogColumnNames(bool powered);
const std::vector<std::string>& LogColumnUnits(bool powered);

inline constexpr const char* kCoordinateTitle = "機体各部の座標";
inline constexpr const char* kWriteProgressTitle = "飛行記録ﾌｧｲﾙを作成しています";

}  // namespace zarv::records
