#include "flight/translation.h"

#include <charconv>
#include <cmath>

#include "flight/guarded_math.h"
#include "flight/memo_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

double ThroughText(double v) {
  if (v == 0 || !std::isfinite(v)) return v;
  // Scaled to 15 integer digits, the value rounds to the digits the text
  // keeps, and one exact division gives what reading the text back gives.
  // The scaling is off by at most 1/16 of a unit, so only values whose
  // fraction lies that close to a half take the long way through the text.
  const double ax = std::fabs(v);
  if (ax >= 1e-8 && ax < 1e14) {
    // The power of ten that brings the value to 15 integer digits.
    int k = 22;
    while (k > 0 && ax * kPowersOfTen[k] >= 1e15) --k;
    const double p = kPowersOfTen[k];
    const double y = v * p;
    const double ay = std::fabs(y);
    if (ay >= 1e14 && ay < 1e15 && std::fabs(std::fabs(y - std::trunc(y)) - 0.5) > 0.07) {
      return std::nearbyint(y) / p;
    }
  }
  char buf[40];
  const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  double back = v;
  std::from_chars(buf, written.ptr, back);
  return back;
}

void ComputePathAngleRate(FlightState& s) {
  s.Body.PathAngleRate =
      s.Air.SupportAccel <= 0 ? (s.Air.NormalLoad - s.Body.ViewRollCos * s.Setup.Gravity * s.Body.PathAngleCos) / s.Body.AirSpeed : 0.0;
}

void ComputeLongAccel(FlightState& s) {
  const double m = s.Masses.Mass + s.Masses.ApparentMass;
  const double d = s.Tail.DragArea * s.Air.DynamicPressure;
  s.Body.LongAccel = -std::cos(s.Air.Sideslip) * s.Air.AirPathCos * d / m - s.Air.AirPathSin * s.Loads.LiftAccel * s.Masses.Mass / m;
  s.Instruments.DragAcceleration = d / m;
}

void UpdateVerticalVelocity(FlightState& s) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  const double m = s.Masses.Mass + s.Masses.ApparentMass;
  const double d = s.Tail.DragArea * s.Air.DynamicPressure;
  s.Body.VelZ += ((s.Body.PitchSin * s.Engine.Thrust - s.Air.AirPathSin * d) / m + (s.Air.AirPathCos * s.Loads.LiftAccel - s.Setup.Gravity) * s.Masses.Mass / m) *
            dt;
  s.Body.VelZ += Sq(s.Body.GroundSpeed + 500) / (s.Setup.EarthRadius + s.Body.Altitude) * dt;
}

bool UsesSurfaceTranslation(const FlightState& s, const aircraft::AircraftData& a) {
  return s.Air.SupportAccel > 0 || s.Body.Altitude < 1 || (a.LaunchHeight > 1 && s.Body.CourseDistance <= 0);
}

void TranslateInFreeFlight(FlightState& s) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  const double m = s.Masses.Mass + s.Masses.ApparentMass;
  const double d = s.Tail.DragArea * s.Air.DynamicPressure;
  // Flying steeply with the nose into the flow, drag and lift act along the
  // nose's heading rather than the air track.
  s.Body.ForceHeading = (std::cos(s.Air.TotalIncidence) > 0 && std::cos(s.Air.AirPathAngle) < 0.7) ? s.Body.Heading : s.Air.AirTrackAngle;
  const double f = s.Body.ForceHeading;
  const double along = -s.Air.AirPathCos * d / m - s.Air.AirPathSin * s.Loads.LiftAccel * s.Masses.Mass / m;
  const double curvature = Sq(s.Body.GroundSpeed + 500) * s.Air.AirPathSin / (s.Setup.EarthRadius + s.Body.Altitude);
  const double sf = std::sin(f), cf = std::cos(f);

  s.Body.VelX += along * sf * dt;
  s.Body.VelX -= curvature * sf * dt;
  s.Body.VelX += (s.Body.PitchCos * s.Body.HeadingSin * s.Engine.Thrust / m + s.Loads.SideAccel * std::sin(f + kPi / 2)) * dt;
  s.Body.VelY += along * cf * dt;
  s.Body.VelY -= curvature * cf * dt;
  s.Body.VelY += (s.Body.PitchCos * s.Body.HeadingCos * s.Engine.Thrust / m + s.Loads.SideAccel * std::cos(f + kPi / 2)) * dt;

  s.Body.TrackAngle = std::atan(s.Body.VelX / (s.Body.VelY + 0.0001));
  if (s.Body.VelY < 0) {
    s.Body.TrackAngle += kPi;
  } else if (s.Body.VelX < 0) {
    s.Body.TrackAngle += 6.2831852;
  }
  s.Body.GroundSpeed = std::sqrt(s.Body.VelX * s.Body.VelX + s.Body.VelY * s.Body.VelY);
  s.Body.TurnRate = s.Loads.SideAccel / (s.Body.GroundSpeed + 0.0001);
}

