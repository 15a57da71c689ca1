// Flights flown as a pilot flies them: seeded random key scripts (steering
// held and tapped, A and Z, the take-off key again in the air and on the
// water, trim, now and then Esc) on the sample aircraft from their own
// launch height, 300 m, 1000 m, the water, 11 m, 30 m and 1 m (no platform
// under it: afloat, as on the water), in calm air, the filed wind and
// 10 m/s; from 11 m and 30 m also into an 18 m/s headwind, which blows most
// of them back down onto their deck.
// Every pass is looked at, not only the recorded samples, and every flight
// that ends is taken through the post-flight processing to its filed log.
// A failure names the flight by the `zarv-probe fly` command line that flies
// it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/samples.h"
#include "flight/flight_loop.h"
#include "flight/ground_contact.h"
#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/launch_run.h"
#include "flight/loop_fixture.h"
#include "flight/state_fields.h"
#include "flight/wind.h"
#include "logbook/post_flight.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "program_test.h"
#include "records_fixture.h"
#include "tools/command_output.h"

namespace zarv::records {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// "": as filed. The heights after the first three came later: the seeds of
// the first ones' flights stay as they were.
constexpr const char* kHeights[] = {"", "300", "1000", "0", "11", "30", "1"};
constexpr const char* kWinds[] = {"0", "", "10"};
constexpr const char* kBackOntoTheDeck[] = {"11", "30"};  // heights flown into kBackWind too
constexpr const char* kBackWind = "18";
// Six flights of each sample, height and wind; one under the sanitizers,
// which run five to ten times slower.
constexpr int kFlightsPerCase = kSanitized ? 1 : 6;
constexpr double kLimit = 180;  // s of flight time

// A flight at rest on the water longer than this at the limit was never
// going to end (the watchdog takes a minute, after 100 s of flight).
constexpr double kLongestRest = 75;

// The most the nose turns in a pass at the rate limits (4 rad/s in pitch,
// 13 in yaw, 40 passes a second), with some room.
constexpr double kLargestTurn = 0.47;

// The angle between two unit vectors.
double Between(const std::array<double, 3>& u, const std::array<double, 3>& v) {
  return std::acos(std::clamp(u[0] * v[0] + u[1] * v[1] + u[2] * v[2], -1.0, 1.0));
}

std::string Seconds(double t) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", t);
  return text;
}

// A pilot's keys: the take-off key, then steering and the rest at times
// crowded towards the start of the flight.
std::string RandomKeys(std::mt19937& rng) {
  std::uniform_real_distribution<double> u(0, 1);
  const double start = 0.3 + 1.2 * u(rng);
  std::string keys = Seconds(start) + ":Return";
  static const char* const kSteering[] = {"Up", "Down", "Left", "Right", "Comma", "Period"};
  static const char* const kTrim[] = {"Minus", "0", "Plus"};
  static const char* const kOther[] = {"B", "R", "F", "G", "T", "P", "I"};
  const int count = 4 + static_cast<int>(rng() % 24);
  for (int i = 0; i < count; ++i) {
    const double t = start + 0.05 + 100 * u(rng) * u(rng);
    const double kind = u(rng);
    std::string key;
    bool held = false;
    if (kind < 0.5) {
      key = kSteering[rng() % 6];
      held = u(rng) < 0.6;
    } else if (kind < 0.68) {
      key = rng() % 2 ? "A" : "Z";
      held = u(rng) < 0.7;
    } else if (kind < 0.8) {
      key = "Return";
    } else if (kind < 0.9) {
      key = kTrim[rng() % 3];
    } else {
      key = kOther[rng() % 7];
    }
    keys += "," + Seconds(t) + (held ? "+" + Seconds(0.1 + 3 * u(rng)) : "") + ":" + key;
  }
  if (u(rng) < 0.15) keys += "," + Seconds(start + 1 + 40 * u(rng)) + ":Escape";
  return keys;
}

