// What the two characteristic charts show, computed without a screen: the
// aircraft chart's load (the model evaluation, the summary text and the
// flight limits) and the airfoil chart's sweep of the wing's section.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "flight/flight_state.h"
#include "flight/model_evaluation.h"
#include "model/outline.h"

namespace zarv::flight {

// ---------------------------------------------------------- aircraft chart

// The aircraft chart's whole load: the sweep, the summary (into
// chart.SummaryText) and the flight limits. The flight screen's load runs it
// once on the flight's state, which starts from the values it leaves.
void LoadAircraftChartValues(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                             ModelEvaluation& chart);

// The chart opened from the menu, during a flight or after it: the same load
// on a copy of the flight state. The sweep leaves working values (the angle
// of attack, the Reynolds, Mach and stall values, ...) that the flight reads
// before it computes them afresh, so looking at the chart would change the
// flight; the copy starts from the live values the chart reads (the density,
// the centre of gravity), so the chart is the same.
void ReloadAircraftChartValues(const FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                               ModelEvaluation& chart);

// The summary text and limits that close the load, after the sweep. The
// "Max Trim AOA" figure is the upper limit as it stands before the load
// lowers it.
void FinishAircraftChartLoad(FlightState& s, const aircraft::AircraftData& a, ModelEvaluation& chart);

// "0.0000" of the best glide speed sqrt(2 x 9.8 x dryMass / liftAtBestGlide),
// or "----" when the lift is zero or negative (nothing to glide on) or the
// result is not a number.
std::string BestGlideSpeedText(double dryMass, double liftAtBestGlide);

// Whole degrees written under vertical grid line k + 1 (k = 0..20). The
// numbers follow the engine rating; the sweep follows the launch speed, so a
// light aircraft with a strong engine gets the powered numbers over a light
// sweep.
int AircraftChartAxisNumber(int k, double engineRating);

// The quantities the chart plots at one sweep step. Coefficients are per
// WingArea; the lift-to-drag, drag and range points exist only where the
// lift sum is above zero, the range only with engines.
struct AircraftChartRow {
  double AngleOfAttack = 0;  // rad
  double LiftCoefficient = 0;
  double LiftCoefficientPlain = 0;  // without the leading-edge flap effect
  std::optional<double> DragCoefficient;
  std::optional<double> LiftToDrag;
  std::optional<double> RangeValue;
  std::optional<double> TailLiftCoefficient;  // with a tailplane
};
AircraftChartRow AircraftChartRowAt(const ModelEvaluation& chart, int step, const FlightState& s,
                                    const aircraft::AircraftData& a);

// The summary split at its line ends.
std::vector<std::string> SummaryLines(const std::string& text);

// ----------------------------------------------------------- airfoil chart

inline constexpr int kAirfoilChartSteps = 461;  // -1 to 22 degrees in 0.05

struct AirfoilChartPoint {
  double AngleOfAttack = 0;  // rad
  double Lift = 0;           // section lift coefficient
  double Drag = 0;           // section drag coefficient
};

struct AirfoilChart {
  double ReynoldsNumber = 0;
  double ReynoldsFactor = 0;
  double StallExponent = 0;
  double StallFactor = 0;
  std::array<AirfoilChartPoint, kAirfoilChartSteps> Points{};
};

// The chart's speed x chord term: 2.2 for the chart, 24 for the developer's
// second pair of curves.
inline constexpr double kAirfoilChartSpeedChord = 2.2;
inline constexpr double kAirfoilDeveloperSpeedChord = 24;

// Sweeps the wing's section in working form at one Reynolds number. The
// chart's Reynolds and stall values and angles stay in the chart: a chart
// opened during a flight leaves the flight as it was.
void EvaluateAirfoilChart(const FlightState& s, double speedChord, AirfoilChart& chart);

}  // namespace zarv::flight
