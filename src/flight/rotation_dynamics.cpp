#include "flight/rotation_dynamics.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "flight/launch_run.h"
#include "flight/memo_math.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Normal and longitudinal force of panel i (N).
double PanelLift(const FlightState& s, int i) { return s.Wing.Panels[i].PanelLiftCoeff * s.Wing.Panels[i].PanelPressure; }
double PanelDrag(const FlightState& s, int i) { return s.Wing.Panels[i].PanelDragCoeff * s.Wing.Panels[i].PanelPressure; }

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

void RefreshAttitudeSines(BodyMotion& body, MemoTables& memo) {
  body.PitchSin = std::sin(body.PitchAngle);
  body.PitchCos = std::cos(body.PitchAngle);
  body.HeadingSin = std::sin(body.Heading);
  body.HeadingCos = std::cos(body.Heading);
  const SinCosMemo& bank = MemoSinCos(memo.BankSinCos, body.BankAngle);
  body.ViewRollSin = bank.Sin;
  body.ViewRollCos = bank.Cos;
}

// Divides v by its length; a vector of no length (or not finite) keeps its
// previous direction.
void Normalise(std::array<double, 3>& v, const std::array<double, 3>& previous) {
  const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (n > 0 && std::isfinite(n)) {
    v = {v[0] / n, v[1] / n, v[2] / n};
  } else {
    v = previous;
  }
}

// The rates move the top vector as if it stayed square to the nose, and
// nothing else keeps it so: bent far toward the nose, the bank comes from a
// small remainder and jumps from step to step. Its part along the nose is
// then taken away; the bank, which comes from the part square to the nose,
// stays as it was. A frame that stays near square is left alone.
void SquareTopToNose(const std::array<double, 3>& nose, std::array<double, 3>& top) {
  const double lean = nose[0] * top[0] + nose[1] * top[1] + nose[2] * top[2];
  if (!(std::fabs(lean) > kTopLeanLimit)) return;
  const std::array<double, 3> leaning = top;
  for (int i = 0; i < 3; ++i) top[i] -= lean * nose[i];
  Normalise(top, leaning);
}

}  // namespace

void UpdateCentreOfGravity(const SetUpConstants& setup, const BodyMotion& body,
                           const aircraft::AircraftData& a, MassProperties& masses) {
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    masses.CgX = (masses.PilotArm * a.PilotWeight + masses.StructureMoment + masses.FuelQuantity * masses.TrimCentre) / masses.Mass;
  } else {
    masses.CgX = (((setup.BodyHeight / 2 - setup.DihedralRise) * body.PitchSin + masses.TrimCentre) * a.PilotWeight + masses.StructureMoment) /
            masses.Mass;
  }
}

void ComputeRollAcceleration(FlightState& s, const aircraft::AircraftData& a) {
  const double r1 = s.Setup.InnerPanelSpanPos, r2 = s.Setup.OuterPanelSpanPos, r3 = s.Setup.TipPanelSpanPos;
  const double t2 = s.Setup.OuterDihedralSin, t3 = s.Setup.TipDihedralSin;
  const double d1 = PanelLift(s, 1) - PanelLift(s, 2);
  const double d2 = PanelLift(s, 3) - PanelLift(s, 4);
  const double d3 = PanelLift(s, 5) - PanelLift(s, 6);
  double m = r1 * d1 + r2 * d2 + r3 * d3;
  m += t2 * r2 * d2;
  m += t3 * r3 * d3;
  m += std::sqrt(a.FinArea) * s.Tail.FinBodySideArea;
  m += s.Engine.PropellerTorqueMoment;
  m += s.Controls.CasRollMoment;
  m -= std::fabs(s.Body.RollRate) * s.Air.AirDensity * a.WingArea * s.Body.RollRate;
  s.Body.RollAccel = m / s.Masses.RollInertia;
}

