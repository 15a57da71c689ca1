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
  auto& p = s.Wing.Panels;
  const double v = s.Body.AirSpeed;
  const double rho = s.Air.AirDensity;
  const double alpha = s.Air.AngleOfAttack;
  const double beta = s.Air.Sideslip;
  const double chord = a.WingArea / a.WingSpan;
  // Each sine and cosine of an unchanging argument is taken once a step.
  const double cosAlpha = std::cos(alpha);
  const double sinAlpha = std::sin(alpha);
  const double cosBeta = std::cos(beta);

  const Group g[3] = {
      {s.Setup.InnerPanelSpanPos, s.Setup.InnerPanelSweepOffset, s.Setup.InnerPanelArea, a.InnerSweep, s.Setup.InnerSweepCos,
       s.Setup.InnerDihedralSin, s.Setup.InnerDihedralCos, s.Controls.InnerDihedralLoaded, 0.0},
      {s.Setup.OuterPanelSpanPos, s.Setup.OuterPanelSweepOffset, s.Setup.OuterPanelArea, a.OuterSweep, s.Setup.OuterSweepCos,
       s.Setup.OuterDihedralSin, s.Setup.OuterDihedralCos, s.Controls.OuterDihedralLoaded, s.Setup.HalfWashout},
      {s.Setup.TipPanelSpanPos, s.Setup.TipPanelSweepOffset, s.Setup.TipPanelArea, a.TipSweep, s.Setup.TipSweepCos,
       s.Setup.TipDihedralSin, s.Setup.TipDihedralCos, s.Controls.TipDihedralLoaded, a.TipWashout},
  };

  // Dynamic pressures; the wing's is the panels' area-weighted mean.
  const double freeStream = rho == 0 ? 0.01 : rho * v * v / 2;
  if (s.Air.TotalIncidence != 0) {
    const double ca = std::cos(alpha / s.Air.TotalIncidence);
    const double cb = std::cos(beta / s.Air.TotalIncidence);
    for (int k = 0; k < 3; ++k) {
      const double y = g[k].Station;
      p[2 * k + 1].PanelAirspeed = v + s.Body.YawRate * ca * y - s.Body.RollRate * y * cb;
      p[2 * k + 2].PanelAirspeed = v - s.Body.YawRate * ca * y + s.Body.RollRate * y * cb;
    }
  }
  for (int i = 1; i <= kWingPanelCount; ++i) p[i].PanelPressure = Sq(p[i].PanelAirspeed) * rho / 2;
  s.Air.DynamicPressure = ((p[1].PanelPressure + p[2].PanelPressure) * s.Setup.InnerPanelArea +
                       s.Setup.CentrePanelArea * freeStream +
                       (p[3].PanelPressure + p[4].PanelPressure) * s.Setup.OuterPanelArea +
                       (p[5].PanelPressure + p[6].PanelPressure) * s.Setup.TipPanelArea) /
                      a.WingArea;
  if (s.Loop.FlightTime < 0.1 && aircraft::StartsFromSurface(a)) {
    for (int i = 1; i <= 4; ++i) p[i].PanelPressure = 0;
  }

  // Wind and updraft at the aircraft; no normal load while it rests.
  if (s.Air.SupportAccel > 0 && s.Body.GroundSpeed < 1) s.Air.NormalLoad = 0;
  UpdateWind(s, a);
  UpdateUpdraftStrength(s);

  // Centre section. The root angle takes incidence + angle of attack as
  // the air-data step kept them (its text form), not as they stand now.
  s.Wing.PitchRateAngle = ((s.Masses.WingAcOffset - s.Masses.CgX - chord / 2) * s.Body.PitchRate) / v;
  if (std::fabs(s.Wing.PitchRateAngle) > 1.56) s.Wing.PitchRateAngle = 1.56 * (s.Wing.PitchRateAngle > 0 ? 1 : -1);
  s.Wing.WingRootAngle = s.Air.AoaText + s.Wing.PitchRateAngle;

  // Panel angles.
  const double arFactor =
      MemoPow(s.Memo.SideslipShareArPow, s.Aero.EffectiveAspectRatio / s.Setup.GeometricAspectRatio, 0.3) * beta * cosAlpha;
  double headingSin[2], headingCos[2];
  for (int side = 0; side < 2; ++side) {
    const double heading = side == 0 ? s.Body.Heading - 1.57 : s.Body.Heading + 1.57;
    headingSin[side] = std::sin(heading);
    headingCos[side] = std::cos(heading);
  }
  // The air data already holds the updraft the last panel found (the
  // airspeed and angle of attack are relative to that air): a panel feels
  // only how much faster or slower the air rises at its own station.
  const double heldUpdraft = s.Air.VerticalWind;
  for (int k = 0; k < 3; ++k) {
    const double y = g[k].Station;
    double pitchRateAngle = ((g[k].Offset + s.Masses.WingAcOffset - s.Masses.CgX - chord / 2) * s.Body.PitchRate) / v;
    if (k == 0 && std::fabs(pitchRateAngle) > 1.56) pitchRateAngle = 1.56 * (pitchRateAngle > 0 ? 1 : -1);
    const double sideSlipShare = arFactor * g[k].Loaded;
    const double flowZ = s.Air.BodyAirZ - pitchRateAngle;
    for (int side = 0; side < 2; ++side) {
      WingPanel& panel = p[2 * k + 1 + side];
      const bool left = side == 0;
      const double u =
          EvaluateUpdraft(s, s.Body.PosX + y * headingSin[side], s.Body.PosY + y * headingCos[side]) - heldUpdraft;
      const double a0 = left ? FlowAngle(s.Body.RollRate * y / v + flowZ, s.Body.YawRate * y / v + s.Air.BodyAirX)
                             : FlowAngle(flowZ - s.Body.RollRate * y / v, s.Air.BodyAirX - s.Body.YawRate * y / v);
      // A panel standing still in the air feels no updraft angle.
      const double lift = s.Body.ViewRollCos * GuardedDiv(u, panel.PanelAirspeed);
      panel.Angle = s.Setup.WingIncidenceRad + a0 - g[k].Twist + (left ? sideSlipShare : -sideSlipShare) + lift;
      panel.PanelPressure += rho * u * u / 2;
    }
  }

  // Aileron lift, weakened by Mach number and wing flex (to 0.08 at least).
  s.Wing.RollDamperScale = 0.3 / (1 + s.Air.MachSquared * 20 * s.Aero.MachFactor * s.Air.DynamicPressure * a.WingDeflection /
                                     a.WingSpan / 1000);
  if (s.Wing.RollDamperScale < 0.08) s.Wing.RollDamperScale = 0.08;
  s.Wing.AileronLift = s.Wing.RollDamperScale * s.Controls.AileronAngle;

  // Apparent mass from the previous step's centre lift. A deeply stalled
  // centre section with negative lift would make it negative, as large as
  // the mass itself; the air carried along never makes the aircraft lighter.
  s.Masses.ApparentMass = (((s.Wing.StallRatio - 1) + (1 - std::cos(2 * beta))) * s.Wing.CentreLiftArea * 7 + chord) / kPi *
                   a.WingArea * rho;
  if (s.Masses.ApparentMass < 0) s.Masses.ApparentMass = 0;
  s.Masses.Mass = s.Masses.FuelQuantity + s.Masses.DryMass;

  // Centre-section lift.
  const double lf = s.Aero.LiftSlopeMachFactor;
  const double fNow = s.Airfoils.WingAngleOffsetNow;
  const double zeroLift = s.Airfoils.WingLiftOffsetNow;
  const double rootCurve = std::sin(2 * (s.Wing.WingRootAngle + fNow));
  const double cl0Plain = Sq(cosBeta) * 6.28 * (s.Aero.LiftSlope * rootCurve / 2 + zeroLift);
  const double cl0 = Sq(cosBeta) * lf * 6.28 * (s.Aero.LiftSlope * rootCurve / 2 + zeroLift);
  // The centre's drag takes the same stall power (slope x angle + offset).
  const double rootStallArg = std::fabs(s.Wing.WingRootAngle * s.Aero.LiftSlope + fNow);
  const double rootStallPow = std::pow(rootStallArg, s.Aero.StallExponent);
  const double s0 = 1 + s.Aero.StallCoefficient * rootStallPow;
  const double centreCl = cl0 / s0;
  s.Wing.StallRatio = centreCl <= 0.001 ? 1 : s0;
  p[0].Angle = s.Wing.WingRootAngle;
  p[0].RawLift = cl0;
  p[0].StalledLift = centreCl;

  // Panel lift and soft stall.
  double plain[kWingPanelCount + 1] = {cl0Plain};
  double stallArg[kWingPanelCount + 1] = {rootStallArg};
  double stallPow[kWingPanelCount + 1] = {rootStallPow};
  for (int k = 0; k < 3; ++k) {
    const double f = k == 2 ? s.Airfoils.WingAngleOffset : fNow;
    for (int side = 0; side < 2; ++side) {
      const int i = 2 * k + 1 + side;
      WingPanel& panel = p[i];
      const bool left = side == 0;
      const double sweep = left ? g[k].Sweep - beta * cosAlpha : g[k].Sweep + beta * cosAlpha;
      double extra = 0;
      if (k == 0) extra = s.Controls.FlapAngle;
      if (k == 1) extra = left ? s.Controls.FlapAngle + s.Wing.AileronLift : s.Controls.FlapAngle - s.Wing.AileronLift;
      const double curve = panel.PanelLiftSlope * std::sin(2 * (panel.Angle + f)) / 2 + extra + zeroLift;
      const double cosSweep = std::cos(sweep);
      plain[i] = Sq(cosSweep) * 6.28 * curve;
      panel.RawLift = Sq(cosSweep) * lf * 6.28 * curve;
      stallArg[i] = std::fabs(std::sqrt(g[k].SweepCos) * (panel.PanelLiftSlope * panel.Angle + f));
      stallPow[i] = std::pow(stallArg[i], s.Aero.StallExponent);
      panel.StalledLift = panel.RawLift / (1 + s.Aero.StallCoefficient * stallPow[i]);
    }
  }

  // Lift coefficients without the lift factor, for the induced drag.
  for (int i = 0; i <= kWingPanelCount; ++i) p[i].IncompressibleLift = lf != 0 ? p[i].RawLift / lf : plain[i];

  // Drag. Where a panel's stall power had the same operand (an unswept
  // panel at the current offset) it is not taken again.
  const auto drag = [&](int i, double angle, double slope, double ar, double area, double cosSweep, double liftCoeff) {
    const double stallArgHere = std::fabs(slope * angle + fNow);
    const double stallPowHere =
        stallArgHere == stallArg[i] ? stallPow[i] : std::pow(stallArgHere, s.Aero.StallExponent);
    const double postStall = (1 - 1 / (1 + s.Aero.StallCoefficient * stallPowHere)) *
                             std::pow(std::fabs(std::sin(angle + fNow)), s.Aero.ReynoldsFactor);
    const double d = angle - s.Airfoils.WingMinDragAngle;
    const double profile =
        (d * d * s.Airfoils.WingDragRise / (1 + std::pow(std::fabs(d), 3.5) * s.Airfoils.WingDragRiseLimit) + s.Airfoils.WingProfileDrag) /
        s.Aero.ReynoldsFactor;
    const double total = postStall + profile;
    double result = (Sq(liftCoeff / cosSweep) / 3.14 / ar +
                     MemoPow(s.Memo.InducedArPow[i], s.Setup.GeometricAspectRatio * s.Setup.SweepAreaFactor / ar, 0.2) * total) *
                    area * s.Aero.MachFactor;
    return result + (std::cos(1.5 * angle - kPi) + 1) / 2 * area * 0.2;
  };
  s.Wing.CentreDrag = drag(0, s.Wing.WingRootAngle, s.Aero.LiftSlope, s.Aero.EffectiveAspectRatio, s.Setup.CentrePanelArea, 1.0, p[0].IncompressibleLift);
  p[0].Drag = s.Wing.CentreDrag;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const Group& gr = g[(i - 1) / 2];
    p[i].Drag = drag(i, p[i].Angle, p[i].PanelLiftSlope, p[i].PanelAspectRatio, gr.Area, gr.SweepCos, p[i].IncompressibleLift);
  }

  // Lift area of the centre section.
  s.Wing.CentreLiftArea = s.Setup.CentrePanelArea * centreCl;

  // Into wind axes, then body axes.
  const double ca = cosAlpha;
  const double sa = sinAlpha;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    const Group& gr = g[(i - 1) / 2];
    WingPanel& panel = p[i];
    const double delta = panel.Angle - alpha - s.Setup.WingIncidenceRad + gr.Twist;
    const double cd = std::cos(delta);
    const double sd = std::sin(delta);
    const double lift = panel.StalledLift;
    const double dr = panel.Drag;
    panel.PanelLiftArea = cd * gr.DihedralCos * lift * gr.Area + sd * dr;
    panel.PanelDragArea = -sd * gr.DihedralCos * lift * gr.Area + cd * dr;
    panel.PanelLiftCoeff = ca * panel.PanelLiftArea + sa * panel.PanelDragArea;
    panel.PanelDragCoeff = -sa * panel.PanelLiftArea + ca * panel.PanelDragArea;
    // Outer and tip drag within +-2 x area, the coefficients formed first.
    if (i >= 3 && std::fabs(panel.PanelDragArea) > 2 * gr.Area) panel.PanelDragArea = 2 * gr.Area * (panel.PanelDragArea > 0 ? 1 : -1);
  }

  // The panels' lift and drag summed as force areas, with the centre's lift.
  double liftSum = 0;
  double dragSum = 0;
  for (int i = 1; i <= kWingPanelCount; ++i) {
    liftSum += GuardedDiv(p[i].PanelPressure * p[i].PanelLiftArea, s.Air.DynamicPressure);
    dragSum += GuardedDiv(p[i].PanelPressure * p[i].PanelDragArea, s.Air.DynamicPressure);
  }
  s.Wing.WingLift = liftSum + s.Wing.CentreLiftArea;
  s.Wing.WingDrag = dragSum + s.Wing.CentreDrag;
}

}  // namespace zarv::flight
