#include "flight/wing.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "flight/memo_math.h"
#include "flight/wind.h"

namespace zarv::flight {
namespace {

struct Group {
  double Station;      // spanwise reference point, m
  double Offset;       // chordwise offset from sweep, m
  double Area;         // one panel, m^2
  double Sweep;        // rad
  double SweepCos;
  double DihedralSin, DihedralCos;
  double Loaded;       // dihedral with bending
  double Twist;        // washout
};

}  // namespace

void UpdateWingAerodynamics(FlightState& s, const aircraft::AircraftData& a) {
  auto& p = s.Panels;
  const double v = s.AirSpeed;
  const double rho = s.AirDensity;
  const double alpha = s.AngleOfAttack;
  const double beta = s.Sideslip;
  const double chord = a.WingArea / a.WingSpan;
  // Each sine and cosine of an unchanging argument is taken once a step.
  const double cosAlpha = std::cos(alpha);
  const double sinAlpha = std::sin(alpha);
  const double cosBeta = std::cos(beta);

  const Group g[3] = {
      {s.InnerPanelSpanPos, s.InnerPanelSweepOffset, s.InnerPanelArea, a.InnerSweep, s.InnerSweepCos,
       s.InnerDihedralSin, s.InnerDihedralCos, s.InnerDihedralLoaded, 0.0},
      {s.OuterPanelSpanPos, s.OuterPanelSweepOffset, s.OuterPanelArea, a.OuterSweep, s.OuterSweepCos,
       s.OuterDihedralSin, s.OuterDihedralCos, s.OuterDihedralLoaded, s.HalfWashout},
      {s.TipPanelSpanPos, s.TipPanelSweepOffset, s.TipPanelArea, a.TipSweep, s.TipSweepCos,
       s.TipDihedralSin, s.TipDihedralCos, s.TipDihedralLoaded, a.TipWashout},
  };

  // 1-4. Dynamic pressures.
  s.DynamicPressure = rho == 0 ? 0.01 : rho * v * v / 2;
  if (s.TotalIncidence != 0) {
    const double ca = std::cos(alpha / s.TotalIncidence);
    const double cb = std::cos(beta / s.TotalIncidence);
    for (int k = 0; k < 3; ++k) {
      const double y = g[k].Station;
      p[2 * k + 1].PanelAirspeed = v + s.YawRate * ca * y - s.RollRate * y * cb;
      p[2 * k + 2].PanelAirspeed = v - s.YawRate * ca * y + s.RollRate * y * cb;
    }
  }
  for (int i = 1; i <= kWingPanelCount; ++i) p[i].PanelPressure = Sq(p[i].PanelAirspeed) * rho / 2;
  s.DynamicPressure = ((p[1].PanelPressure + p[2].PanelPressure) * s.InnerPanelArea +
                       s.CentrePanelArea * s.DynamicPressure +
                       (p[3].PanelPressure + p[4].PanelPressure) * s.OuterPanelArea +
                       (p[5].PanelPressure + p[6].PanelPressure) * s.TipPanelArea) /
                      a.WingArea;
  if (s.FlightTime < 0.1 && a.LaunchHeight == 0) {
    for (int i = 1; i <= 4; ++i) p[i].PanelPressure = 0;
  }

  // 6. Air movement.
  if (s.SupportAccel > 0 && s.GroundSpeed < 1) s.NormalLoad = 0;
  UpdateWind(s, a);
  UpdateUpdraftStrength(s);

  // 7. Centre section. The root angle takes incidence + angle of attack as
  // the air-data step kept them (its text form), not as they stand now.
  s.PitchRateAngle = ((s.WingAcOffset - s.CgX - chord / 2) * s.PitchRate) / v;
  if (std::fabs(s.PitchRateAngle) > 1.56) s.PitchRateAngle = 1.56 * (s.PitchRateAngle > 0 ? 1 : -1);
  s.WingRootAngle = s.AoaText + s.PitchRateAngle;

  // 8. Panel angles.
  const double arFactor =
      MemoPow(s.SideslipShareArPow, s.EffectiveAspectRatio / s.GeometricAspectRatio, 0.3) * beta * cosAlpha;
  double headingSin[2], headingCos[2];
  for (int side = 0; side < 2; ++side) {
    const double heading = side == 0 ? s.Heading - 1.57 : s.Heading + 1.57;
    headingSin[side] = std::sin(heading);
    headingCos[side] = std::cos(heading);
  }
  for (int k = 0; k < 3; ++k) {
    const double y = g[k].Station;
    s.PitchRateAngle = ((g[k].Offset + s.WingAcOffset - s.CgX - chord / 2) * s.PitchRate) / v;
    if (k == 0 && std::fabs(s.PitchRateAngle) > 1.56) s.PitchRateAngle = 1.56 * (s.PitchRateAngle > 0 ? 1 : -1);
    const double sideSlipShare = arFactor * g[k].Loaded;
    const double flowZ = s.BodyAirZ - s.PitchRateAngle;
    for (int side = 0; side < 2; ++side) {
      WingPanel& panel = p[2 * k + 1 + side];
      const bool left = side == 0;
      const double u = EvaluateUpdraft(s, s.PosX + y * headingSin[side], s.PosY + y * headingCos[side]);
      const double a0 = left ? FlowAngle(s.RollRate * y / v + flowZ, s.YawRate * y / v + s.BodyAirX)
                             : FlowAngle(flowZ - s.RollRate * y / v, s.BodyAirX - s.YawRate * y / v);
      // A panel standing still in the air feels no updraft angle.
      const double lift = s.ViewRollCos * GuardedDiv(u, panel.PanelAirspeed);
      panel.Angle = s.WingIncidenceRad + a0 - g[k].Twist + (left ? sideSlipShare : -sideSlipShare) + lift;
      panel.PanelPressure += rho * u * u / 2;
    }
  }

  // 9. Aileron.
  s.RollDamperScale = 0.3 / (1 + s.MachSquared * 20 * s.MachFactor * s.DynamicPressure * a.WingDeflection /
                                     a.WingSpan / 1000);
  if (s.RollDamperScale < 0.08) s.RollDamperScale = 0.08;
  s.AileronLift = s.RollDamperScale * s.AileronAngle;

  // 10. Apparent mass from the previous step's centre lift.
  s.ApparentMass = (((s.StallRatio - 1) + (1 - std::cos(2 * beta))) * s.CentreLiftArea * 7 + chord) / kPi *
                   a.WingArea * rho;
  s.Mass = s.FuelQuantity + s.DryMass;

  // 11. Centre-section lift.
  const double lf = s.LiftSlopeMachFactor;
  const double fNow = s.WingAngleOffsetNow;
  const double zeroLift = s.WingLiftOffsetNow;
  const double rootCurve = std::sin(2 * (s.WingRootAngle + fNow));
  const double cl0Plain = Sq(cosBeta) * 6.28 * (s.LiftSlope * rootCurve / 2 + zeroLift);
  const double cl0 = Sq(cosBeta) * lf * 6.28 * (s.LiftSlope * rootCurve / 2 + zeroLift);
  // The centre's drag takes the same stall power (slope x angle + offset).
  const double rootStallArg = std::fabs(s.WingRootAngle * s.LiftSlope + fNow);
  const double rootStallPow = std::pow(rootStallArg, s.StallExponent);
  const double s0 = 1 + s.StallCoefficient * rootStallPow;
  const double centreCl = cl0 / s0;
  s.StallRatio = centreCl <= 0.001 ? 1 : s0;
  p[0].Angle = s.WingRootAngle;
  p[0].RawLift = cl0;
  p[0].StalledLift = centreCl;

  // 12-13. Panel lift and soft stall.
  double plain[kWingPanelCount + 1] = {cl0Plain};
  double stallArg[kWingPanelCount + 1] = {rootStallArg};
  double stallPow[kWingPanelCount + 1] = {rootStallPow};
  for (int k = 0; k < 3; ++k) {
    const double f = k == 2 ? s.WingAngleOffset : fNow;
    for (int side = 0; side < 2; ++side) {
      const int i = 2 * k + 1 + side;
      WingPanel& panel = p[i];
      const bool left = side == 0;
      const double sweep = left ? g[k].Sweep - beta * cosAlpha : g[k].Sweep + beta * cosAlpha;
      double extra = 0;
      if (k == 0) extra = s.FlapAngle;
      if (k == 1) extra = left ? s.FlapAngle + s.AileronLift : s.FlapAngle - s.AileronLift;
      const double curve = panel.PanelLiftSlope * std::sin(2 * (panel.Angle + f)) / 2 + extra + zeroLift;
      const double cosSweep = std::cos(sweep);
      plain[i] = Sq(cosSweep) * 6.28 * curve;
      panel.RawLift = Sq(cosSweep) * lf * 6.28 * curve;
      stallArg[i] = std::fabs(std::sqrt(g[k].SweepCos) * (panel.PanelLiftSlope * panel.Angle + f));
      stallPow[i] = std::pow(stallArg[i], s.StallExponent);
      panel.StalledLift = panel.RawLift / (1 + s.StallCoefficient * stallPow[i]);
    }
  }

  // 14. Lift coefficients without the lift factor, for the induced drag.
  for (int i = 0; i <= kWingPanelCount; ++i) p[i].RawLift = lf != 0 ? p[i].RawLift / lf : plain[i];

  // 15. Drag. Where a panel's stall power had the same operand (an unswept
  // panel at the current offset) it is not taken again.
  const auto drag = [&](int i, double angle, double slope, double ar, double area, double cosSweep, double rawLift) {
    const double stallArgHere = std::fabs(slope * angle + fNow);
    const double stallPowHere =
        stallArgHere == stallArg[i] ? stallPow[i] : std::pow(stallArgHere, s.StallExponent);
    const double postStall = (1 - 1 / (1 + s.StallCoefficient * stallPowHere)) *
                             std::pow(std::fabs(std::sin(angle + fNow)), s.ReynoldsFactor);
    const double d = angle - s.WingMinDragAngle;
    const double profile =
        (d * d * s.WingDragRise / (1 + std::pow(std::fabs(d), 3.5) * s.WingDragRiseLimit) + s.WingProfileDrag) /
        s.ReynoldsFactor;
    const double total = postStall + profile;
    double result = (Sq(rawLift / cosSweep) / 3.14 / ar +
                     MemoPow(s.InducedArPow[i], s.GeometricAspectRatio * s.SweepAreaFactor / ar, 0.2) * total) *
                    area * s.MachFactor;
    return result + (std::cos(1.5 * angle - kPi) + 1) / 2 * area * 0.2;
  };
  s.CentreDrag = drag(0, s.WingRootAngle, s.LiftSlope, s.EffectiveAspectRatio, s.CentrePanelArea, 1.0, p[0].RawLift);
  p[0].Drag = s.CentreDrag;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const Group& gr = g[(i - 1) / 2];
    p[i].Drag = drag(i, p[i].Angle, p[i].PanelLiftSlope, p[i].PanelAspectRatio, gr.Area, gr.SweepCos, p[i].RawLift);
  }

