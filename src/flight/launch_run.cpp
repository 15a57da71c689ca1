#include "flight/launch_run.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

void MarkLaunchTime(FlightState& s, const aircraft::AircraftData& a) {
  const bool atStart = (a.LaunchHeight > 0 && s.CourseDistance < 0) ||
                       (s.GroundSpeed < 1 && s.WheelBrakeSetting > 0.1 && s.FlightTime < 100) ||
                       (s.GroundSpeed < 1 && s.CourseDistance < 0);
  if (atStart) s.LaunchTime = Int(s.FlightTime * 20 + 0.5) / 20;
}

void HoldRatesOnPlatform(FlightState& s, const aircraft::AircraftData& a) {
  if (s.GroundSpeed < 0.01 && s.WheelBrakeSetting > 0) s.YawRate = 0;
  if (s.CourseDistance < 0) {
    s.YawRate = 0;
    s.PitchRate = 0;
    s.RollRate = 0;
    if (s.EngineRating < 9000 && a.LaunchHeight > 0 && s.LiftAccel < s.Gravity) {
      s.PathAngle = -0.06;
    } else if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      s.PathAngle = 0;
    }
    if (s.GroundSpeed > 0.2) {
      s.PitchAngle = a.LaunchPitch;
      s.PitchRate = 0;
    }
  }
}

bool IsOnPlatform(const FlightState& s, const aircraft::AircraftData& a) {
  return s.CourseDistance < 0 && a.LaunchHeight > 1 && (s.LiftAccel < s.Gravity + 10 || s.GroundSpeed < 0.5);
}

void RunOnPlatform(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.StepsPerSecond;
  s.SupportAccel = s.Gravity - s.Mass * s.NormalLoad / s.DryMass;

  if (aircraft::LaunchBelow10(a.LaunchSpeed) && a.PilotWeight > 30 && a.LaunchHeight > 1) {
    // The pilot runs down the deck, which falls 6 % towards the edge.
    s.PathAngle = -0.06;
    s.VelZ = s.GroundSpeed > 0 ? s.PathAngleSin / s.PathAngleCos * s.GroundSpeed : 0.0;
    s.PitchAngle = a.LaunchPitch;
    s.BankAngle = a.LaunchBank;
    s.Heading = a.LaunchHeading;
    if (s.GroundSpeed > 0.1 && a.LaunchHeight > 10.2) {
      // The gait: the nose bobs twice as often as the wings sway.
      s.PitchAngle = a.LaunchPitch + s.InertialSpeed * std::sin(s.Distance / a.LaunchSpeed * 12 * kPi) / 300;
      s.BankAngle =
          a.LaunchBank - std::sqrt(std::fabs(s.InertialSpeed)) * std::sin(s.Distance / a.LaunchSpeed * 6 * kPi) / 90;
    }
  } else {
    s.PitchAngle = a.LaunchPitch;
    if (s.GroundSpeed < 0.1) {
      // The engine shakes the aircraft while it stands.
      s.PitchAngle += s.Thrust * std::sin(s.EngineShakeCounter / 24.0 * 3.14 / s.StepsPerSecond) / s.Mass / 50;
    }
    s.Heading = a.LaunchHeading;
    s.VelZ = 0;
    s.BankAngle = 0;
  }
  s.TrackAngle = s.Heading;

  if (s.TakeoffRunAcceleration > 0) {
    s.GroundSpeed += s.TakeoffRunAcceleration * dt;
    if (s.GroundSpeed < 1e-5) {
      s.GroundSpeed = 1e-5;
      r.RecordCount = 0;
    }
  } else {
    s.GroundSpeed = 1e-5;
  }
  if (s.GroundSpeed > a.LaunchSpeed) s.GroundSpeed = a.LaunchSpeed;

  // Outline of the deck for the scenery.
  const double h = s.Heading;
  s.PlatformOutlineX[1] = 5 * std::sin(h + 9.4247778 / 2);
  s.PlatformOutlineY[1] = 5 * std::cos(h + 9.4247778 / 2);
  s.PlatformOutlineX[2] = 11.18 * std::sin(h + 5.8196);
  s.PlatformOutlineY[2] = 11.18 * std::cos(h + 5.8196);
  s.PlatformOutlineX[3] = 11.18 * std::sin(h + 0.4636);
  s.PlatformOutlineY[3] = 11.18 * std::cos(h + 0.4636);
  s.PlatformOutlineX[4] = 5 * std::sin(h + kPi / 2);
  s.PlatformOutlineY[4] = 5 * std::cos(h + kPi / 2);

  if (a.LaunchHeight > 0 && a.LaunchHeight < 120000 && s.InertialSpeed <= 0) {
    s.InertialSpeed = 0;
    s.PosX = s.StartRadius * std::sin(s.Heading);
    s.PosY = s.StartRadius * std::cos(s.Heading);
  }
  s.VelX = std::sin(s.TrackAngle) * s.GroundSpeed;
  s.VelY = std::cos(s.TrackAngle) * s.GroundSpeed;
}

void HoldSurfaceStart(FlightState& s, const aircraft::AircraftData& a) {
  if (a.LaunchHeight == 0 && s.FlightTime < 3) {
    s.Heading = a.LaunchHeading;
    if (s.FlightTime < 0.5) {
      s.PitchAngle = a.LaunchPitch;
      s.PitchRate = 0;
    }
  }
}

void HoldSurfaceStartSpeed(FlightState& s, const aircraft::AircraftData& a) {
  if (a.LaunchHeight == 0 && s.FlightTime < 1) {
    s.VelZ = 0;
    s.GroundSpeed = 0.0001;
  }
}

}  // namespace zarv::flight
