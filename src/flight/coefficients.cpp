#include "flight/coefficients.h"

#include <algorithm>
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
  // Bounded above by its value at full speed: a lift factor near -2.3 / AR
  // would otherwise take it to any size.
  const double f = std::pow(std::pow(2.3, -1 / (liftFactor * aspectRatio + 2.3)), 3);
  if (f < 0.65) return 0.65;
  return f > 1 ? 1.0 : f;
}

void RefreshAeroCoefficients(FlightState& s, const aircraft::AircraftData& a) {
  auto& p = s.Wing.Panels;
  const double groupCos[3] = {s.Setup.InnerSweepCos, s.Setup.OuterSweepCos, s.Setup.TipSweepCos};
  const double ar = s.Setup.GeometricAspectRatio;

  if (s.Body.Altitude < 2000) {
    // Outer and tip panels first, each from its inboard neighbour as it stands.
    p[3].PanelHeight = (p[3].PanelHeight + p[1].PanelHeight) / 2;
    p[4].PanelHeight = (p[4].PanelHeight + p[2].PanelHeight) / 2;
    p[5].PanelHeight = (p[5].PanelHeight + p[3].PanelHeight) / 2;
    p[6].PanelHeight = (p[6].PanelHeight + p[4].PanelHeight) / 2;
    const double bankRise = 1.5 * std::sin(s.Body.BankAngle);
    p[1].PanelHeight = (p[1].PanelHeight + s.Body.Altitude + a.WingHeight + bankRise) / 2;
    p[2].PanelHeight = (p[2].PanelHeight + s.Body.Altitude + a.WingHeight - bankRise) / 2;
    s.Aero.TailHeight = s.Body.Altitude - (a.TailplaneArm - s.Masses.CgX) * s.Body.PitchSin;

    for (int i = 1; i <= kWingPanelCount; ++i) {
      const double h = p[i].PanelHeight;
      if (h > 1) {
        const double g = GroundEffectG(h, a.WingSpan);
        p[i].PanelAspectRatio = MemoPow(s.Memo.PanelSweepPow[i], groupCos[(i - 1) / 2], 0.2) * ar * (g + 1) / g;
      }
    }
    if (s.Aero.TailHeight > 1) {
      const double g = GroundEffectG(s.Aero.TailHeight, 3);
      s.Aero.TailAspectRatio = MemoPow(s.Memo.TailSweepPow, s.Setup.SweepAreaFactor, 0.2) * 4 * (g + 1) / g;
    }
    double h = a.WingHeight + s.Body.Altitude;
    if (h <= 1) h = 1;
    const double g = GroundEffectG(h, a.WingSpan);
    s.Aero.EffectiveAspectRatio = (g + 1) * ar / g;
  } else {
    s.Aero.EffectiveAspectRatio = ar;
    if (0.02 < s.Aero.LiftSlopeMachFactor && s.Aero.LiftSlopeMachFactor < 1) {
      s.Aero.EffectiveAspectRatio = ar * s.Aero.LiftSlopeMachFactor;
    }
    for (int i = 1; i <= kWingPanelCount; ++i) {
      p[i].PanelAspectRatio = MemoPow(s.Memo.PanelSweepPow[i], groupCos[(i - 1) / 2], 0.2) * s.Aero.EffectiveAspectRatio;
    }
    s.Aero.TailAspectRatio = MemoPow(s.Memo.TailSweepPow, s.Setup.SweepAreaFactor, 0.2) * 4;
  }

  const double lf = s.Aero.LiftSlopeMachFactor;
  s.Aero.LiftSlope = LiftSlopeFactor(lf, s.Aero.EffectiveAspectRatio);
  // A panel level with its neighbour has its aspect ratio and so its slope.
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const double panelAr = p[i].PanelAspectRatio;
    p[i].PanelLiftSlope = i % 2 == 0 && std::bit_cast<std::uint64_t>(panelAr) ==
                                            std::bit_cast<std::uint64_t>(p[i - 1].PanelAspectRatio)
                              ? p[i - 1].PanelLiftSlope
                              : LiftSlopeFactor(lf, panelAr);
  }
  s.Aero.TailLiftSlope = LiftSlopeFactor(lf, s.Aero.TailAspectRatio);

  const double ve = std::sqrt(2 * s.Air.DynamicPressure / 1.225);
  const double nu = 1.7932e-5 / 1.225;
  const double chord = a.WingArea / a.WingSpan;
  if (s.Air.AirDensity > 0 && s.Masses.DryMass > 2) {
    if (ve > 7) {
      s.Aero.ReynoldsFactor = 1.8 - 1.0 / ReynoldsTerm(ve * chord / nu);
    } else {
      s.Aero.ReynoldsFactor = 1.8 - 0.9 / ReynoldsTerm(7 * chord / nu);
    }
    const double ret = (ve > 7 ? ve : 7) * s.Setup.TailChord / nu;
    s.Aero.TailReynoldsFactor = 1.8 - 1.1 / ReynoldsTerm(ret);
  } else {
    s.Aero.ReynoldsFactor = 1.8;
    s.Aero.TailReynoldsFactor = 1.8;
  }
  if (a.TailplaneArea <= 0 || s.Air.AirDensity <= 0) s.Aero.TailReynoldsFactor = 1;

  s.Aero.LowSpeedLimit = (ar * 4 / s.Aero.EffectiveAspectRatio) * chord;
  if (s.Body.AirSpeed < s.Aero.LowSpeedLimit) {
    // Ve comes from the panels' mean dynamic pressure, which a spinning wing
    // raises far above the airspeed's: the factor stops at full lift rather
    // than turning over into negative values.
    s.Aero.LiftSlopeMachFactor = std::sin(std::min(ve / s.Aero.LowSpeedLimit, 1.0) * kPi / 2);
  }

  const double m = std::fabs(0.85 * s.Airfoils.WingAngleOffset + 0.15 * s.Airfoils.WingAngleOffsetNow) / 5 + s.Airfoils.WingProfileDrag;
  s.Aero.StallExponent = std::pow(s.Aero.ReynoldsFactor, 0.7) * (Sq(s.Aero.LiftSlope) * 0.5 / std::sqrt(m));
  s.Aero.StallCoefficient = std::pow(s.Aero.ReynoldsFactor, 4) *
                       (std::pow(s.Aero.LiftSlope, 11 * std::sqrt(s.Aero.ReynoldsFactor)) * 8e-6 / std::pow(m, 4));

  const double mt = std::fabs(s.Airfoils.TailAngleOffset) / 5 + s.Airfoils.TailProfileDrag;
  s.Aero.TailStallExponent = std::pow(s.Aero.TailReynoldsFactor, 0.7) * (Sq(s.Aero.TailLiftSlope) * 0.5 / std::sqrt(mt));
  s.Aero.TailStallCoefficient = std::pow(s.Aero.TailReynoldsFactor, 4) *
                           (std::pow(s.Aero.TailLiftSlope, 11 * std::sqrt(s.Aero.TailReynoldsFactor)) * 8e-6 / std::pow(mt, 4));
}

}  // namespace zarv::flight
