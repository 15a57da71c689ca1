#include "flight/rotation_dynamics.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "flight/memo_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Normal and longitudinal force of panel i (N).
double PanelLift(const FlightState& s, int i) { return s.Panels[i].PanelLiftCoeff * s.Panels[i].PanelPressure; }
double PanelDrag(const FlightState& s, int i) { return s.Panels[i].PanelDragCoeff * s.Panels[i].PanelPressure; }

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

void RefreshAttitudeSines(FlightState& s) {
  s.PitchSin = std::sin(s.PitchAngle);
  s.PitchCos = std::cos(s.PitchAngle);
  s.HeadingSin = std::sin(s.Heading);
  s.HeadingCos = std::cos(s.Heading);
  const SinCosMemo& bank = MemoSinCos(s.BankSinCos, s.BankAngle);
  s.ViewRollSin = bank.Sin;
  s.ViewRollCos = bank.Cos;
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

}  // namespace

void UpdateCentreOfGravity(FlightState& s, const aircraft::AircraftData& a) {
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    s.CgX = (s.PilotArm * a.PilotWeight + s.StructureMoment + s.FuelQuantity * s.TrimCentre) / s.Mass;
  } else {
    s.CgX = (((s.BodyHeight / 2 - s.DihedralRise) * s.PitchSin + s.TrimCentre) * a.PilotWeight + s.StructureMoment) /
            s.Mass;
  }
}

void ComputeRollAcceleration(FlightState& s, const aircraft::AircraftData& a) {
  const double r1 = s.InnerPanelSpanPos, r2 = s.OuterPanelSpanPos, r3 = s.TipPanelSpanPos;
  const double t2 = s.OuterDihedralSin, t3 = s.TipDihedralSin;
  const double d1 = PanelLift(s, 1) - PanelLift(s, 2);
  const double d2 = PanelLift(s, 3) - PanelLift(s, 4);
  const double d3 = PanelLift(s, 5) - PanelLift(s, 6);
  double m = r1 * d1 + r2 * d2 + r3 * d3;
  m += t2 * r2 * d2;
  m += t3 * r3 * d3;
  m += std::sqrt(a.FinArea) * s.FinSideTerm;
  m += s.PropellerTorqueMoment;
  m += s.CasRollMoment;
  m -= std::fabs(s.RollRate) * s.AirDensity * a.WingArea * s.RollRate;
  s.RollAccel = m / s.RollInertia;
}

