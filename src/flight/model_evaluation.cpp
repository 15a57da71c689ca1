#include "flight/model_evaluation.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/program_state.h"

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

ModelEvaluation& AircraftChartEvaluation() { return ProgramWide<ModelEvaluation>(); }

void EvaluateAircraftModel(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                           ModelEvaluation& chart) {
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  const double area = a.WingArea;
  const double span = a.WingSpan;
  const double ar = s.Setup.GeometricAspectRatio;
  const double msc = s.Setup.SweepAreaFactor;

  // Reference conditions, at sea-level density.
  const double m = s.Masses.DryMass + a.FuelCapacity / 2;
  const double w = 2 * (m / area) / 1.225;
  const double v = s.Engine.AfterburnerMax > 1 ? std::sqrt(w * 88) : std::sqrt(w * s.Setup.Gravity / 0.6);
  chart.ReferenceSpeed = v;
  double kRe = 1.0;
  double kM = 1.0;
  double kL = 1.0;
  if (!light) {
    const double re = (area * v / span) / ((1.7932 / 1e5) / 1.225);
    kRe = ReynoldsFactorOf(re, 1);
    const double mach = v / 331;
    kM = 6.28 / (std::pow(mach, 1.4) + 6.28);
    const double qm = mach * mach * s.Setup.TipSweepCos;
    kL = 0.902 / (0.05 * qm + 1) + 0.1 * std::pow(qm - 1, 2) / (std::pow(std::fabs(qm - 1), 3) + 0.02041);
  }
  s.Aero.ReynoldsFactor = kRe;
  s.Aero.MachFactor = kM;
  s.Aero.LiftSlopeMachFactor = kL;

  double effAr;
  if (light) {
    const double g = 33 * std::pow(5 / span, 1.5);
    effAr = std::pow(s.Setup.TipSweepCos, 0.3) * ar * (g + 1) / g;
  } else {
    effAr = std::pow(s.Setup.TipSweepCos, 0.3) * ar;
  }
  s.Aero.EffectiveAspectRatio = effAr;
  const double aW = std::pow(std::pow(2.3, -1 / (effAr * kL + 2.3)), 3);
  const double aT = std::pow(std::pow(2.3, -1 / 5.3), 3);
  s.Aero.LiftSlope = aW;
  s.Aero.TailLiftSlope = aT;
  double kRt;
  if (light) {
    const double rt = (area * v / span) / ((1.7932 / 1e5) / s.Air.AirDensity);
    kRt = ReynoldsFactorOf(rt, 0.93);
  } else {
    kRt = 0.9 * kRe;
  }
  s.Aero.TailReynoldsFactor = kRt;
  chart.BestLiftToDrag = 0;
  chart.MaxWingLift = -30000;

  // The tail's stall shape is the same at every step.
  const StallShape tail = Shape(kRt, aT, std::fabs(s.Airfoils.TailAngleOffset) / 5 + s.Airfoils.TailProfileDrag);
  s.Aero.TailStallExponent = tail.Exponent;
  s.Aero.TailStallCoefficient = tail.Factor;

  const double twist[3] = {0, s.Setup.HalfWashout, a.TipWashout};
  const double sweepCos[3] = {s.Setup.InnerSweepCos, s.Setup.OuterSweepCos, s.Setup.TipSweepCos};
  const double groupArea[3] = {2 * s.Setup.InnerPanelArea + s.Setup.CentrePanelArea, 2 * s.Setup.OuterPanelArea, 2 * s.Setup.TipPanelArea};
  const double mscSq = msc * msc;
  const double mscRoot = std::pow(msc, 0.5);

  for (int i = 0; i < kChartSteps; ++i) {
    const double alpha = light ? ((i - 40) / 10.0) * kChartPi / 180 - s.Setup.WingIncidenceRad
                               : ((i - 60) / 4.0) * kChartPi / 180;
    s.Air.AngleOfAttack = alpha;
    const double aw = alpha + s.Setup.WingIncidenceRad;

    // Leading-edge flaps.
    double delta = s.Airfoils.WingAngleOffset;
    if (s.Airfoils.LeadingEdgeFlaps == 1) {
      if (aw > 0) {
        delta = s.Airfoils.WingAngleOffset - aw;
        if (delta < -0.2 * mscSq) delta = -0.2 * mscSq;
      }
      s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset - (delta - s.Airfoils.WingAngleOffset) * aW;
    } else {
      s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset;
    }
    chart.LeadingEdgeFlapDeflection = delta;

    const StallShape wing =
        Shape(kRe, aW, std::fabs(0.85 * s.Airfoils.WingAngleOffset + 0.15 * delta) / 5 + s.Airfoils.WingProfileDrag);
    s.Aero.StallExponent = wing.Exponent;
    s.Aero.StallCoefficient = wing.Factor;

    double liftSum = 0;
    double wingDrag = 0;
    for (int k = 0; k < 3; ++k) {
      const double ap = aw - twist[k];
      const double cu = mscSq * 6.28 * (aW * std::sin(2 * (ap + delta)) / 2 + s.Airfoils.WingLiftOffsetNow);
      const double cl = cu / (1 + wing.Factor * std::pow(std::fabs(mscRoot * (ap * aW + delta)), wing.Exponent));
      if (k == 0 && std::fabs(cu) > 0) s.Setup.InnerStallRatio = cl / cu;
      const double sep = (1 - 1 / (1 + wing.Factor * std::pow(std::fabs(ap * aW + delta), wing.Exponent))) *
                         std::pow(std::fabs(std::sin(ap + delta)), kRe);
      const double d = ap - s.Airfoils.WingMinDragAngle;
      const double profile =
          ((d * d * s.Airfoils.WingDragRise / (1 + std::pow(std::fabs(d), 3.5) * s.Airfoils.WingDragRiseLimit) + s.Airfoils.WingProfileDrag) /
               kRe +
           sep) *
          kM;
      const double cd = cu * cu / 3.14 / effAr + std::pow(sweepCos[k] * ar / effAr, 0.2) * profile;
      liftSum += groupArea[k] * cl;
      wingDrag += groupArea[k] * cd;
    }
    const double lw = liftSum;

    s.Setup.TailWakeGap = -o.TailplaneHingeY * std::tan(alpha) + s.Setup.TailWakeBase;

    const double kDen = ((a.FinHalfSpacing + 1) * a.FinArm / area) * span;
    if (alpha > 0 && kDen != 0 && alpha < kPi / (9 / kDen)) {
      s.Tail.FinShield = (1 + std::cos(9 / kDen * alpha)) / 2;
    } else {
      s.Tail.FinShield = alpha > 0 ? 0.0 : 1.0;
    }

    if (static_cast<float>(lw) > chart.MaxWingLift) {
      chart.MaxWingLift = static_cast<float>(lw);
      chart.MaxLiftAngle = alpha;
    }

    // A tailplane at the centre of gravity gives no factor; the last one stays.
    if (a.TailplaneArea > 0 && alpha < 0.087 && s.Masses.CgX != a.TailplaneArm) {
      chart.TailAngleFactor = (-area / a.TailplaneArea) * (s.Masses.CgX - s.Masses.WingAcOffset) / (s.Masses.CgX - a.TailplaneArm);
    }

    const double drag = wingDrag + ((s.Airfoils.TailProfileDrag * a.TailplaneArea + a.FinArea * 0.009) / kRt) * kM +
                        (a.ParasiteDragArea / kRe) * kM;
    double lt = 0;
    if (a.TailplaneArea > 0) {
      lt = mscSq * a.TailplaneArea * 6.28 *
           (aT * std::sin(2 * (alpha * chart.TailAngleFactor + s.Airfoils.TailAngleOffset)) / 2 + s.Airfoils.TailLiftOffset) /
           (1 + tail.Factor * std::pow(std::fabs(std::pow(s.Setup.TipSweepCos, 0.5) * (alpha * aT + s.Airfoils.TailAngleOffset)),
                                       tail.Exponent));
    }
    const double total = lw + lt;
    if (drag > 0 && total / drag > chart.BestLiftToDrag) {
      chart.BestLiftToDrag = total / drag;
      chart.LiftAtBestGlide = total;
    }
    if (total != 0 && drag > 0) {
      const double range = std::sqrt(std::fabs(s.Masses.DryMass / total)) * total / drag;
      if (range > chart.BestRangeValue && a.EngineCount > 1) {
        chart.BestRangeValue = range;
        chart.LiftAtBestGlide = lw;
      }
    }

    // Second pass without the leading-edge flap effect.
    const StallShape plain = Shape(kRe, aW, std::fabs(s.Airfoils.WingAngleOffset) / 5 + s.Airfoils.WingProfileDrag);
    s.Aero.StallExponent = plain.Exponent;
    s.Aero.StallCoefficient = plain.Factor;
    double plainSum = 0;
    for (int k = 0; k < 3; ++k) {
      const double ap = aw - twist[k];
      const double cu = mscSq * 6.28 * (aW * std::sin(2 * (ap + s.Airfoils.WingAngleOffset)) / 2 + s.Airfoils.WingLiftOffset);
      const double cl =
          cu / (1 + plain.Factor * std::pow(std::fabs(mscRoot * (ap * aW + s.Airfoils.WingAngleOffset)), plain.Exponent));
      plainSum += groupArea[k] * cl;
    }

    ChartPoint& pt = chart.Points[static_cast<std::size_t>(i)];
    pt.AngleOfAttack = alpha;
    pt.WingLift = lw;
    pt.TailLift = lt;
    pt.Drag = drag;
    pt.WingLiftPlain = plainSum;
    pt.InnerStallRatio = s.Setup.InnerStallRatio;
  }
}

void SetFlightLimits(FlightState& s, const ModelEvaluation& chart) {
  s.Setup.GroundAngleLimit = 0.45;
  if (s.Engine.EngineType != aircraft::EngineKind::Rocket && s.Airfoils.MaxAngleOfAttack / 0.9 > chart.MaxLiftAngle) {
    s.Airfoils.MaxAngleOfAttack = 0.9 * chart.MaxLiftAngle;
  }
  s.Setup.MinAngleOfAttack = -s.Airfoils.MaxAngleOfAttack - 0.04;
  if (-0.6 > s.Setup.MinAngleOfAttack) s.Setup.MinAngleOfAttack = -0.6;
  s.Airfoils.WingLiftOffsetNow = s.Airfoils.WingLiftOffset;
}

}  // namespace zarv::flight