void ComputePitchYawAcceleration(FlightState& s, const aircraft::AircraftData& a) {
  const double q = s.Air.DynamicPressure;
  const double pi = s.Masses.PitchInertia;
  const double cg = s.Masses.CgX;

  // Base pitch term: a light aircraft clear of the platform feels its tail
  // through the flexible rear fuselage.
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.Body.CourseDistance >= a.OverallLength) {
    const int sign = -(Sgn(a.TailplaneArea) * Sgn(a.TailplaneArm));
    s.Body.PitchAccel = sign * (cg - a.TailplaneArm) *
                   (a.RearFuselageStiffness * s.Controls.RearFuselageBend -
                    Sgn(a.TailplaneArm) * a.TailWeight * (s.Air.SupportAccel + s.Air.NormalLoad)) /
                   pi;
  } else {
    s.Body.PitchAccel = ((cg - a.TailplaneArm) * s.Tail.TailLiftArea * q - s.Engine.GrossThrust * s.Controls.NozzlePitch * s.Setup.TailPointArm * 0.8 +
                    s.Controls.CasPitchMoment) /
                   pi;
  }
  s.Body.PitchAccel -= (q * s.Wing.CentreLiftArea * (0 - cg) + s.Tail.WingMomentTerm) / pi;
  const double stations[3] = {s.Setup.InnerPanelSpanPos, s.Setup.OuterPanelSpanPos, s.Setup.TipPanelSpanPos};
  const double offsets[3] = {s.Setup.InnerPanelSweepOffset, s.Setup.OuterPanelSweepOffset, s.Setup.TipPanelSweepOffset};
  const double dihedralSin[3] = {s.Setup.InnerDihedralSin, s.Setup.OuterDihedralSin, s.Setup.TipDihedralSin};
  for (int k = 0; k < 3; ++k) {
    s.Body.PitchAccel -= (PanelLift(s, 2 * k + 1) + PanelLift(s, 2 * k + 2)) * (offsets[k] - cg) / pi;
  }
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) s.Body.PitchAccel -= s.Setup.GearHeight * 0.8 * s.Ground.GearExtension * q / pi;

  // Yaw from the panels' drag and tilted lift, the fin, the body and engines.
  const double sb = std::sin(s.Air.Sideslip), cb = std::cos(s.Air.Sideslip);
  double yaw = 0;
  for (int k = 0; k < 3; ++k) {
    const double r = stations[k];
    const double x = offsets[k] - cg;
    yaw += (r * cb - x * sb) * PanelDrag(s, 2 * k + 2) - (x * sb + r * cb) * PanelDrag(s, 2 * k + 1) +
           dihedralSin[k] * x * (PanelLift(s, 2 * k + 2) - PanelLift(s, 2 * k + 1));
  }
  s.Body.YawAccel = yaw / s.Masses.YawInertia;
  s.Body.YawAccel += ((s.Tail.FinSideTerm2 + s.Tail.FinBodySideArea) * q * (cg - a.FinArm) -
                 (-0.75 * s.Setup.MeanChord * s.Setup.RootChordRatio - cg) * (s.Tail.BodySideTerm / 3) * q + s.Engine.PFactorMoment +
                 s.Controls.CasYawMoment + s.Engine.GrossThrust * s.Controls.NozzleYaw * s.Setup.TailPointArm * 0.8) /
                s.Masses.YawInertia;

  // Damping.
  const double l = a.OverallLength;
  s.Body.PitchAccel += s.Air.AirDensity *
                  ((l / 2) * (l / 2) * (l - 2 * s.Setup.TailPointArm) * 4 * s.Setup.BodyHalfWidth * std::sin(s.Air.AngleOfAttack) +
                   (s.Setup.MeanChord * s.Setup.MeanChord * a.WingArea + 2 * l * l * l * s.Setup.BodyHalfWidth) *
                       (-10 * std::fabs(s.Body.PitchRate) * s.Body.PitchRate)) /
                  pi;
  s.Body.YawAccel += s.Air.AirDensity * (l * l * l * s.Setup.BodyHeight + s.Setup.MeanChord * s.Setup.MeanChord * s.Setup.MeanChord * a.WingSpan / 20) *
                (-1 * std::fabs(s.Body.YawRate) * s.Body.YawRate) / s.Masses.YawInertia;

  // Roll and yaw together pitch the aircraft (inertia coupling).
  s.Body.CouplingAngle = s.Body.RollRate == 0 ? kPi / 2 : std::atan(s.Body.YawRate / s.Body.RollRate);
  const double sa = std::sin(2 * s.Body.CouplingAngle);
  const double p2 = s.Body.RollRate * s.Body.RollRate * sa;
  const double r2 = s.Body.YawRate * s.Body.YawRate * sa;
  s.Body.PitchAccel += Sgn(sa) * std::sqrt(p2 * p2 + r2 * r2) / 6;
  if (s.Body.AirSpeed < 1) s.Body.PitchAccel = 0;
}

void UpdateBodyRates(const LoopTiming& loop, const AirData& air, const GroundState& ground,
                     BodyMotion& body) {
  if (ground.TipContactYawRate != 0) {
    body.PitchRate = ground.TipContactYawRate * body.ViewRollSin;
    body.YawRate = body.ViewRollCos * ground.TipContactYawRate;
    body.RollRate = -body.ViewRollCos * ground.TipContactRollRate;
    body.TurnRate = air.DriftAngle * 15;
  } else {
    const double dt = 1.0 / loop.StepsPerSecond;
    body.YawRate += body.YawAccel * dt;
    body.PitchRate += body.PitchAccel * dt;
    body.RollRate += body.RollAccel * dt;
  }
  body.YawRate = Limited(body.YawRate, kYawRateLimit);
  body.PitchRate = Limited(body.PitchRate, kPitchRateLimit);
  body.RollRate = Limited(body.RollRate, kRollRateLimit);
}