void ComputePitchYawAcceleration(FlightState& s, const aircraft::AircraftData& a) {
  const double q = s.DynamicPressure;
  const double pi = s.PitchInertia;
  const double cg = s.CgX;

  // Base pitch term: a light aircraft clear of the platform feels its tail
  // through the flexible rear fuselage.
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.CourseDistance >= a.OverallLength) {
    const int sign = -(Sgn(a.TailplaneArea) * Sgn(a.TailplaneArm));
    s.PitchAccel = sign * (cg - a.TailplaneArm) *
                   (a.RearFuselageStiffness * s.RearFuselageBend -
                    Sgn(a.TailplaneArm) * a.TailWeight * (s.SupportAccel + s.NormalLoad)) /
                   pi;
  } else {
    s.PitchAccel = ((cg - a.TailplaneArm) * s.TailLiftArea * q - s.GrossThrust * s.NozzlePitch * s.TailPointArm * 0.8 +
                    s.CasPitchMoment) /
                   pi;
  }
  s.PitchAccel -= (q * s.CentreLiftArea * (0 - cg) + s.WingMomentTerm) / pi;
  const double stations[3] = {s.InnerPanelSpanPos, s.OuterPanelSpanPos, s.TipPanelSpanPos};
  const double offsets[3] = {s.InnerPanelSweepOffset, s.OuterPanelSweepOffset, s.TipPanelSweepOffset};
  const double dihedralSin[3] = {s.InnerDihedralSin, s.OuterDihedralSin, s.TipDihedralSin};
  for (int k = 0; k < 3; ++k) {
    s.PitchAccel -= (PanelLift(s, 2 * k + 1) + PanelLift(s, 2 * k + 2)) * (offsets[k] - cg) / pi;
  }
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) s.PitchAccel -= s.GearHeight * 0.8 * s.GearExtension * q / pi;

  // Yaw from the panels' drag and tilted lift, the fin, the body and engines.
  const double sb = std::sin(s.Sideslip), cb = std::cos(s.Sideslip);
  double yaw = 0;
  for (int k = 0; k < 3; ++k) {
    const double r = stations[k];
    const double x = offsets[k] - cg;
    yaw += (r * cb - x * sb) * PanelDrag(s, 2 * k + 2) - (x * sb + r * cb) * PanelDrag(s, 2 * k + 1) +
           dihedralSin[k] * x * (PanelLift(s, 2 * k + 2) - PanelLift(s, 2 * k + 1));
  }
  s.YawAccel = yaw / s.YawInertia;
  s.YawAccel += ((s.FinSideTerm2 + s.FinSideTerm) * q * (cg - a.FinArm) -
                 (-0.75 * s.MeanChord * s.RootChordRatio - cg) * (s.BodySideTerm / 3) * q + s.PFactorMoment +
                 s.CasYawMoment + s.GrossThrust * s.NozzleYaw * s.TailPointArm * 0.8) /
                s.YawInertia;

  // Damping.
  const double l = a.OverallLength;
  s.PitchAccel += s.AirDensity *
                  ((l / 2) * (l / 2) * (l - 2 * s.TailPointArm) * 4 * s.BodyHalfWidth * std::sin(s.AngleOfAttack) +
                   (s.MeanChord * s.MeanChord * a.WingArea + 2 * l * l * l * s.BodyHalfWidth) *
                       (-10 * std::fabs(s.PitchRate) * s.PitchRate)) /
                  pi;
  s.YawAccel += s.AirDensity * (l * l * l * s.BodyHeight + s.MeanChord * s.MeanChord * s.MeanChord * a.WingSpan / 20) *
                (-1 * std::fabs(s.YawRate) * s.YawRate) / s.YawInertia;

  // Roll and yaw together pitch the aircraft (inertia coupling).
  s.CouplingAngle = s.RollRate == 0 ? kPi / 2 : std::atan(s.YawRate / s.RollRate);
  const double sa = std::sin(2 * s.CouplingAngle);
  const double p2 = s.RollRate * s.RollRate * sa;
  const double r2 = s.YawRate * s.YawRate * sa;
  s.PitchAccel += Sgn(sa) * std::sqrt(p2 * p2 + r2 * r2) / 6;
  if (s.AirSpeed < 1) s.PitchAccel = 0;
}

void UpdateBodyRates(FlightState& s) {
  if (s.TipContactYawRate != 0) {
    s.PitchRate = s.TipContactYawRate * s.ViewRollSin;
    s.YawRate = s.ViewRollCos * s.TipContactYawRate;
    s.RollRate = -s.ViewRollCos * s.TipContactRollRate;
    s.TurnRate = s.DriftAngle * 15;
  } else {
    const double dt = 1.0 / s.StepsPerSecond;
    s.YawRate += s.YawAccel * dt;
    s.PitchRate += s.PitchAccel * dt;
    s.RollRate += s.RollAccel * dt;
  }
  s.YawRate = Limited(s.YawRate, kYawRateLimit);
  s.PitchRate = Limited(s.PitchRate, kPitchRateLimit);
  s.RollRate = Limited(s.RollRate, kRollRateLimit);
}