void UpdatePathAngle(FlightState& s) {
  if (s.Body.GroundSpeed != 0) s.Body.PathAngle = std::atan(s.Body.VelZ / s.Body.GroundSpeed);
}

void UpdatePathSines(FlightState& s) {
  s.Body.PathAngleSin = std::sin(s.Body.PathAngle);
  s.Body.PathAngleCos = std::cos(s.Body.PathAngle);
  const SinCosMemo& bank = MemoSinCos(s.Memo.BankSinCos, s.Body.BankAngle);
  s.Body.ViewRollSin = bank.Sin;
  s.Body.ViewRollCos = bank.Cos;
}

void UpdateAirData(FlightState& s, const aircraft::AircraftData& a) {
  // Reads the attitude sines as the attitude step leaves them.
  const SinCosMemo& wind = MemoSinCos(s.Memo.WindDirectionSinCos, a.WindDirection);
  s.Body.AirVelX = s.Air.WindAtAltitude * wind.Sin + s.Body.VelX;
  s.Body.AirVelY = s.Air.WindAtAltitude * wind.Cos + s.Body.VelY;
  s.Body.AirVelZ = s.Body.VelZ - s.Air.VerticalWind;
  s.Body.AirSpeed = std::sqrt(s.Body.AirVelZ * s.Body.AirVelZ + s.Body.AirVelX * s.Body.AirVelX + s.Body.AirVelY * s.Body.AirVelY);
  if (s.Body.AirSpeed < 0.1) s.Body.AirSpeed = 0.1;
  const double v = s.Body.AirSpeed;
  s.Air.AirPathSin = s.Body.AirVelZ / v;
  s.Air.AirPathCos = std::sqrt(s.Body.AirVelX * s.Body.AirVelX + s.Body.AirVelY * s.Body.AirVelY) / v;
  s.Air.AirDirX = s.Body.AirVelX / v;
  s.Air.AirDirY = s.Body.AirVelY / v;
  s.Air.AirPathAngle = std::atan(s.Air.AirPathSin / (std::fabs(s.Air.AirPathCos) + 0.0001));
  if (std::fabs(s.Body.AirVelY) < 0.001) {
    s.Air.AirTrackAngle = kPi - Sgn(s.Body.AirVelX) * kPi / 2;
  } else {
    s.Air.AirTrackAngle = std::atan(s.Body.AirVelX / s.Body.AirVelY);
    if (s.Body.AirVelY < 0) {
      s.Air.AirTrackAngle += kPi;
    } else if (s.Body.AirVelX < 0) {
      s.Air.AirTrackAngle += 6.2831852;
    }
  }

  // The relative wind in body axes: heading, then pitch, then bank (the
  // attitude step has just refreshed their sines).
  const double sh = -s.Body.HeadingSin, ch = s.Body.HeadingCos;
  const double sp = -s.Body.PitchSin, cp = s.Body.PitchCos;
  const double sb = -s.Body.ViewRollSin, cb = s.Body.ViewRollCos;
  const double y1 = s.Air.AirDirY * sh + s.Air.AirDirX * ch;
  const double x1 = s.Air.AirDirY * ch - s.Air.AirDirX * sh;
  const double z1 = s.Air.AirPathSin * cp + sp * x1;
  const double x2 = cp * x1 - s.Air.AirPathSin * sp + 0.0001;
  const double y2 = cb * y1 + sb * z1;
  const double z2 = cb * z1 - sb * y1;
  s.Air.BodyAirX = x2;
  s.Air.BodyAirY = y2;
  s.Air.BodyAirZ = z2;

  s.Air.AngleOfAttack = -AtnRatio(z2, x2);
  if (x2 < 0) s.Air.AngleOfAttack += z2 < 0 ? kPi : -kPi;
  s.Air.Sideslip = -AtnRatio(y2, x2);
  if (x2 < 0) s.Air.Sideslip += y2 < 0 ? kPi : -kPi;
  s.Air.TotalIncidence = -AtnRatio(std::sqrt(y2 * y2 + z2 * z2), x2);
  if (x2 < 0) s.Air.TotalIncidence += kPi;

  double d = s.Body.Heading - s.Body.TrackAngle;
  d = d - 2 * kPi * Int(d / kPi / 2);
  if (d > kPi) d -= 6.2831852;
  s.Air.DriftAngle = d;

  s.Air.HeadingValue = s.Body.Heading;
  s.Air.PrevSideslip = s.Air.Sideslip;
  s.Air.AoaText = ThroughText(s.Setup.WingIncidenceRad + s.Air.AngleOfAttack);
}

void UpdateInertialSpeedAndGravity(FlightState& s) {
  s.Body.InertialSpeed = std::sqrt(s.Body.GroundSpeed * s.Body.GroundSpeed + s.Body.VelZ * s.Body.VelZ);
  s.Setup.Gravity = s.Setup.EarthGm / Sq(s.Setup.EarthRadius + s.Body.Altitude);
}

}  // namespace zarv::flight
