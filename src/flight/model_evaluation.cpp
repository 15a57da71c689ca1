#include "flight/model_evaluation.h"

#include <cmath>

#include "flight/guarded_math.h"

namespace zarv::flight {
namespace {

struct StallShape {
  double Exponent;
  double Factor;
};

StallShape Shape(double reynolds, double slope, double c) {
  return {std::pow(reynolds, 0.7) * (slope * slope * 0.5) / std::pow(c, 0.5),
          std::pow(reynolds, 4) * (std::pow(slope, 11 * std::pow(reynolds, 0.5)) * 8e-06) / std::pow(c, 4)};
}

double ReynoldsFactorOf(double re, double k) { return 1.8 - k / (3 * std::pow(re / 1e6, 4) + 1); }

}  // namespace

ModelEvaluation& AircraftChartEvaluation() {
  static ModelEvaluation instance;
  return instance;
}

void EvaluateAircraftModel(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                           ModelEvaluation& chart) {
  const bool light = a.LaunchSpeed <= 10;
  const double area = a.WingArea;
  const double span = a.WingSpan;
  const double ar = s.GeometricAspectRatio;
  const double msc = s.SweepAreaFactor;

  // Reference conditions, at sea-level density.
  const double m = s.DryMass + a.FuelCapacity / 2;
  const double w = 2 * (m / area) / 1.225;
  const double v = s.AfterburnerMax > 1 ? std::sqrt(w * 88) : std::sqrt(w * s.Gravity / 0.6);
  chart.ReferenceSpeed = v;
  double kRe = 1.0;
  double kM = 1.0;
  double kL = 1.0;
  if (!light) {
    const double re = (area * v / span) / ((1.7932 / 1e5) / 1.225);
    kRe = ReynoldsFactorOf(re, 1);
    const double mach = v / 331;
    kM = 6.28 / (std::pow(mach, 1.4) + 6.28);
    const double qm = mach * mach * s.TipSweepCos;
    kL = 0.902 / (0.05 * qm + 1) + 0.1 * std::pow(qm - 1, 2) / (std::pow(std::fabs(qm - 1), 3) + 0.02041);
  }
  s.ReynoldsFactor = kRe;
  s.MachFactor = kM;
  s.LiftSlopeMachFactor = kL;

  double effAr;
  if (light) {
    const double g = 33 * std::pow(5 / span, 1.5);
    effAr = std::pow(s.TipSweepCos, 0.3) * ar * (g + 1) / g;
  } else {
    effAr = std::pow(s.TipSweepCos, 0.3) * ar;
  }
  s.EffectiveAspectRatio = effAr;
  const double aW = std::pow(std::pow(2.3, -1 / (effAr * kL + 2.3)), 3);
  const double aT = std::pow(std::pow(2.3, -1 / 5.3), 3);
  s.LiftSlope = aW;
  s.TailLiftSlope = aT;
  double kRt;
  if (light) {
    const double rt = (area * v / span) / ((1.7932 / 1e5) / s.AirDensity);
    kRt = ReynoldsFactorOf(rt, 0.93);
  } else {
    kRt = 0.9 * kRe;
  }
  s.TailReynoldsFactor = kRt;
  chart.BestLiftToDrag = 0;
  chart.MaxWingLift = -30000;

  // The tail's stall shape is the same at every step.
  const StallShape tail = Shape(kRt, aT, std::fabs(s.TailAngleOffset) / 5 + s.TailProfileDrag);
  s.TailStallExponent = tail.Exponent;
  s.TailStallCoefficient = tail.Factor;

  const double twist[3] = {0, s.HalfWashout, a.TipWashout};
  const double sweepCos[3] = {s.InnerSweepCos, s.OuterSweepCos, s.TipSweepCos};
  const double groupArea[3] = {2 * s.InnerPanelArea + s.CentrePanelArea, 2 * s.OuterPanelArea, 2 * s.TipPanelArea};
  const double mscSq = msc * msc;
  const double mscRoot = std::pow(msc, 0.5);
  const double kPiChart = 3.141592;

  for (int i = 0; i < kChartSteps; ++i) {
    const double alpha = light ? ((i - 40) / 10.0) * kPiChart / 180 - s.WingIncidenceRad
                               : ((i - 60) / 4.0) * kPiChart / 180;
    s.AngleOfAttack = alpha;
    const double aw = alpha + s.WingIncidenceRad;

    // Leading-edge flaps.
    double delta = s.WingAngleOffset;
    if (s.LeadingEdgeFlaps == 1) {
      if (aw > 0) {
        delta = s.WingAngleOffset - aw;
        if (delta < -0.2 * mscSq) delta = -0.2 * mscSq;
      }
      s.WingLiftOffsetNow = s.WingLiftOffset - (delta - s.WingAngleOffset) * aW;
    } else {
      s.WingLiftOffsetNow = s.WingLiftOffset;
    }
    chart.LeadingEdgeFlapDeflection = delta;

    const StallShape wing =
        Shape(kRe, aW, std::fabs(0.85 * s.WingAngleOffset + 0.15 * delta) / 5 + s.WingProfileDrag);
    s.StallExponent = wing.Exponent;
    s.StallCoefficient = wing.Factor;

    double liftSum = 0;
    double wingDrag = 0;
    for (int k = 0; k < 3; ++k) {
      const double ap = aw - twist[k];
      const double cu = mscSq * 6.28 * (aW * std::sin(2 * (ap + delta)) / 2 + s.WingLiftOffsetNow);
      const double cl = cu / (1 + wing.Factor * std::pow(std::fabs(mscRoot * (ap * aW + delta)), wing.Exponent));
      if (k == 0 && std::fabs(cu) > 0) s.InnerStallRatio = cl / cu;
      const double sep = (1 - 1 / (1 + wing.Factor * std::pow(std::fabs(ap * aW + delta), wing.Exponent))) *
                         std::pow(std::fabs(std::sin(ap + delta)), kRe);
      const double d = ap - s.WingMinDragAngle;
      const double profile =
          ((d * d * s.WingDragRise / (1 + std::pow(std::fabs(d), 3.5) * s.WingDragRiseLimit) + s.WingProfileDrag) /
               kRe +
           sep) *
          kM;
      const double cd = cu * cu / 3.14 / effAr + std::pow(sweepCos[k] * ar / effAr, 0.2) * profile;
      liftSum += groupArea[k] * cl;
      wingDrag += groupArea[k] * cd;
    }
    const double lw = liftSum;

    s.TailWakeGap = -o.TailplaneHingeY * std::tan(alpha) + s.TailWakeBase;

    const double kDen = ((a.FinHalfSpacing + 1) * a.FinArm / area) * span;
    if (alpha > 0 && kDen != 0 && alpha < kPi / (9 / kDen)) {
      s.FinShield = (1 + std::cos(9 / kDen * alpha)) / 2;
    } else {
      s.FinShield = alpha > 0 ? 0.0 : 1.0;
    }

    if (static_cast<float>(lw) > chart.MaxWingLift) {
      chart.MaxWingLift = static_cast<float>(lw);
      chart.MaxLiftAngle = alpha;
    }

    // A tailplane at the centre of gravity gives no factor; the last one stays.
    if (a.TailplaneArea > 0 && alpha < 0.087 && s.CgX != a.TailplaneArm) {
      chart.TailAngleFactor = (-area / a.TailplaneArea) * (s.CgX - s.WingAcOffset) / (s.CgX - a.TailplaneArm);
    }

    const double drag = wingDrag + ((s.TailProfileDrag * a.TailplaneArea + a.FinArea * 0.009) / kRt) * kM +
                        (a.ParasiteDragArea / kRe) * kM;
    double lt = 0;
    if (a.TailplaneArea > 0) {
      lt = mscSq * a.TailplaneArea * 6.28 *
           (aT * std::sin(2 * (alpha * chart.TailAngleFactor + s.TailAngleOffset)) / 2 + s.TailLiftOffset) /
           (1 + tail.Factor * std::pow(std::fabs(std::pow(s.TipSweepCos, 0.5) * (alpha * aT + s.TailAngleOffset)),
                                       tail.Exponent));
    }
    const double total = lw + lt;
    if (drag > 0 && total / drag > chart.BestLiftToDrag) {
      chart.BestLiftToDrag = total / drag;
      chart.LiftAtBestGlide = total;
    }
    if (total != 0 && drag > 0) {
      const double range = std::sqrt(std::fabs(s.DryMass / total)) * total / drag;
      if (range > chart.BestRangeValue && a.EngineCount > 1) {
        chart.BestRangeValue = range;
        chart.LiftAtBestGlide = lw;
      }
    }

    // Second pass without the leading-edge flap effect.
    const StallShape plain = Shape(kRe, aW, std::fabs(s.WingAngleOffset) / 5 + s.WingProfileDrag);
    s.StallExponent = plain.Exponent;
    s.StallCoefficient = plain.Factor;
    double plainSum = 0;
    for (int k = 0; k < 3; ++k) {
      const double ap = aw - twist[k];
      const double cu = mscSq * 6.28 * (aW * std::sin(2 * (ap + s.WingAngleOffset)) / 2 + s.WingLiftOffset);
      const double cl =
          cu / (1 + plain.Factor * std::pow(std::fabs(mscRoot * (ap * aW + s.WingAngleOffset)), plain.Exponent));
      plainSum += groupArea[k] * cl;
    }

    ChartPoint& pt = chart.Points[static_cast<std::size_t>(i)];
    pt.AngleOfAttack = alpha;
    pt.WingLift = lw;
    pt.TailLift = lt;
    pt.Drag = drag;
    pt.WingLiftPlain = plainSum;
    pt.InnerStallRatio = s.InnerStallRatio;
  }
}

void SetFlightLimits(FlightState& s, const ModelEvaluation& chart) {
  s.GroundAngleLimit = 0.45;
  if (s.EngineType != "roket" && s.MaxAngleOfAttack / 0.9 > chart.MaxLiftAngle) {
    s.MaxAngleOfAttack = 0.9 * chart.MaxLiftAngle;
  }
  s.MinAngleOfAttack = -s.MaxAngleOfAttack - 0.04;
  if (-0.6 > s.MinAngleOfAttack) s.MinAngleOfAttack = -0.6;
  s.WingLiftOffsetNow = s.WingLiftOffset;
}

}  // namespace zarv::flight
