#include "flight/characteristic_charts.h"

#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/text.h"

namespace zarv::flight {
namespace {

const char* const kLineEnd = "\r\n";

// The tail volumes, with the tail arms shortened by the centre of gravity's
// distance behind the quarter chord.
struct TailVolumes {
  double HorizontalStatic, HorizontalDynamic, VerticalStatic, VerticalDynamic;
};

TailVolumes VolumesOf(const aircraft::AircraftData& a) {
  const double area = a.WingArea, span = a.WingSpan;
  const double chord = area / span;
  const double h = a.CgPosition - 0.25;
  const double horizontal = a.TailplaneArm / chord - h;
  const double vertical = (a.FinArm - h * chord) / span;
  return {(a.TailplaneArea / area) * horizontal, (a.TailplaneArea / area) * (horizontal * horizontal),
          (a.FinArea / area) * vertical, (a.FinArea / area) * (vertical * vertical)};
}

std::string TailVolumeText(const TailVolumes& v) {
  return "   水尾静ﾎﾞﾘｭｰﾑ  " + Format(v.HorizontalStatic, "0.000") + "   水尾動ﾎﾞﾘｭｰﾑ  " +
         Format(v.HorizontalDynamic, "0.000") + kLineEnd + "   垂尾静ﾎﾞﾘｭｰﾑ  " + Format(v.VerticalStatic, "0.000") +
         "   垂尾動ﾎﾞﾘｭｰﾑ  " + Format(v.VerticalDynamic, "0.000") + kLineEnd;
}

}  // namespace

std::string BestGlideSpeedText(double dryMass, double liftAtBestGlide) {
  if (!(liftAtBestGlide > 0)) return "----";
  const double v = std::sqrt(std::fabs(2 * 9.8 * dryMass / liftAtBestGlide));
  if (!std::isfinite(v)) return "----";
  return Format(v, "0.0000");
}

int AircraftChartAxisNumber(int k, double engineRating) { return engineRating < 9000 ? 2 * k - 2 : 5 * k - 10; }

void FinishAircraftChartLoad(FlightState& s, const aircraft::AircraftData& a, ModelEvaluation& chart) {
  s.Setup.GroundAngleLimit = 0.45;

  const double m = s.Masses.DryMass, f = a.FuelCapacity, area = a.WingArea;
  const TailVolumes volumes = VolumesOf(a);
  std::string text;
  if (s.Engine.EngineRating < 10) {
    text = "  総重量   " + Format(m, "#0") + "Kg" + kLineEnd;
    text += "   翼面荷重 " + Format((f + m) / area, "##.00") + "kg/㎡";
    text += "  ｱｽﾍﾟｸﾄ比  " + Format(s.Setup.GeometricAspectRatio, "#0.000");
    text += "  平均空力翼弦  " + Format(area / a.WingSpan, "#.000") + "ｍ" + kLineEnd;
  } else {
    const double powerToWeight = s.Engine.EngineType == aircraft::EngineKind::Jet
                                     ? std::sqrt(s.Engine.InletPressureRatio) * s.Engine.AfterburnerMax * s.Engine.EngineRating / 9.8 / (f + m)
                                     : (s.Engine.EngineRating / 1000) / (f + m);
    text = "  総重量   " + Format(f + m, "#0") + "Kg   " + Format(m, "#0") + "Kg ";
    text += " 出力重量比 " + Format(powerToWeight, "#0.000") + kLineEnd;
    text += "   翼面荷重 " + Format((f + m) / area, "##.00") + "kg/㎡";
    // Its own line: with the tail volumes it would run past the chart's window.
    text += "  ｱｽﾍﾟｸﾄ比  " + Format(s.Setup.GeometricAspectRatio, "#0.000") + kLineEnd;
  }
  text += TailVolumeText(volumes);
  if (s.Engine.EngineRating < 9000) {
    text += "   最適滑空速度  " + BestGlideSpeedText(m, chart.LiftAtBestGlide) + " ｍ/ｓ(ｈ=５ｍ)";
  } else {
    text += "Max Trim AOA " + Format(s.Airfoils.MaxAngleOfAttack * kDegreesPerRadian, "0.0") + "  Max Lift AOA " +
            Format(chart.MaxLiftAngle * kDegreesPerRadian, "0.0");
  }

  // The limits; SetFlightLimits repeats the ground angle limit.
  SetFlightLimits(s, chart);
  if (s.Engine.EngineRating >= 9000) text += "  Max Operation AOA " + Format(s.Airfoils.MaxAngleOfAttack * kDegreesPerRadian, "0.0");
  chart.SummaryText = text;
}

void LoadAircraftChartValues(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                             ModelEvaluation& chart) {
  EvaluateAircraftModel(s, a, o, chart);
  FinishAircraftChartLoad(s, a, chart);
}

void ReloadAircraftChartValues(const FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                               ModelEvaluation& chart) {
  FlightState copy = s;
  LoadAircraftChartValues(copy, a, o, chart);
}

AircraftChartRow AircraftChartRowAt(const ModelEvaluation& chart, int step, const FlightState& s,
                                    const aircraft::AircraftData& a) {
  const ChartPoint& p = chart.Points.at(static_cast<std::size_t>(step));
  AircraftChartRow row;
  row.AngleOfAttack = p.AngleOfAttack;
  row.LiftCoefficient = p.WingLift / a.WingArea;
  row.LiftCoefficientPlain = p.WingLiftPlain / a.WingArea;
  const double lift = p.WingLift + p.TailLift;
  if (lift > 0) {
    row.DragCoefficient = p.Drag / a.WingArea;
    row.LiftToDrag = lift / p.Drag;
    if (a.EngineCount > 0) row.RangeValue = std::sqrt(s.Masses.DryMass / lift / 1000) * (lift / p.Drag);
  }
  if (a.TailplaneArea > 0) row.TailLiftCoefficient = p.TailLift / a.TailplaneArea;
  return row;
}

std::vector<std::string> SummaryLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(kLineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
}

void EvaluateAirfoilChart(const FlightState& s, double speedChord, AirfoilChart& chart) {
  const double nu = (1.7932 / 1e5) / 1.225;
  const double re = speedChord / nu;
  const double kRe = 1.8 - 1.1 / (3 * std::pow(re / 1e6, 4) + 1);
  const double q = std::fabs(s.Airfoils.WingAngleOffset) / 5 + s.Airfoils.WingProfileDrag;
  const double exponent = 0.5 / std::pow(q, 0.5) * std::pow(kRe, 0.7);
  const double factor = 8e-06 / std::pow(q, 4) * std::pow(kRe, 4);
  chart.ReynoldsNumber = re;
  chart.ReynoldsFactor = kRe;
  chart.StallExponent = exponent;
  chart.StallFactor = factor;

  const double a0 = s.Airfoils.WingAngleOffset;
  const double ad = s.Airfoils.WingMinDragAngle;
  for (int i = 0; i < kAirfoilChartSteps; ++i) {
    const double alpha = ((i - 20) / 20.0) * kChartPi / 180;
    const double divisor = 1 + factor * std::pow(std::fabs(alpha + a0), exponent);
    const double lift = 6.28 * (std::sin(2 * (alpha + a0)) / 2 + s.Airfoils.WingLiftOffset) / divisor;
    const double d = alpha - ad;
    const double drag = (s.Airfoils.WingDragRise * (d * d) / (1 + s.Airfoils.WingDragRiseLimit * std::pow(std::fabs(d), 3.5)) +
                         std::pow(std::fabs(std::sin(alpha - a0)), kRe) * (1 - 1 / divisor) + s.Airfoils.WingProfileDrag) /
                        kRe;
    chart.Points[static_cast<std::size_t>(i)] = {alpha, lift, drag};
  }
}

}  // namespace zarv::flight