// Steep spirals: the rudder held over for long, the elevator now and then
// with it.
std::string SpiralKeys(std::mt19937& rng) {
  std::uniform_real_distribution<double> u(0, 1);
  const double start = 0.3 + 1.2 * u(rng);
  std::string keys = Seconds(start) + ":Return";
  double t = start + 2 + 10 * u(rng);
  while (t < 150) {
    const double turn = 5 + 50 * u(rng);
    keys += "," + Seconds(t) + "+" + Seconds(turn) + ":" + (rng() % 2 ? "Right" : "Left");
    keys += "," + Seconds(t + 10 * u(rng)) + "+" + Seconds(1 + 15 * u(rng)) + ":" + (u(rng) < 0.7 ? "Down" : "Up");
    t += turn + 5 + 20 * u(rng);
  }
  return keys;
}

struct Pass {
  double Time = 0, Altitude = 0, Distance = 0, Energy = 0, Pitch = 0;
  std::array<double, 3> Velocity{}, Nose{};
  int32_t RecordCount = 0;
  bool InTheAir = false;
  bool NearDeck = false;  // within 10 m of the deck's edge and of its height
};

Pass Look(const flight::FlightState& s, const flight::FlightRecord& r, double launchHeight) {
  const flight::BodyMotion& b = s.Body;
  Pass p;
  p.Time = s.Loop.FlightTime;
  p.Altitude = b.Altitude;
  p.Distance = b.Distance;
  p.Velocity = {b.VelX, b.VelY, b.VelZ};
  p.Energy = 9.8 * b.Altitude + (b.VelX * b.VelX + b.VelY * b.VelY + b.VelZ * b.VelZ) / 2;
  p.Pitch = b.PitchAngle;
  p.Nose = b.NoseVector;
  p.RecordCount = r.RecordCount;
  const bool onDeck = b.CourseDistance < 0 && std::fabs(b.Altitude - launchHeight) < 5;
  bool wingClear = true;
  for (int k = 1; k <= 6; ++k) wingClear = wingClear && s.Wing.Panels[static_cast<size_t>(k)].PanelHeight > 0;
  p.InTheAir = b.Altitude > 1.5 && wingClear && !onDeck;
  p.NearDeck = b.CourseDistance < 10 && std::fabs(b.Altitude - launchHeight) < 10;
  return p;
}

// The deck a light aircraft ran on: falling 6 % towards its edge, through
// the last pass of its run (course distance, height).
struct RunLine {
  bool Known = false;
  double D = 0, H = 0;
  void Add(double d, double h) { Known = true, D = d, H = h; }
  double At(double d) const { return H - 0.06 * (d - D); }
};

// Energy from nowhere spread over seconds, which no single pass shows.
// Without power or wind and clear of the updraft column, a free flight's
// g h + v^2 / 2 never rises by more than kGlideGain within kGlideWindow;
// wholly inside the column, without power or wind, its energy height
// h + v^2 / 2g never rises faster than the column's air over kColumnWindow
// (its ground speed holds the air's rise: a little slack for that).
class EnergyWatch {
 public:
  static constexpr double kGlideGain = 150, kGlideWindow = 10;  // J/kg, s
  static constexpr double kColumnWindow = 30, kColumnSlack = 0.1;  // s, m/s
  static constexpr double kOverWater = 5;  // m between the water and a wing tip at any bank

  struct Break {
    std::string Rule, Detail;
  };

