// The end of a flight as the flight screen drives it: the record's end
// steps (at once, when the loop has ended), then, from the post-flight
// timer, the result texts, the flight log, the ranking check, the offer of
// the ranking place and the filing of the log. The screen-side parts (menus,
// progress dialog, the name-entry panel, messages) come in as callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "logbook/flight_log.h"
#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "model/outline.h"

namespace zarv::records {

// The result texts of a flight.
struct FlightResult {
  std::string FlightDateTime;   // "mm-dd-yyyy   hh:mm:ss"
  std::string FlightSummary;    // line 1 of the log
  std::string RecordEntryText;  // a ranking line without the name
};

// dateTime as FlightDateTime; flightTime already lowered for a cancelled flight.
FlightResult ComposeFlightResult(double distance, const std::string& aircraftName, double launchHeading,
                                 double windSpeed, double flightTime, double launchTime,
                                 const std::string& dateTime);

// The date and time of now as results carry them.
std::string FlightDateTimeNow();

// The record's part of EndFlight: StepCounter 0, RecordSampleCount,
// the launch heading into sample 1, time 0 into sample 0 for a high start.
void EndFlightRecordSteps(flight::FlightState& s, flight::FlightRecord& r, const aircraft::AircraftData& a);
// Milliseconds until the post-flight timer fires: 720 when the end sound
// plays (sound on, a real touch-down, an aircraft with engines), else 100.
int PostFlightDelayMs(bool soundOn, double altitude, int engineCount);
// True when EndFlight starts the end sound.
bool PlaysEndSound(bool soundOn, double altitude, int engineCount);

// The first steps of the post-flight processing: a cancelled flight's time
// lowered by 0.1 s, the result texts (dateTime empty: now), RecordCount back
// to the count of samples.
FlightResult PrepareFlightResult(flight::FlightState& s, flight::FlightRecord& r, const aircraft::AircraftData& a,
                                 const std::string& dateTime = {});
// Writes the flight's log to path (the working copy) as the processing does.
[[nodiscard]] bool WritePostFlightLog(const std::string& path, const flight::FlightState& s, flight::FlightRecord& r,
                                      const aircraft::AircraftData& a, const model::AirframeOutline& outline,
                                      const FlightResult& result, const LongTaskHooks& hooks = {});

// What the post-flight processing works on.
struct PostFlightInputs {
  flight::FlightState& State;
  flight::FlightRecord& Record;
  const aircraft::AircraftData& Aircraft;
  const model::AirframeOutline& Outline;
  RankingState& Ranking;
  std::string LogSuffix;      // LogSuffixFor(the aircraft file's name)
  std::string WorkingCopy;    // Temp/before.csv below the program folder
  std::string FlightDataDir;  // FlightData below the program folder
  std::string DateTime;       // empty: now
  // How long the log waits for another copy of the program filing its own.
  double WorkingCopyWait = kWorkingCopyWaitSeconds;
};

// The screen's side of it; empty callbacks are skipped.
struct PostFlightScreen {
  std::function<void()> ShowWritingMenu;  // the four-entry menu, hourglass pointer
  LongTaskHooks Progress;                 // the log writer's progress dialog
  // Offers the ranking place: shows the name-entry panel with this prompt.
  // Its OK calls EnterPilotName.
  std::function<void(const std::string& prompt)> AskPilotName;
  std::function<void(const std::string& message)> ShowMessage;
  std::function<void()> ShowPostFlightMenu;  // the post-flight menu, default pointer
};

struct PostFlightOutcome {
  bool Ran = false;  // false when the processing had run already
  FlightResult Result;
  bool LogWritten = false;
  int16_t Rank = 0;       // the place offered, 0 when none
  FilingResult Filing;
};

// The post-flight processing, once per flight (a second call does nothing).
PostFlightOutcome RunPostFlight(PostFlightInputs& in, const PostFlightScreen& screen);
// Whether the processing has run in this run of the program.
struct PostFlightState {
  bool Ran = false;
  void Reset() { *this = PostFlightState{}; }
};
PostFlightState& PostFlight();

// The name-entry prompt for a place.
std::string PilotNamePrompt(double distance, int place);

// The name-entry panel's OK: inserts the entry at NewRecordRank. Returns the
// message to show when the name is refused (the panel then stays open), else
// empty; sets openRanking when the ranking window is to be shown (a name was
// typed).
std::string EnterPilotName(RankingState& ranking, const std::string& recordEntryText, const std::string& name,
                           bool& openRanking);

// The ranking window's text: "01位  " + line 1, CR LF, ... "20位  " + line 20.
std::string RankingListText(const RankingState& ranking);

}  // namespace zarv::records