void IntegrateAttitudeVectors(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.StepsPerSecond;
  const double cp = s.PitchCos, sp = s.PitchSin;
  const double ch = s.HeadingCos, sh = s.HeadingSin;
  const double cb = s.ViewRollCos, sb = s.ViewRollSin;
  const double p = s.RollRate, q = s.PitchRate, r = s.YawRate;

  const std::array<double, 3> nose0 = s.NoseVector;
  if (s.CourseDistance <= s.TailEndArm - 1.5 && a.TailHoldFlag != 0) {
    // The tail end rests on the sloping deck.
    s.NoseVector[2] =
        std::sin(a.LaunchPitch) - ((a.LaunchHeight - s.CourseDistance * 0.06) - s.Altitude) / s.TailEndArm;
  } else {
    s.NoseVectorRate = {q * (-cb * sp * sh + ch * sb) + r * (sh * sb * sp + ch * cb),
                        q * (-cb * sp * ch - sh * sb) + r * (-sh * cb + ch * sb * sp), q * (cb * cp) + r * (-cp * sb)};
    for (int i = 0; i < 3; ++i) s.NoseVector[i] += s.NoseVectorRate[i] * dt;
  }
  Normalise(s.NoseVector, nose0);

  const std::array<double, 3> top0 = s.TopVector;
  s.TopVectorRate = {p * (sp * sb * sh + cb * ch) - q * (sh * cp), p * (sp * sb * ch - cb * sh) - q * (ch * cp),
                     p * (-sb * cp) - q * sp};
  for (int i = 0; i < 3; ++i) s.TopVector[i] += s.TopVectorRate[i] * dt;
  Normalise(s.TopVector, top0);

  const double nx = s.NoseVector[0], ny = s.NoseVector[1], nz = s.NoseVector[2];
  s.PitchAngle = AtnRatio(nz, std::sqrt(nx * nx + ny * ny));
  if (ny == 0) {
    s.Heading = kPi - Sgn(nx) * kPi / 2;
  } else {
    s.Heading = std::atan(nx / ny);
    if (ny < 0) {
      s.Heading += kPi;
    } else if (nx < 0) {
      s.Heading += 6.2831852;
    }
  }

  s.HeadingSin = std::sin(s.Heading);
  s.HeadingCos = std::cos(s.Heading);
  s.PitchSin = std::sin(s.PitchAngle);
  s.PitchCos = std::cos(s.PitchAngle);
  const double tx = s.TopVector[0], ty = s.TopVector[1], tz = s.TopVector[2];
  const double aa = -s.HeadingSin * ty + s.HeadingCos * tx;
  const double f = s.HeadingCos * ty + s.HeadingSin * tx;
  const double c = -s.PitchSin * f + s.PitchCos * tz;
  if (std::fabs(aa) < 0.2) {
    s.BankAngle = AtnRatio(aa, c);
    if (c < 0) s.BankAngle += aa > 0 ? kPi : -kPi;
  } else {
    s.BankAngle = Sgn(aa) * kPi / 2 - std::atan(c / aa);
  }
  const SinCosMemo& bank = MemoSinCos(s.BankSinCos, s.BankAngle);
  s.ViewRollSin = bank.Sin;
  s.ViewRollCos = bank.Cos;
}

void IntegrateAttitudeAngles(FlightState& s) {
  const double dt = 1.0 / s.StepsPerSecond;
  s.PitchAngle += s.PitchRate * dt;
  s.BankAngle += s.RollRate * dt;
  s.Heading += s.YawRate * dt;
  s.PitchAngle -= 2 * kPi * Int(s.PitchAngle / kPi / 2);
  if (s.PitchAngle > kPi) s.PitchAngle -= 6.2831852;
  s.Heading -= 2 * kPi * Int(s.Heading / kPi / 2);
  RefreshAttitudeSines(s);
  const double cp = s.PitchCos, sp = s.PitchSin;
  const double ch = s.HeadingCos, sh = s.HeadingSin;
  const double cb = s.ViewRollCos, sb = s.ViewRollSin;
  s.NoseVector = {sh * cp, ch * cp, sp};
  s.TopVector = {ch * cp * sb - sp * sh * cb, -sh * cp * sb - sp * ch * cb, cb * cp};
}

void PropagateAttitude(FlightState& s, const aircraft::AircraftData& a) {
  if (s.CourseDistance > 0 && s.TailContactAccel <= 0 && (s.FlightTime > 0.1 || a.LaunchHeight == 0)) {
    IntegrateAttitudeVectors(s, a);
  } else {
    IntegrateAttitudeAngles(s);
  }
}

}  // namespace zarv::flight
