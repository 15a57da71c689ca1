// The two characteristic charts opened during a flight: their loads sweep
// the aerodynamic model, and the flight must go on exactly as it would have.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "flight/characteristic_charts.h"
#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "flight/state_fields.h"

namespace zarv::flight {
namespace {

// Every value of the flight state, as text: the numbers bit for bit.
std::vector<std::string> Values(const FlightState& s) {
  std::vector<std::string> out;
  ForEachStateValue(
      s,
      [&](const char* name, int index, double v) {
        char text[64];
        std::snprintf(text, sizeof text, "%s(%d) %a", name, index, v);
        out.emplace_back(text);
      },
      [&](const char* name, std::string_view text) { out.push_back(std::string(name) + " " + std::string(text)); });
  return out;
}

// The first value in which two flight states differ, "" when none does.
std::string FirstDifference(const FlightState& a, const FlightState& b) {
  const std::vector<std::string> x = Values(a), y = Values(b);
  for (size_t i = 0; i < x.size() && i < y.size(); ++i)
    if (x[i] != y[i]) return x[i] + " / " + y[i];
  return x.size() == y.size() ? "" : "length";
}

void ExpectSameCharts(const ModelEvaluation& a, const ModelEvaluation& b) {
  EXPECT_EQ(a.SummaryText, b.SummaryText);
  EXPECT_EQ(a.MaxLiftAngle, b.MaxLiftAngle);
  EXPECT_EQ(a.LiftAtBestGlide, b.LiftAtBestGlide);
  for (size_t i = 0; i < a.Points.size(); ++i) {
    EXPECT_EQ(a.Points[i].WingLift, b.Points[i].WingLift) << i;
    EXPECT_EQ(a.Points[i].WingLiftPlain, b.Points[i].WingLiftPlain) << i;
    EXPECT_EQ(a.Points[i].TailLift, b.Points[i].TailLift) << i;
    EXPECT_EQ(a.Points[i].Drag, b.Points[i].Drag) << i;
    EXPECT_EQ(a.Points[i].InnerStallRatio, b.Points[i].InnerStallRatio) << i;
  }
}

TEST(ChartsDuringAFlight, LeaveTheFlightAsItWouldHaveBeen) {
  // A jet and a light aircraft; the charts open at different passes.
  const struct {
    aircraft::AircraftData Aircraft;
    double At;
  } cases[] = {{testing::DataAircraft("TestJet.brd"), 5}, {testing::Sample("Super ZarvⅣ"), 5}, {testing::Sample("Super ZarvⅣ"), 7.3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Aircraft.AircraftName + " at " + std::to_string(c.At));
    auto plain = std::make_unique<HeadlessFlight>(c.Aircraft);
    auto looked = std::make_unique<HeadlessFlight>(c.Aircraft);
    ASSERT_TRUE(plain->Accepted() && looked->Accepted());
    ASSERT_EQ(plain->Fly(c.At), "limit");
    ASSERT_EQ(looked->Fly(c.At), "limit");

    // Both charts' loads, as the menu runs them.
    const FlightState before = looked->State;
    ModelEvaluation chart;
    ReloadAircraftChartValues(looked->State, looked->Aircraft, looked->Outline, chart);
    AirfoilChart section;
    EvaluateAirfoilChart(looked->State, kAirfoilChartSpeedChord, section);
    AirfoilChart developer;
    EvaluateAirfoilChart(looked->State, kAirfoilDeveloperSpeedChord, developer);
    EXPECT_EQ(FirstDifference(looked->State, before), "");

    // The chart is the one the load would draw on the flight's own state at
    // this moment: the live density and centre of gravity are in it.
    FlightState live = before;
    ModelEvaluation onLive;
    LoadAircraftChartValues(live, looked->Aircraft, looked->Outline, onLive);
    ExpectSameCharts(chart, onLive);

    EXPECT_EQ(plain->Fly(0), "water");
    EXPECT_EQ(looked->Fly(0), "water");
    EXPECT_EQ(looked->State.Body.Distance, plain->State.Body.Distance);
    EXPECT_EQ(looked->Passes, plain->Passes);
    EXPECT_EQ(FirstDifference(looked->State, plain->State), "");
  }
}

}  // namespace
}  // namespace zarv::flight