void IntegrateAttitudeVectors(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                              const aircraft::AircraftData& a, BodyMotion& body, MemoTables& memo) {
  const double dt = 1.0 / loop.StepsPerSecond;
  const double cp = body.PitchCos, sp = body.PitchSin;
  const double ch = body.HeadingCos, sh = body.HeadingSin;
  const double cb = body.ViewRollCos, sb = body.ViewRollSin;
  const double p = body.RollRate, q = body.PitchRate, r = body.YawRate;

  const std::array<double, 3> nose0 = body.NoseVector;
  if (a.TailHoldFlag != 0 && OnDeck(setup, body, ground, a, DeckContact::TailEnd)) {
    // The tail end rests on the sloping deck. Where that is far from the
    // nose's height (a steep launch pitch, a fast start, a high deck) the
    // nose goes toward it by at most kTailHoldReach a step: the deck never
    // snaps it, nor lets go of it for being far.
    const double tailOnDeck = TailOnDeckNoseHeight(setup, body, a);
    const double move = tailOnDeck - nose0[2];
    body.NoseVector[2] = std::fabs(move) <= kTailHoldReach ? tailOnDeck : nose0[2] + Sgn(move) * kTailHoldReach;
  } else {
    body.NoseVectorRate = {q * (-cb * sp * sh + ch * sb) + r * (sh * sb * sp + ch * cb),
                        q * (-cb * sp * ch - sh * sb) + r * (-sh * cb + ch * sb * sp), q * (cb * cp) + r * (-cp * sb)};
    for (int i = 0; i < 3; ++i) body.NoseVector[i] += body.NoseVectorRate[i] * dt;
  }
  Normalise(body.NoseVector, nose0);

  const std::array<double, 3> top0 = body.TopVector;
  body.TopVectorRate = {p * (sp * sb * sh + cb * ch) - q * (sh * cp), p * (sp * sb * ch - cb * sh) - q * (ch * cp),
                     p * (-sb * cp) - q * sp};
  for (int i = 0; i < 3; ++i) body.TopVector[i] += body.TopVectorRate[i] * dt;
  Normalise(body.TopVector, top0);
  SquareTopToNose(body.NoseVector, body.TopVector);

  const double nx = body.NoseVector[0], ny = body.NoseVector[1], nz = body.NoseVector[2];
  body.PitchAngle = AtnRatio(nz, std::sqrt(nx * nx + ny * ny));
  if (ny == 0) {
    body.Heading = kPi - Sgn(nx) * kPi / 2;
  } else {
    body.Heading = std::atan(nx / ny);
    if (ny < 0) {
      body.Heading += kPi;
    } else if (nx < 0) {
      body.Heading += kFullTurn;
    }
  }

  body.HeadingSin = std::sin(body.Heading);
  body.HeadingCos = std::cos(body.Heading);
  body.PitchSin = std::sin(body.PitchAngle);
  body.PitchCos = std::cos(body.PitchAngle);
  const double tx = body.TopVector[0], ty = body.TopVector[1], tz = body.TopVector[2];
  const double aa = -body.HeadingSin * ty + body.HeadingCos * tx;
  const double f = body.HeadingCos * ty + body.HeadingSin * tx;
  const double c = -body.PitchSin * f + body.PitchCos * tz;
  if (std::fabs(aa) < 0.2) {
    body.BankAngle = AtnRatio(aa, c);
    if (c < 0) body.BankAngle += aa > 0 ? kPi : -kPi;
  } else {
    body.BankAngle = Sgn(aa) * kPi / 2 - std::atan(c / aa);
  }
  const SinCosMemo& bank = MemoSinCos(memo.BankSinCos, body.BankAngle);
  body.ViewRollSin = bank.Sin;
  body.ViewRollCos = bank.Cos;
}

void IntegrateAttitudeAngles(const LoopTiming& loop, BodyMotion& body, MemoTables& memo) {
  const double dt = 1.0 / loop.StepsPerSecond;
  body.PitchAngle += body.PitchRate * dt;
  body.BankAngle += body.RollRate * dt;
  body.Heading += body.YawRate * dt;
  body.PitchAngle -= 2 * kPi * Int(body.PitchAngle / kPi / 2);
  if (body.PitchAngle > kPi) body.PitchAngle -= kFullTurn;
  body.Heading -= 2 * kPi * Int(body.Heading / kPi / 2);
  RefreshAttitudeSines(body, memo);
  const double cp = body.PitchCos, sp = body.PitchSin;
  const double ch = body.HeadingCos, sh = body.HeadingSin;
  const double cb = body.ViewRollCos, sb = body.ViewRollSin;
  body.NoseVector = {sh * cp, ch * cp, sp};
  body.TopVector = {ch * cp * sb - sp * sh * cb, -sh * cp * sb - sp * ch * cb, cb * cp};
}

void PropagateAttitude(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                       const aircraft::AircraftData& a, BodyMotion& body, MemoTables& memo) {
  if (!OnDeck(setup, body, ground, a) && ground.TailContactAccel <= 0 && (loop.FlightTime > 0.1 || aircraft::StartsFromSurface(a))) {
    IntegrateAttitudeVectors(setup, loop, ground, a, body, memo);
  } else {
    IntegrateAttitudeAngles(loop, body, memo);
  }
}

}  // namespace zarv::flight