  // Fed every pass; the breaks this pass shows.
  std::vector<Break> Look(const flight::FlightState& s, const aircraft::AircraftData& a, const Pass& now) {
    std::vector<Break> breaks;
    const flight::BodyMotion& b = s.Body;
    const bool gliding = now.InTheAir && !now.NearDeck && now.Altitude > a.WingSpan / 2 + kOverWater && a.WindSpeed == 0 &&
                         s.Engine.Thrust == 0;
    // The updraft at the aircraft, and the least and most over its span.
    const double here = flight::UpdraftSpeedAt(s, b.PosX, b.PosY);
    double least = here, most = here;
    for (const double side : {-1.0, 1.0}) {
      const double y = a.WingSpan / 2, h = b.Heading + side * 1.57;
      const double u = flight::UpdraftSpeedAt(s, b.PosX + y * std::sin(h), b.PosY + y * std::cos(h));
      least = std::min(least, u);
      most = std::max(most, u);
    }
    if (!gliding || most > 0 || s.Air.VerticalWind != 0) {
      glide_.clear();
    } else {
      while (!glide_.empty() && glide_.front().Time < now.Time - kGlideWindow) glide_.pop_front();
      if (!glide_.empty() && now.Energy - glide_.front().Value > kGlideGain) {
        breaks.push_back({"energy from nowhere over seconds", "at " + Seconds(now.Time) + " s: +" +
                                                                  Seconds(now.Energy - glide_.front().Value) +
                                                                  " J/kg since " + Seconds(glide_.front().Time) + " s"});
      }
      while (!glide_.empty() && glide_.back().Value >= now.Energy) glide_.pop_back();
      glide_.push_back({now.Time, now.Energy, 0});
    }
    if (!gliding || least <= 0) {
      column_.clear();
    } else {
      const double rise = column_.empty() ? 0 : column_.back().Rise + here * (now.Time - column_.back().Time);
      column_.push_back({now.Time, now.Energy / 9.8, rise});
      while (column_.size() > 1 && column_[1].Time <= now.Time - kColumnWindow) column_.pop_front();
      const Point& then = column_.front();
      const double span = now.Time - then.Time;
      if (span >= kColumnWindow - 1e-6) {
        const double climb = (now.Energy / 9.8 - then.Value) / span, air = (rise - then.Rise) / span;
        if (climb > air + kColumnSlack) {
          breaks.push_back({"climbs faster than the column's air", "from " + Seconds(then.Time) + " to " +
                                                                       Seconds(now.Time) + " s: " + Seconds(climb) +
                                                                       " m/s in air rising " + Seconds(air) + " m/s"});
        }
      }
    }
    return breaks;
  }

 private:
  struct Point {
    double Time, Value, Rise;  // Rise: the air's, integrated over the stretch
  };
  std::deque<Point> glide_;   // rising energies, the least first
  std::deque<Point> column_;  // the passes of the last kColumnWindow
};

// The command line that flies a sample's flight again, with the probe and
// the samples' folder of a build (the program writes them on its first start).
std::string ReplayLine(const std::string& name, const char* height, const char* wind, const std::string& keys,
                       const std::string& probe = "build/zarv-probe", const std::string& folder = "build/Data") {
  std::string file = name + ".brd";
  for (const aircraft::SampleAircraft& sample : aircraft::SampleAircraftList())
    if (sample.Lines.size() > 1 && sample.Lines[1] == name) file = sample.FileName;
  std::string line = probe + " fly '" + folder + "/" + file + "'";
  if (*height) line += std::string(" --set LaunchHeight=") + height;
  if (*wind) line += std::string(" --set WindSpeed=") + wind;
  return line + " --keys '" + keys + "'";
}

class PilotFlights : public zarv::testing::ProgramTest {
 protected:
  // The first break of each rule in the flight being flown.
  std::vector<std::string> broken_;
  void Check(bool ok, const std::string& rule, const std::string& detail) {
    if (ok) return;
    for (const std::string& b : broken_)
      if (b.compare(0, rule.size(), rule) == 0) return;
    broken_.push_back(rule + " " + detail);
  }

