#include "flight/translation.h"

#include <charconv>
#include <cmath>

#include "flight/ground_contact.h"
#include "flight/guarded_math.h"
#include "flight/launch_run.h"
#include "flight/memo_math.h"
#include "platform/runtime/angles.h"
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

void ComputePathAngleRate(const SetUpConstants& setup, const AirData& air, BodyMotion& body) {
  body.PathAngleRate =
      air.SupportAccel <= 0 ? (air.NormalLoad - body.ViewRollCos * setup.Gravity * body.PathAngleCos) / body.AirSpeed : 0.0;
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

bool UsesSurfaceTranslation(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
                            const AirData& air, const aircraft::AircraftData& a) {
  if (FliesOffTheWater(body, ground, air)) return false;
  return air.SupportAccel > 0 || body.Altitude < 1 || (aircraft::StartsAboveSurface(a) && OnDeck(setup, body, ground, a));
}

void TranslateInFreeFlight(FlightState& s) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  const double m = s.Masses.Mass + s.Masses.ApparentMass;
  const double d = s.Tail.DragArea * s.Air.DynamicPressure;
  // Flying steeply with the nose into the flow, lift and side force are
  // resolved along the nose's heading rather than the air track.
  const bool steep = std::cos(s.Air.TotalIncidence) > 0 && std::cos(s.Air.AirPathAngle) < 0.7;
  s.Body.ForceHeading = steep ? s.Body.Heading : s.Air.AirTrackAngle;
  const double f = s.Body.ForceHeading;
  const double curvature = Sq(s.Body.GroundSpeed + 500) * s.Air.AirPathSin / (s.Setup.EarthRadius + s.Body.Altitude);
  const double sf = std::sin(f), cf = std::cos(f);

  if (steep) {
    // Turned off the air track, lift and side force would gain a share
    // along the airflow and drive the aircraft: without it they do no work
    // on the air, and drag stays against the airflow.
    const double lift = s.Loads.LiftAccel * s.Masses.Mass / m;
    const double liftX = -s.Air.AirPathSin * lift * sf + s.Loads.SideAccel * std::sin(f + kPi / 2);
    const double liftY = -s.Air.AirPathSin * lift * cf + s.Loads.SideAccel * std::cos(f + kPi / 2);
    const double liftZ = s.Air.AirPathCos * lift;  // already in VelZ
    const double share = liftX * s.Air.AirDirX + liftY * s.Air.AirDirY + liftZ * s.Air.AirPathSin;
    s.Body.VelX += (liftX - share * s.Air.AirDirX - d / m * s.Air.AirDirX - curvature * sf +
                    s.Body.PitchCos * s.Body.HeadingSin * s.Engine.Thrust / m) *
                   dt;
    s.Body.VelY += (liftY - share * s.Air.AirDirY - d / m * s.Air.AirDirY - curvature * cf +
                    s.Body.PitchCos * s.Body.HeadingCos * s.Engine.Thrust / m) *
                   dt;
    s.Body.VelZ -= share * s.Air.AirPathSin * dt;
  } else {
    const double along = -s.Air.AirPathCos * d / m - s.Air.AirPathSin * s.Loads.LiftAccel * s.Masses.Mass / m;
    s.Body.VelX += along * sf * dt;
    s.Body.VelX -= curvature * sf * dt;
    s.Body.VelX += (s.Body.PitchCos * s.Body.HeadingSin * s.Engine.Thrust / m + s.Loads.SideAccel * std::sin(f + kPi / 2)) * dt;
    s.Body.VelY += along * cf * dt;
    s.Body.VelY -= curvature * cf * dt;
    s.Body.VelY += (s.Body.PitchCos * s.Body.HeadingCos * s.Engine.Thrust / m + s.Loads.SideAccel * std::cos(f + kPi / 2)) * dt;
  }

  s.Body.TrackAngle = std::atan(s.Body.VelX / (s.Body.VelY + 0.0001));
  if (s.Body.VelY < 0) {
    s.Body.TrackAngle += kPi;
  } else if (s.Body.VelX < 0) {
    s.Body.TrackAngle += kFullTurn;
  }
  s.Body.GroundSpeed = std::sqrt(s.Body.VelX * s.Body.VelX + s.Body.VelY * s.Body.VelY);
  s.Body.TurnRate = s.Loads.SideAccel / (s.Body.GroundSpeed + 0.0001);
}

bool PathLevelAtRest(const SetUpConstants& setup, const LoopTiming& loop, const BodyMotion& body,
                     const GroundState& ground, const aircraft::AircraftData& a) {
  // Held, it is still whatever the step's forces gave it before the hold.
  if (SurfaceStartHeld(loop, a)) return true;
  const double rest = loop.StopSpeed;
  const bool justOff = body.Altitude < setup.GearHeight + 1 && std::fabs(body.VelZ) < rest;
  return body.GroundSpeed < rest && (RestsOnWater(ground) || justOff);
}

