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
  s.PathAngleRate =
      s.SupportAccel <= 0 ? (s.NormalLoad - s.ViewRollCos * s.Gravity * s.PathAngleCos) / s.AirSpeed : 0.0;
}

void ComputeLongAccel(FlightState& s) {
  const double m = s.Mass + s.ApparentMass;
  const double d = s.DragArea * s.DynamicPressure;
  s.LongAccel = -std::cos(s.Sideslip) * s.AirPathCos * d / m - s.AirPathSin * s.LiftAccel * s.Mass / m;
  s.DragAcceleration = d / m;
}

void UpdateVerticalVelocity(FlightState& s) {
  const double dt = 1.0 / s.StepsPerSecond;
  const double m = s.Mass + s.ApparentMass;
  const double d = s.DragArea * s.DynamicPressure;
  s.VelZ += ((s.PitchSin * s.Thrust - s.AirPathSin * d) / m + (s.AirPathCos * s.LiftAccel - s.Gravity) * s.Mass / m) *
            dt;
  s.VelZ += Sq(s.GroundSpeed + 500) / (s.EarthRadius + s.Altitude) * dt;
}

bool UsesSurfaceTranslation(const FlightState& s, const aircraft::AircraftData& a) {
  return s.SupportAccel > 0 || s.Altitude < 1 || (a.LaunchHeight > 1 && s.CourseDistance <= 0);
}

void TranslateInFreeFlight(FlightState& s) {
  const double dt = 1.0 / s.StepsPerSecond;
  const double m = s.Mass + s.ApparentMass;
  const double d = s.DragArea * s.DynamicPressure;
  // Flying steeply with the nose into the flow, drag and lift act along the
  // nose's heading rather than the air track.
  s.ForceHeading = (std::cos(s.TotalIncidence) > 0 && std::cos(s.AirPathAngle) < 0.7) ? s.Heading : s.AirTrackAngle;
  const double f = s.ForceHeading;
  const double along = -s.AirPathCos * d / m - s.AirPathSin * s.LiftAccel * s.Mass / m;
  const double curvature = Sq(s.GroundSpeed + 500) * s.AirPathSin / (s.EarthRadius + s.Altitude);
  const double sf = std::sin(f), cf = std::cos(f);

  s.VelX += along * sf * dt;
  s.VelX -= curvature * sf * dt;
  s.VelX += (s.PitchCos * s.HeadingSin * s.Thrust / m + s.SideAccel * std::sin(f + kPi / 2)) * dt;
  s.VelY += along * cf * dt;
  s.VelY -= curvature * cf * dt;
  s.VelY += (s.PitchCos * s.HeadingCos * s.Thrust / m + s.SideAccel * std::cos(f + kPi / 2)) * dt;

  s.TrackAngle = std::atan(s.VelX / (s.VelY + 0.0001));
  if (s.VelY < 0) {
    s.TrackAngle += kPi;
  } else if (s.VelX < 0) {
    s.TrackAngle += 6.2831852;
  }
  s.GroundSpeed = std::sqrt(s.VelX * s.VelX + s.VelY * s.VelY);
  s.TurnRate = s.SideAccel / (s.GroundSpeed + 0.0001);
}

void UpdatePathAngle(FlightState& s) {
  if (s.GroundSpeed != 0) s.PathAngle = std::atan(s.VelZ / s.GroundSpeed);
}

void UpdatePathSines(FlightState& s) {
  s.PathAngleSin = std::sin(s.PathAngle);
  s.PathAngleCos = std::cos(s.PathAngle);
  const SinCosMemo& bank = MemoSinCos(s.BankSinCos, s.BankAngle);
  s.ViewRollSin = bank.Sin;
  s.ViewRollCos = bank.Cos;
}

void UpdateAirData(FlightState& s, const aircraft::AircraftData& a) {
  // Reads the attitude sines as the attitude step leaves them.
  const SinCosMemo& wind = MemoSinCos(s.WindDirectionSinCos, a.WindDirection);
  s.AirVelX = s.WindAtAltitude * wind.Sin + s.VelX;
  s.AirVelY = s.WindAtAltitude * wind.Cos + s.VelY;
  s.AirVelZ = s.VelZ - s.VerticalWind;
  s.AirSpeed = std::sqrt(s.AirVelZ * s.AirVelZ + s.AirVelX * s.AirVelX + s.AirVelY * s.AirVelY);
  if (s.AirSpeed < 0.1) s.AirSpeed = 0.1;
  const double v = s.AirSpeed;
  s.AirPathSin = s.AirVelZ / v;
  s.AirPathCos = std::sqrt(s.AirVelX * s.AirVelX + s.AirVelY * s.AirVelY) / v;
  s.AirDirX = s.AirVelX / v;
  s.AirDirY = s.AirVelY / v;
  s.AirPathAngle = std::atan(s.AirPathSin / (std::fabs(s.AirPathCos) + 0.0001));
  if (std::fabs(s.AirVelY) < 0.001) {
    s.AirTrackAngle = kPi - Sgn(s.AirVelX) * kPi / 2;
  } else {
    s.AirTrackAngle = std::atan(s.AirVelX / s.AirVelY);
    if (s.AirVelY < 0) {
      s.AirTrackAngle += kPi;
    } else if (s.AirVelX < 0) {
      s.AirTrackAngle += 6.2831852;
    }
  }

  // The relative wind in body axes: heading, then pitch, then bank (the
  // attitude step has just refreshed their sines).
  const double sh = -s.HeadingSin, ch = s.HeadingCos;
  const double sp = -s.PitchSin, cp = s.PitchCos;
  const double sb = -s.ViewRollSin, cb = s.ViewRollCos;
  const double y1 = s.AirDirY * sh + s.AirDirX * ch;
  const double x1 = s.AirDirY * ch - s.AirDirX * sh;
  const double z1 = s.AirPathSin * cp + sp * x1;
  const double x2 = cp * x1 - s.AirPathSin * sp + 0.0001;
  const double y2 = cb * y1 + sb * z1;
  const double z2 = cb * z1 - sb * y1;
  s.BodyAirX = x2;
  s.BodyAirY = y2;
  s.BodyAirZ = z2;

  s.AngleOfAttack = -AtnRatio(z2, x2);
  if (x2 < 0) s.AngleOfAttack += z2 < 0 ? kPi : -kPi;
  s.Sideslip = -AtnRatio(y2, x2);
  if (x2 < 0) s.Sideslip += y2 < 0 ? kPi : -kPi;
  s.TotalIncidence = -AtnRatio(std::sqrt(y2 * y2 + z2 * z2), x2);
  if (x2 < 0) s.TotalIncidence += kPi;

  double d = s.Heading - s.TrackAngle;
  d = d - 2 * kPi * Int(d / kPi / 2);
  if (d > kPi) d -= 6.2831852;
  s.DriftAngle = d;

  s.HeadingValue = s.Heading;
  s.PrevSideslip = s.Sideslip;
  s.AoaText = ThroughText(s.WingIncidenceRad + s.AngleOfAttack);
}

void UpdateInertialSpeedAndGravity(FlightState& s) {
  s.InertialSpeed = std::sqrt(s.GroundSpeed * s.GroundSpeed + s.VelZ * s.VelZ);
  s.Gravity = s.EarthGm / Sq(s.EarthRadius + s.Altitude);
}

}  // namespace zarv::flight
