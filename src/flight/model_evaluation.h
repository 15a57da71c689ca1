// The whole-aircraft aerodynamic model swept over 396 angles of attack at one
// reference airspeed (the aircraft chart's load), and the flight limits the
// chart's load leaves for every flight.
#pragma once

#include <array>
#include <string>

#include "flight/flight_state.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// One angle of the sweep, for the chart drawing. Areas are coefficient x
// area (m^2); divide by WingArea for the coefficients.
struct ChartPoint {
  double AngleOfAttack = 0;
  double WingLift = 0;       // wing lift sum, with the leading-edge flap effect
  double TailLift = 0;
  double Drag = 0;           // drag sum
  double WingLiftPlain = 0;  // wing lift sum without the leading-edge flap effect
  double InnerStallRatio = 0;  // the inner panel's CL / unstalled CL at the step
};

inline constexpr int kChartSteps = 396;

// The aircraft chart's own variables. An instance lives as long as the chart
// form: some values carry over from one load to the next.
struct ModelEvaluation {
  double ReferenceSpeed = 0;             // m/s
  double LeadingEdgeFlapDeflection = 0;  // rad, the wing's angle offset at the step
  double TailAngleFactor = 0;
  float MaxWingLift = -30000;
  double MaxLiftAngle = 0;               // rad
  double LiftAtBestGlide = 0;            // m^2
  double BestRangeValue = 0;
  double BestLiftToDrag = 0;
  std::array<ChartPoint, kChartSteps> Points{};
  // The summary under the chart as its label shows it (CR LF line ends).
  std::string SummaryText;

  void Reset() { *this = ModelEvaluation{}; }
};

// The sweep. Writes the reference-condition factors and the last step's
// working values into the flight state (the flight computes them afresh).
void EvaluateAircraftModel(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                           ModelEvaluation& chart);

// The closing steps of the chart's load: GroundAngleLimit, the lowered
// MaxAngleOfAttack, MinAngleOfAttack and WingLiftOffsetNow.
void SetFlightLimits(FlightState& s, const ModelEvaluation& chart);

// The aircraft chart's instance (program-wide).
ModelEvaluation& AircraftChartEvaluation();

}  // namespace zarv::flight