void UpdatePathAngle(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                     const aircraft::AircraftData& a, BodyMotion& body) {
  if (PathLevelAtRest(setup, loop, body, ground, a)) {
    body.PathAngle = 0;
  } else if (body.GroundSpeed != 0) {
    body.PathAngle = std::atan(body.VelZ / body.GroundSpeed);
  }
}

void UpdatePathSines(BodyMotion& body, MemoTables& memo) {
  body.PathAngleSin = std::sin(body.PathAngle);
  body.PathAngleCos = std::cos(body.PathAngle);
  const SinCosMemo& bank = MemoSinCos(memo.BankSinCos, body.BankAngle);
  body.ViewRollSin = bank.Sin;
  body.ViewRollCos = bank.Cos;
}

void UpdateAirData(const SetUpConstants& setup, const aircraft::AircraftData& a, BodyMotion& body,
                   AirData& air, MemoTables& memo) {
  // Reads the attitude sines as the attitude step leaves them.
  const SinCosMemo& wind = MemoSinCos(memo.WindDirectionSinCos, a.WindDirection);
  body.AirVelX = air.WindAtAltitude * wind.Sin + body.VelX;
  body.AirVelY = air.WindAtAltitude * wind.Cos + body.VelY;
  body.AirVelZ = body.VelZ - air.VerticalWind;
  body.AirSpeed = std::sqrt(body.AirVelZ * body.AirVelZ + body.AirVelX * body.AirVelX + body.AirVelY * body.AirVelY);
  if (body.AirSpeed < 0.1) body.AirSpeed = 0.1;
  const double v = body.AirSpeed;
  air.AirPathSin = body.AirVelZ / v;
  air.AirPathCos = std::sqrt(body.AirVelX * body.AirVelX + body.AirVelY * body.AirVelY) / v;
  air.AirDirX = body.AirVelX / v;
  air.AirDirY = body.AirVelY / v;
  air.AirPathAngle = std::atan(air.AirPathSin / (std::fabs(air.AirPathCos) + 0.0001));
  if (std::fabs(body.AirVelY) < 0.001) {
    air.AirTrackAngle = kPi - Sgn(body.AirVelX) * kPi / 2;
  } else {
    air.AirTrackAngle = std::atan(body.AirVelX / body.AirVelY);
    if (body.AirVelY < 0) {
      air.AirTrackAngle += kPi;
    } else if (body.AirVelX < 0) {
      air.AirTrackAngle += kFullTurn;
    }
  }

  // The relative wind in body axes: heading, then pitch, then bank (the
  // attitude step has just refreshed their sines).
  const double sh = -body.HeadingSin, ch = body.HeadingCos;
  const double sp = -body.PitchSin, cp = body.PitchCos;
  const double sb = -body.ViewRollSin, cb = body.ViewRollCos;
  const double y1 = air.AirDirY * sh + air.AirDirX * ch;
  const double x1 = air.AirDirY * ch - air.AirDirX * sh;
  const double z1 = air.AirPathSin * cp + sp * x1;
  const double x2 = cp * x1 - air.AirPathSin * sp + 0.0001;
  const double y2 = cb * y1 + sb * z1;
  const double z2 = cb * z1 - sb * y1;
  air.BodyAirX = x2;
  air.BodyAirY = y2;
  air.BodyAirZ = z2;

  air.AngleOfAttack = -AtnRatio(z2, x2);
  if (x2 < 0) air.AngleOfAttack += z2 < 0 ? kPi : -kPi;
  air.Sideslip = -AtnRatio(y2, x2);
  if (x2 < 0) air.Sideslip += y2 < 0 ? kPi : -kPi;
  air.TotalIncidence = -AtnRatio(std::sqrt(y2 * y2 + z2 * z2), x2);
  if (x2 < 0) air.TotalIncidence += kPi;

  double d = body.Heading - body.TrackAngle;
  d = d - 2 * kPi * Int(d / kPi / 2);
  if (d > kPi) d -= kFullTurn;
  air.DriftAngle = d;

  air.HeadingValue = body.Heading;
  air.PrevSideslip = air.Sideslip;
  air.AoaText = ThroughText(setup.WingIncidenceRad + air.AngleOfAttack);
}

void UpdateInertialSpeedAndGravity(SetUpConstants& setup, BodyMotion& body) {
  body.InertialSpeed = std::sqrt(body.GroundSpeed * body.GroundSpeed + body.VelZ * body.VelZ);
  setup.Gravity = setup.EarthGm / Sq(setup.EarthRadius + body.Altitude);
}

}  // namespace zarv::flight
