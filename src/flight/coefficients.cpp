#include "flight/coefficients.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "flight/guarded_math.h"
#include "flight/memo_math.h"

namespace zarv::flight {
namespace {

double GroundEffectG(double h, double span) { return 33 * std::pow(h / span, 1.5); }

double ReynoldsTerm(double re) { return 3 * std::pow(re / 1e6, 4) + 1; }

}  // namespace

double LiftSlopeFactor(double liftFactor, double aspectRatio) {
  const double f = std::pow(std::pow(2.3, -1 / (liftFactor * aspectRatio + 2.3)), 3);
  return f < 0.65 ? 0.65 : f;
}

void RefreshAeroCoefficients(FlightState& s, const aircraft::AircraftData& a) {
  auto& p = s.Panels;
  const double groupCos[3] = {s.InnerSweepCos, s.OuterSweepCos, s.TipSweepCos};
  const double ar = s.GeometricAspectRatio;

  if (s.Altitude < 2000) {
    // Outer and tip panels first, each from its inboard neighbour as it stands.
    p[3].PanelHeight = (p[3].PanelHeight + p[1].PanelHeight) / 2;
    p[4].PanelHeight = (p[4].PanelHeight + p[2].PanelHeight) / 2;
    p[5].PanelHeight = (p[5].PanelHeight + p[3].PanelHeight) / 2;
    p[6].PanelHeight = (p[6].PanelHeight + p[4].PanelHeight) / 2;
    const double bankRise = 1.5 * std::sin(s.BankAngle);
    p[1].PanelHeight = (p[1].PanelHeight + s.Altitude + a.WingHeight + bankRise) / 2;
    p[2].PanelHeight = (p[2].PanelHeight + s.Altitude + a.WingHeight - bankRise) / 2;
    s.TailHeight = s.Altitude - (a.TailplaneArm - s.CgX) * s.PitchSin;

    for (int i = 1; i <= kWingPanelCount; ++i) {
      const double h = p[i].PanelHeight;
      if (h > 1) {
        const double g = GroundEffectG(h, a.WingSpan);
        p[i].PanelAspectRatio = MemoPow(s.PanelSweepPow[i], groupCos[(i - 1) / 2], 0.2) * ar * (g + 1) / g;
      }
    }
    if (s.TailHeight > 1) {
      const double g = GroundEffectG(s.TailHeight, 3);
      s.TailAspectRatio = MemoPow(s.TailSweepPow, s.SweepAreaFactor, 0.2) * 4 * (g + 1) / g;
    }
    double h = a.WingHeight + s.Altitude;
    if (h <= 1) h = 1;
    const double g = GroundEffectG(h, a.WingSpan);
    s.EffectiveAspectRatio = (g + 1) * ar / g;
  } else {
    s.EffectiveAspectRatio = ar;
    if (0.02 < s.LiftSlopeMachFactor && s.LiftSlopeMachFactor < 1) {
      s.EffectiveAspectRatio = ar * s.LiftSlopeMachFactor;
    }
    for (int i = 1; i <= kWingPanelCount; ++i) {
      p[i].PanelAspectRatio = MemoPow(s.PanelSweepPow[i], groupCos[(i - 1) / 2], 0.2) * s.EffectiveAspectRatio;
    }
    s.TailAspectRatio = MemoPow(s.TailSweepPow, s.SweepAreaFactor, 0.2) * 4;
  }

  const double lf = s.LiftSlopeMachFactor;
  s.LiftSlope = LiftSlopeFactor(lf, s.EffectiveAspectRatio);
  // A panel level with its neighbour has its aspect ratio and so its slope.
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const double panelAr = p[i].PanelAspectRatio;
    p[i].PanelLiftSlope = i % 2 == 0 && std::bit_cast<std::uint64_t>(panelAr) ==
                                            std::bit_cast<std::uint64_t>(p[i - 1].PanelAspectRatio)
                              ? p[i - 1].PanelLiftSlope
                              : LiftSlopeFactor(lf, panelAr);
  }
  s.TailLiftSlope = LiftSlopeFactor(lf, s.TailAspectRatio);

  const double ve = std::sqrt(2 * s.DynamicPressure / 1.225);
  const double nu = 1.7932e-5 / 1.225;
  const double chord = a.WingArea / a.WingSpan;
  if (s.AirDensity > 0 && s.DryMass > 2) {
    if (ve > 7) {
      s.ReynoldsFactor = 1.8 - 1.0 / ReynoldsTerm(ve * chord / nu);
    } else {
      s.ReynoldsFactor = 1.8 - 0.9 / ReynoldsTerm(7 * chord / nu);
    }
    const double ret = (ve > 7 ? ve : 7) * s.TailChord / nu;
    s.TailReynoldsFactor = 1.8 - 1.1 / ReynoldsTerm(ret);
  } else {
    s.ReynoldsFactor = 1.8;
    s.TailReynoldsFactor = 1.8;
  }
  if (a.TailplaneArea <= 0 || s.AirDensity <= 0) s.TailReynoldsFactor = 1;

  s.LowSpeedLimit = (ar * 4 / s.EffectiveAspectRatio) * chord;
  if (s.AirSpeed < s.LowSpeedLimit) {
    s.LiftSlopeMachFactor = std::sin((ve / s.LowSpeedLimit) * kPi / 2);
  }

  const double m = std::fabs(0.85 * s.WingAngleOffset + 0.15 * s.WingAngleOffsetNow) / 5 + s.WingProfileDrag;
  s.StallExponent = std::pow(s.ReynoldsFactor, 0.7) * (Sq(s.LiftSlope) * 0.5 / std::sqrt(m));
  s.StallCoefficient = std::pow(s.ReynoldsFactor, 4) *
                       (std::pow(s.LiftSlope, 11 * std::sqrt(s.ReynoldsFactor)) * 8e-6 / std::pow(m, 4));

  const double mt = std::fabs(s.TailAngleOffset) / 5 + s.TailProfileDrag;
  s.TailStallExponent = std::pow(s.TailReynoldsFactor, 0.7) * (Sq(s.TailLiftSlope) * 0.5 / std::sqrt(mt));
  s.TailStallCoefficient = std::pow(s.TailReynoldsFactor, 4) *
                           (std::pow(s.TailLiftSlope, 11 * std::sqrt(s.TailReynoldsFactor)) * 8e-6 / std::pow(mt, 4));
}

}  // namespace zarv::flight
