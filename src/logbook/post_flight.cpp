#include "logbook/post_flight.h"

#include "platform/runtime/cp932.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/program_state.h"

namespace zarv::records {

namespace {

// Without the flight screen (the probe's and the tests' flights) the
// screen's hooks stay empty by design and are skipped; the flight screen
// fills every one, checked when it has set itself up.
void Call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

FlightResult ComposeFlightResult(double distance, const std::string& aircraftName, double launchHeading,
                                 double windSpeed, double flightTime, double launchTime,
                                 const std::string& dateTime) {
  FlightResult r;
  r.FlightDateTime = dateTime;
  const std::string distanceText = Format(distance, "###.#0") + "m by " + aircraftName + " ";
  r.FlightSummary = distanceText + Str(Int(launchHeading * kDegreesPerRadian)) + "Deg  wind" + Format(windSpeed, "##.0") +
                    "m/s  " + Format(flightTime - launchTime - 0.05, "##.0") + "sec " + dateTime;
  r.RecordEntryText = distanceText + dateTime + "  ";
  return r;
}

std::string FlightDateTimeNow() { return DateText() + "   " + TimeText(); }

void EndFlightRecordSteps(flight::FlightState& s, flight::FlightRecord& r, const aircraft::AircraftData& a) {
  s.Loop.StepCounter = 0;
  r.RecordSampleCount = r.RecordCount;
  r.Row(1).HeadingDeg = a.LaunchHeading * kDegreesPerRadian;
  if (a.LaunchHeight > 5) r.Row(0).Time = 0;
}

bool PlaysEndSound(bool soundOn, double altitude, int engineCount) {
  return soundOn && !flight::AtCancelHeight(altitude) && engineCount >= 1;
}

int PostFlightDelayMs(bool soundOn, double altitude, int engineCount) {
  return PlaysEndSound(soundOn, altitude, engineCount) ? 720 : 100;
}

std::string PilotNamePrompt(double distance, int place) {
  return "記録  " + Format(distance, "##0.00") + "ｍ\r\nこの記録は" + Str(place) + "位に相当します\r\n名前を入力してください";
}

FlightResult PrepareFlightResult(flight::FlightState& s, flight::FlightRecord& r, const aircraft::AircraftData& a,
                                 const std::string& dateTime) {
  if (s.Body.Altitude < kCancelledBelow) s.Loop.FlightTime = s.Loop.FlightTime - 0.1;
  const FlightResult result =
      ComposeFlightResult(s.Body.Distance, a.AircraftName, a.LaunchHeading, a.WindSpeed, s.Loop.FlightTime, s.Ground.LaunchTime,
                          dateTime.empty() ? FlightDateTimeNow() : dateTime);
  r.RecordCount = r.RecordCount + 1;  // the loop took one off when it ended
  return result;
}

namespace {
LogWriteInputs PostFlightLogInputs(const flight::FlightState& s, const flight::FlightRecord& r,
                                   const aircraft::AircraftData& a, const FlightResult& result) {
  LogWriteInputs log;
  log.FlightSummary = result.FlightSummary;
  log.Altitude = s.Body.Altitude;
  log.LaunchTime = s.Ground.LaunchTime;
  log.LaunchSpeed = a.LaunchSpeed;
  log.EngineCount = a.EngineCount;
  log.LatestRow = r.LastRecorded;
  return log;
}
}  // namespace

bool WritePostFlightLog(const std::string& path, const flight::FlightState& s, flight::FlightRecord& r,
                        const aircraft::AircraftData& a, const model::AirframeOutline& outline,
                        const FlightResult& result, const LongTaskHooks& hooks) {
  return WriteFlightLog(path, PostFlightLogInputs(s, r, a, result), r, outline, hooks);
}

PostFlightState& PostFlight() { return ProgramWide<PostFlightState>(); }

PostFlightOutcome RunPostFlight(PostFlightInputs& in, const PostFlightScreen& screen) {
  PostFlightOutcome out;
  if (PostFlight().Ran) return out;
  PostFlight().Ran = true;
  out.Ran = true;
  flight::FlightState& s = in.State;
  flight::FlightRecord& r = in.Record;
  const aircraft::AircraftData& a = in.Aircraft;

  Call(screen.ShowWritingMenu);
  out.Result = PrepareFlightResult(s, r, a, in.DateTime);
  const std::string log = ComposeFlightLogFile(PostFlightLogInputs(s, r, a, out.Result), r, in.Outline, screen.Progress);
  CheckRanking(in.Ranking, {s.Body.Distance, a.LaunchSpeed, a.WingSpan, s.Engine.Throttle, a.LaunchHeight});

  const int16_t rank = in.Ranking.NewRecordRank;
  if (rank >= 1 && rank <= kRankingPlaces && s.Pilot.PitchHoldOn == 0 && s.Body.Altitude > -10) {
    out.Rank = rank;
    if (screen.AskPilotName) screen.AskPilotName(PilotNamePrompt(s.Body.Distance, rank));
  }

  const NewLogFiling filed =
      WriteAndFileLog(in.WorkingCopy, in.FlightDataDir, in.LogSuffix, log, r.LogRowCount, in.WorkingCopyWait);
  out.LogWritten = filed.Written;
  out.Filing = filed.Filing;
  if (out.LogWritten) {
    if (!out.Filing.Problem.empty() && screen.ShowMessage) screen.ShowMessage(out.Filing.Problem);
  } else if (r.LogRowCount > 3 && screen.ShowMessage) {
    screen.ShowMessage("飛行記録ﾌｧｲﾙを書き込めませんでした。\r\n" + ShownName(in.WorkingCopy));
  }
  Call(screen.ShowPostFlightMenu);
  return out;
}

std::string EnterPilotName(RankingState& ranking, const std::string& recordEntryText, const std::string& name,
                           bool& openRanking) {
  openRanking = false;
  const std::string problem = PilotNameProblem(name);
  if (!problem.empty()) return problem;
  if (InsertRankingEntry(ranking, ranking.NewRecordRank, recordEntryText, name)) {
    ranking.EntryDistances.push_back({recordEntryText + name, ranking.NewRecordDistance});
    openRanking = !name.empty();
  }
  return {};
}

std::string RankingListText(const RankingState& ranking) {
  std::string text;
  for (int k = 1; k <= kRankingPlaces; ++k)
    text += Format(k, "00") + "位  " + ranking.RecordLines[static_cast<size_t>(k)] + "\r\n";
  return text;
}

}  // namespace zarv::records