  // Flies one flight, checking every pass; true when it ended by itself.
  bool Fly(flight::HeadlessFlight& f) {
    const flight::FlightState& s = f.State;
    const flight::BodyMotion& b = s.Body;
    Pass before = Look(s, f.Record, f.Aircraft.LaunchHeight);
    bool left = false;
    double restSince = -1;
    EnergyWatch energy;
    const aircraft::AircraftData& a = f.Aircraft;
    const bool carriedByDeck = !a.IsPowered() && a.LaunchHeight > 1;
    RunLine run;
    double deckBefore = -1;  // how far over its deck's surface the last pass was (-1: not over it)
    while (f.Step()) {
      const Pass now = Look(s, f.Record, f.Aircraft.LaunchHeight);
      const std::string at = "at " + Seconds(now.Time) + " s";
      // Every quantity of the state, not only those the loop watches.
      std::string nonFinite;
      flight::ForEachStateValue(
          s,
          [&](const char* name, int i, double v) {
            if (nonFinite.empty() && !std::isfinite(v)) nonFinite = name + (i < 0 ? "" : "(" + std::to_string(i) + ")");
          },
          [](const char*, std::string_view) {});
      if (!nonFinite.empty()) {
        Check(false, "a value not finite", at + ": " + nonFinite);
        return false;
      }
      for (const EnergyWatch::Break& e : energy.Look(s, f.Aircraft, now)) Check(false, e.Rule, e.Detail);

      const bool cancelled = now.Altitude < kCancelledBelow;
      if (!cancelled) {
        Check(std::fabs(now.Altitude - before.Altitude) <= 20, "the height jumps",
              at + " from " + Seconds(before.Altitude) + " to " + Seconds(now.Altitude) + " m");
        Check(std::fabs(now.Distance - before.Distance) <= 100, "the distance jumps",
              at + " from " + Seconds(before.Distance) + " to " + Seconds(now.Distance) + " m");
      }
      if (now.InTheAir && before.InTheAir) {
        Check(now.Energy - before.Energy <= 1000, "energy from nowhere",
              at + ": +" + Seconds(now.Energy - before.Energy) + " J/kg");
        // Nothing in the air turns a light aircraft's path or its nose in
        // a flash: 10 m/s in a pass is 40 g.
        const double dv = std::hypot(now.Velocity[0] - before.Velocity[0], now.Velocity[1] - before.Velocity[1],
                                     now.Velocity[2] - before.Velocity[2]);
        Check(dv <= 10, "the speed snaps", at + ": by " + Seconds(dv) + " m/s");
        // Near the deck its holds set the launch attitude.
        if (!now.NearDeck && !before.NearDeck) {
          // Tumbling over, the angle passes from +pi to -pi in one turn.
          Check(std::fabs(std::remainder(now.Pitch - before.Pitch, 2 * 3.1415926535897932)) <= 0.2, "the pitch snaps",
                at + " from " + Seconds(before.Pitch) + " to " + Seconds(now.Pitch));
        }
      }
      const double speed = std::sqrt(b.VelX * b.VelX + b.VelY * b.VelY + b.VelZ * b.VelZ);
      Check(b.AirSpeed <= 400 && speed <= 400, "faster than 400 m/s", at);
      const auto& n = b.NoseVector;
      const auto& t = b.TopVector;
      const double lean = n[0] * t[0] + n[1] * t[1] + n[2] * t[2];
      Check(std::fabs(lean) <= 0.6, "the attitude frame bent", at + ": nose . top " + Seconds(lean));

      // Once away from the start, time and the record only go on, and
      // nothing turns the nose faster than its rates can: near the deck too,
      // whose holds set the launch attitude only at the start.
      if (left && !cancelled && before.Altitude >= kCancelledBelow) {
        const double turn = Between(before.Nose, now.Nose);
        Check(turn <= kLargestTurn, "the nose snaps", at + " by " + Seconds(turn) + " rad");
      }
      if (left) {
        Check(!b.OnPlatform, "run along its deck again", at);
        Check(now.Time > before.Time, "time goes back", at + " to " + Seconds(now.Time) + " s");
        Check(now.RecordCount >= before.RecordCount || now.RecordCount == flight::kRecordWrapTo,
              "the record goes back", at);
      }
      // Back over its deck after leaving it, it is carried where it ran
      // (within the centimetre or two a run's steps stray from the slope):
      // never dropped through the surface, nor held over it, nor sinking on
      // it (VelZ is 0 only where the deck has stopped a fall).
      double deckNow = -1;
      if (left && carriedByDeck && run.Known && b.CourseDistance < 0 && flight::OverDeck(a, b.PosX, b.PosY) &&
          std::fabs(b.Altitude - run.At(b.CourseDistance)) < 1 && !cancelled) {
        deckNow = b.Altitude - run.At(b.CourseDistance);
        const std::string over = at + ": " + Seconds(100 * deckNow) + " cm over it, falling at " + Seconds(-b.VelZ) + " m/s";
        const bool onIt = std::fabs(deckNow) <= 0.02, wasOnIt = std::fabs(deckBefore) <= 0.02;
        Check(!(deckBefore >= 0 && deckNow < -0.03), "falls through its deck", over);
        Check(b.VelZ != 0 || onIt, "held off the deck it ran on", over);
        Check(!(onIt && wasOnIt && b.VelZ < -1), "sinks on its deck", over);
      }
      deckBefore = deckNow;
      if (!left && b.OnPlatform && b.GroundSpeed > 0.2) run.Add(b.CourseDistance, b.Altitude);
      // The start is left over the line or off the deck, whatever the speed;
      // afloat, placed out on the course or not, at the take-off key.
      const bool waitsAfloat = s.Ground.Afloat == flight::AfloatStart::Held;
      left = !waitsAfloat && (left || b.CourseDistance > 0 || s.Ground.Afloat != flight::AfloatStart::None ||
                              (run.Known && b.Altitude - run.At(b.CourseDistance) > 0.5));
      // Afloat, it ends by itself whatever the wind and the pedals, unless
      // it flies clear: then it ends where it comes back down.
      Check(!(s.Ground.Afloat == flight::AfloatStart::LetGo && now.Time - s.Ground.LaunchTime > flight::kAfloatRunLimit + 0.1),
            "afloat past its minute", at);

      // A rest anywhere once away: behind the start line too, and back on the deck.
      const bool resting = !cancelled && (b.Altitude < 1 || now.NearDeck) && b.GroundSpeed <= 1 && left;
      if (!resting) restSince = -1;
      if (resting && restSince < 0) restSince = now.Time;
      before = now;
      // At the limit a flight at rest flies on until its rest ends or has
      // lasted too long: a rest begun late is seen as well as an early one.
      const bool restLasts = restSince >= 0 && now.Time - restSince <= kLongestRest;
      if (now.Time >= kLimit && !restLasts) {
        Check(restSince < 0, "a rest on the water never ends", "since " + Seconds(restSince) + " s");
        return false;
      }
    }
    const std::string end = f.EndWord();
    Check(end == "water" || end == "cancel" || end == "watchdog", "an end of its own", end);
    return true;
  }