  // 16. Centre lift area.
  s.CentreLiftArea = s.CentrePanelArea * centreCl;

  // 17-18. Into wind axes, then body axes.
  const double ca = cosAlpha;
  const double sa = sinAlpha;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const Group& gr = g[(i - 1) / 2];
    WingPanel& panel = p[i];
    const double delta = panel.Angle - alpha - s.WingIncidenceRad + gr.Twist;
    const double cd = std::cos(delta);
    const double sd = std::sin(delta);
    const double lift = panel.StalledLift;
    const double dr = panel.Drag;
    panel.StalledLift = cd * gr.DihedralCos * lift * gr.Area + sd * dr;
    panel.Drag = -sd * gr.DihedralCos * lift * gr.Area + cd * dr;
    panel.PanelLiftCoeff = ca * panel.StalledLift + sa * panel.Drag;
    panel.PanelDragCoeff = -sa * panel.StalledLift + ca * panel.Drag;
    // Outer and tip drag within +-2 x area, the coefficients formed first.
    if (i >= 3 && std::fabs(panel.Drag) > 2 * gr.Area) panel.Drag = 2 * gr.Area * (panel.Drag > 0 ? 1 : -1);
  }

  // 19. Totals.
  double liftSum = 0;
  double dragSum = 0;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    liftSum += GuardedDiv(p[i].PanelPressure * p[i].StalledLift, s.DynamicPressure);
    dragSum += GuardedDiv(p[i].PanelPressure * p[i].Drag, s.DynamicPressure);
  }
  s.WingLift = liftSum + s.CentreLiftArea;
  s.WingDrag = dragSum + s.CentreDrag;
}

}  // namespace zarv::flight