  // The post-flight processing of a program run of its own; the filed log
  // ends before any cancel and carries the flight's distance.
  void File(flight::HeadlessFlight& f) {
    ResetProgramState();
    SetProgramFolder(folder_);
    ASSERT_TRUE(MakeDir(Path("Temp")));
    const double distance = f.State.Body.Distance;
    RankingState ranking;
    EndFlightRecordSteps(f.State, f.Record, f.Aircraft);
    PostFlightInputs in{f.State, f.Record, f.Aircraft, f.Outline, ranking, "Pilot.csv",
                        ProgramPath("\\Temp\\before.csv"), ProgramPath("\\FlightData"), "07-12-2026   12:00:00"};
    const PostFlightOutcome out = RunPostFlight(in, {});
    ASSERT_TRUE(out.LogWritten);
    Check(std::fabs(Val(out.Result.FlightSummary) - distance) <= 0.0051, "the summary's distance",
          out.Result.FlightSummary);
    if (!out.Filing.Filed) return;
    const std::string path = ProgramPath("\\FlightData\\" + out.Filing.FiledName);
    const std::vector<std::string> lines = testing::SplitLines(Bytes(path));
    DeleteFile(path);
    ASSERT_GT(lines.size(), 8u);
    Check(lines[0] == Utf8ToCp932(out.Result.FlightSummary), "the summary line", lines[0]);
    const int32_t n = CLng(Val(lines[1]));
    ASSERT_GT(n, 3);
    ASSERT_GT(lines.size(), static_cast<size_t>(n) + 5);
    for (int32_t i = 0; i <= n; ++i) {
      const std::string& row = lines[static_cast<size_t>(i) + 4];
      const size_t height = row.find(',', row.find(',') + 1) + 1;
      ASSERT_NE(height, 0u) << "row " << i;
      Check(Val(row.substr(height)) > kCancelledBelow, "a filed row at the cancel", "row " + std::to_string(i));
    }
    Check(lines[static_cast<size_t>(n) + 5].find(',') == std::string::npos, "more rows than counted",
          lines[1]);
  }
};

TEST_F(PilotFlights, KeepToTheirPhysicsAndFileWhatTheyFlew) {
  // Flights that found a fault before, flown first: a hull at rest on the
  // water 196 m out, short of the distance where a rest used to end; a glider
  // at rest on the water 2.9 m behind its start line; a glider back on its
  // deck run along it again; one that landed on its own deck pinned to it,
  // sinking; one that crossed its line into a gale too slowly to have left
  // its start, run along its deck again and again (its take-off key again
  // starting the flight anew), from its own deck and from 30 m.
  const struct { const char *Name, *Height, *Wind, *Keys; } found[] = {
      {"Marden98", "", "6", "0.5:Return,3+3:Down"},
      {"MardenⅢ", "", "18", "2.73:Return,4.87+4.51:Right,5.65:Period,6.60:Period,7.34:Period,30:Return"},
      {"MardenⅢ", "30", "18", "2.73:Return,4.87+4.51:Right,5.65:Period,6.60:Period,7.34:Period,30:Return"},
      {"Super ZarvⅣ", "300", "0",
       "0.88:Return,1.09+1.74:Down,1.1:Left,1.26:Up,2.21:Down,2.23+3.62:Down,2.29:Return,2.68:Left,4.17:Left,"
       "5.37+1.56:A,5.75+0.47:Down,7.38:Z,7.7:Period,9.16:Period,9.5+1.84:Minus,9.94+0.95:Down,11.09:Right,"
       "11.56+3.14:Left,12.23+2.03:Up,13.64:Return,15.88:Left,15.96+2.85:Left,17.67+2.86:Right,28.42:Period"},
      {"Marden７", "300", "0",
       "6.34:Return,7.89+2.52:Period,12.82+2.23:Up,39.42+0.84:A,43.50:Down,43.84:Down,45.54+1.75:Comma,"
       "49.79+1.94:Right,50.61:Up,71.34:Period,76.76+2.59:Up,122.88+0.42:Comma"},
      {"MardenⅡ", "300", "12", "0.5:Return,3.5:Period"}};
  for (const auto& c : found) {
    std::vector<std::string> lines = flight::testing::SampleLines(c.Name);
    if (*c.Height) flight::testing::SetField(lines, 30, c.Height);
    flight::testing::SetField(lines, 46, c.Wind);
    flight::HeadlessFlight f(flight::testing::FromLines(lines), *flight::ParseKeyScript(c.Keys));
    ASSERT_TRUE(f.Accepted());
    broken_.clear();
    if (Fly(f)) File(f);
    for (const std::string& b : broken_)
      ADD_FAILURE() << c.Name << " launch height " << (*c.Height ? c.Height : "as filed") << ", wind " << c.Wind << ", --keys " << c.Keys << "\n  " << b;
  }

  int seed = 0, flights = 0, failed = 0;
  for (const std::string& name : flight::testing::SampleNames()) {
    for (const char* height : kHeights) {
      std::vector<const char*> winds(std::begin(kWinds), std::end(kWinds));
      for (const char* back : kBackOntoTheDeck)
        if (std::string_view(back) == height) winds.push_back(kBackWind);
      for (const char* wind : winds) {
        for (int k = 0; k < kFlightsPerCase; ++k) {
          std::mt19937 rng(static_cast<uint32_t>(++seed));
          std::vector<std::string> lines = flight::testing::SampleLines(name);
          if (*height) flight::testing::SetField(lines, 30, height);
          if (*wind) flight::testing::SetField(lines, 46, wind);
          const std::string keys = RandomKeys(rng);
          flight::HeadlessFlight f(flight::testing::FromLines(lines), *flight::ParseKeyScript(keys));
          ASSERT_TRUE(f.Accepted());
          broken_.clear();
          if (Fly(f)) File(f);
          ++flights;
          if (broken_.empty()) continue;
          // The first few failing flights in full, so that each can be flown again.
          if (++failed > 5) continue;
          std::string rules;
          for (const std::string& b : broken_) rules += "\n  " + b;
          ADD_FAILURE() << name << " launch height " << (*height ? height : "as filed") << ", wind "
                        << (*wind ? wind : "as filed") << ":\n  " << ReplayLine(name, height, wind, keys) << rules;
        }
      }
    }
  }
  EXPECT_EQ(failed, 0) << "of " << flights << " flights";
}

// Steep banked spirals from 3000 m in calm air, once driven along their path
// by their own lift and side force; and two flights that once gained energy
// from nowhere: such a dive, and a glide in the updraft column, whose wing
// felt the column twice.
TEST_F(PilotFlights, GainNoEnergyInSteepSpiralsNorFasterThanTheColumn) {
  struct Case {
    std::string Name;
    const char *Height, *Wind;
    std::string Keys;
  };
  std::vector<Case> cases = {
      {"MardenⅡ", "3000", "0",
       "1.16:Comma,1.19+2.73:Up,2.25:Return,3.78:F,5.71+41.38:2,6.81:Comma,11.71+2.33:Right,19.42+59.38:Right,"
       "21.6+17.25:Down,22.23+28.83:4,22.34+37.15:4,23.36:Comma,24.27:2,24.8+0.54:Minus,25.17:R,25.33+1.51:Plus,"
       "26.71+1.97:0,26.81+0.88:8,27.85+0.15:Plus"},
      {"Marden98", "1000", "0",
       "0.39:Space,2.16:Return,19.79:Return,21.41+0.73:Right,34.6:0,35.39:Return,70.63+2.15:Comma,208.83:F,"
       "268.88+0.58:8,327.66:Comma"},
  };
  int seed = 1000;
  for (const std::string& name : flight::testing::SampleNames()) {
    for (int k = 0; k < kFlightsPerCase; ++k) {
      std::mt19937 rng(static_cast<uint32_t>(++seed));
      cases.push_back({name, "3000", "0", SpiralKeys(rng)});
    }
  }
  int failed = 0;
  for (const Case& c : cases) {
    std::vector<std::string> lines = flight::testing::SampleLines(c.Name);
    ASSERT_FALSE(lines.empty()) << c.Name;
    flight::testing::SetField(lines, 30, c.Height);
    flight::testing::SetField(lines, 46, c.Wind);
    flight::HeadlessFlight f(flight::testing::FromLines(lines), *flight::ParseKeyScript(c.Keys));
    ASSERT_TRUE(f.Accepted());
    broken_.clear();
    Fly(f);
    if (broken_.empty() || ++failed > 5) continue;
    std::string rules;
    for (const std::string& b : broken_) rules += "\n  " + b;
    ADD_FAILURE() << ReplayLine(c.Name, c.Height, c.Wind, c.Keys) << rules;
  }
  EXPECT_EQ(failed, 0) << "of " << cases.size() << " flights";
}

// A failure's command line flies the same flight: the probe's --set puts the
// launch height and the wind into the sample as the test's fields do.
TEST_F(PilotFlights, AFailuresCommandLineFliesItAgain) {
  ASSERT_TRUE(aircraft::WriteSampleAircraft(folder_));
  std::mt19937 rng(7);
  const std::string keys = RandomKeys(rng);
  std::vector<std::string> lines = flight::testing::SampleLines("Marden98");
  flight::testing::SetField(lines, 30, "1000");
  flight::testing::SetField(lines, 46, "4.5");
  flight::HeadlessFlight f(flight::testing::FromLines(lines), *flight::ParseKeyScript(keys));
  ASSERT_TRUE(f.Accepted());
  f.Fly(30);
  char flown[64];
  std::snprintf(flown, sizeof flown, "distance=%.3f", f.State.Body.Distance);
  ASSERT_GT(f.State.Body.Distance, 100);  // not the flight as filed, which ends in the water before

  int status = -1;
  const std::string line = ReplayLine("Marden98", "1000", "4.5", keys, ZARV_PROBE, folder_) + " --seconds 30";
  const std::string out = zarv::testing::CommandOutput(line + " 2>&1", &status);
  EXPECT_EQ(status, 0) << line;
  // The probe's own result line, or all it printed when there is none.
  const size_t result = out.rfind("result");
  EXPECT_NE(out.find("result " + std::string(flown) + " "), std::string::npos)
      << line << "\n" << out.substr(result == std::string::npos ? 0 : result);

  // Names the record does not list as numbers, and values that are not ones.
  for (const char* bad : {"NoSuchField=1", "WingAirfoil=1", "LaunchHeight=", "LaunchHeight=1e999", "LaunchHeight"}) {
    const std::string refused = zarv::testing::CommandOutput(
        std::string(ZARV_PROBE) + " fly '" + folder_ + "/Marden98.brd' --set " + bad + " 2>&1", &status);
    EXPECT_EQ(status, 2) << bad;
    EXPECT_EQ(refused.find("result"), std::string::npos) << bad;
  }
}

}  // namespace
}  // namespace zarv::records
