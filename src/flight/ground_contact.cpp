#include "flight/ground_contact.h"

#include <cmath>

#include "flight/guarded_math.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// The gear, brake and reaction part of the contact loads, from the gear's
// depth onwards.
void ApplyGearModel(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.StepsPerSecond;
  // Depth of the gear below the surface, then the deeper side.
  double depth = s.GearHeight * std::cos(s.PitchAngle) - a.GearPosition * std::sin(s.PitchAngle) - s.Altitude + 0.075;
  s.GearDepthLeft = depth - (s.GearHeight + 1) * s.ViewRollSin;
  s.GearDepthRight = depth + (s.GearHeight + 1) * s.ViewRollSin;
  if (s.GearDepthLeft < 0) s.GearDepthLeft = 0;
  if (s.GearDepthRight < 0) s.GearDepthRight = 0;
  depth = s.GearDepthRight > s.GearDepthLeft ? s.GearDepthRight : s.GearDepthLeft;
  if (s.GearDepthLeft > 0 || s.GearDepthRight > 0) {
    const double k = s.RollInertia < 2000 ? 7.0 : 68.5 / std::pow(s.RollInertia, 0.3);
    s.RollAccel += (s.GearDepthLeft - s.GearDepthRight - s.RollRate) * (s.GearHeight + 0.25) * k / 2;
    if (a.LaunchHeight == 0 && s.FlightTime < 0.5) s.RollAccel = 0;
  }

  const bool wheels = (s.EngineType == aircraft::EngineKind::Piston && s.DryMass < 800) || s.GearExtension > 0 ||
                      (aircraft::LaunchAtMost10(a.LaunchSpeed) && a.LaunchHeight == 0);  // fixed gear, gear down, light surface start
  if (!wheels) {
    s.SupportAccel = 0;
    return;
  }

  bool brake = true;
  if (depth <= 0) {
    s.SupportAccel = 0;
    brake = false;
  } else if (depth >= 0.5 && (depth >= 2 || s.GroundSpeed >= 5)) {
    s.SupportAccel = 0;  // too deep: no spring, but the brakes still act
  } else {
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      if (s.GroundSpeed > 1) {
        s.GroundSpeed -= (0.25 / (s.GroundSpeed * s.GroundSpeed) + 1) * s.RunFactorLagged * (s.Gravity - s.NormalLoad) * dt;
      } else {
        s.GroundSpeed -= (9.8 - s.NormalLoad) * (s.RunFactorLagged + 0.25) * dt;
      }
      if (s.FlightTime < 3) depth -= s.VelZ * 0.3;
      const double root = std::sqrt(s.DryMass);
      depth -= std::fabs(s.VelZ) < 1 ? s.VelZ * 20 / root : Sgn(s.VelZ) * 20 / root;
    } else {
      s.GroundSpeed -= (s.Gravity - s.NormalLoad) * s.RunFactorLagged * dt;
      depth -= s.VelZ * 0.3;
    }
    s.SupportAccel = depth * 100;
    s.VelZ += s.SupportAccel * dt;
    if (s.GroundSpeed < 0.0001) s.GroundSpeed = 0.0001;
  }

  if (brake) {
    if (s.GroundSpeed < 0.02) {
      s.PitchAccel -= s.Thrust * s.Altitude / s.PitchInertia;  // the brakes hold the thrust
    } else {
      s.PitchAccel -= s.Mass * s.RunFactorLagged * (s.Gravity - s.NormalLoad) * s.Altitude / s.PitchInertia;
    }
  }
  s.PitchAccel += (s.PitchSin * 0.5 * s.GearHeight + s.PitchCos * a.GearPosition) * s.SupportAccel * s.Mass /
                  s.PitchInertia;

  if (a.LaunchPitch >= 0.174 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    // Tail wheel.
    s.TailContactAccel = -(((s.Altitude - s.GearHeight) / a.OverallLength) * 2.5 + (a.LaunchPitch - s.PitchAngle));
    if (s.TailContactAccel > 0) {
      s.PitchAccel -= s.TailContactAccel * 10 * s.Mass / std::pow(s.PitchInertia, 0.7);
      if (s.PitchRate < 0) s.PitchAccel -= s.PitchRate * 6;
    }
  } else if (s.Altitude - s.PitchSin * a.GearPosition < s.GearHeight + 0.1) {
    // Nose wheel, skid or tail end on the surface.
    s.TailContactAccel = ((a.LaunchPitch - s.PitchAngle) * 33 * a.OverallLength - s.Gravity * a.GearPosition) * s.Mass /
                         s.PitchInertia;
    if (s.TailContactAccel > 0) {
      s.PitchAccel += s.TailContactAccel;
      if (s.PitchRate < 0) s.PitchAccel -= s.PitchRate * 6;
    }
    s.TrackAngle = s.Heading;
    s.YawRate = 0;
    s.YawAccel = 0;
  }
}

}  // namespace

void ApplyStandingFloor(FlightState& s) {
  if (s.Altitude < s.GearHeight + 0.1 && s.GroundSpeed < 0.0001) s.GroundSpeed = 0.0001;
}

void ApplyGroundContactLoads(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.StepsPerSecond;
  // The brake releases five times faster than it applies.
  if (s.WheelBrakeSetting < s.RunFactorLagged) {
    s.RunFactorLagged += (s.WheelBrakeSetting - s.RunFactorLagged) * dt * 5;
  } else {
    s.RunFactorLagged += (s.WheelBrakeSetting - s.RunFactorLagged) * dt;
  }
  s.GearExtension += Sgn(s.GearValue - s.GearExtension) * a.ParasiteDragArea * dt * 3.5;
  if (s.GearExtension < 0) {
    s.GearExtension = 0;
  } else if (s.GearExtension > s.GearValue && s.GearValue > 0) {
    s.GearExtension = s.GearValue;
  }

  const bool gear = (aircraft::LaunchAtLeast10(a.LaunchSpeed) && s.GearValue > 0) || (aircraft::LaunchBelow10(a.LaunchSpeed) && a.LaunchHeight == 0);
  if (!gear) {
    s.SupportAccel = 0;
    return;
  }
  ApplyGearModel(s, a);
}

void ApplyWaterDrag(FlightState& s, const aircraft::AircraftData& a) {
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
    const double chord = s.MeanChord;
    s.BodyBottomHeight =
        s.PitchAngle < 0 ? s.Altitude - std::fabs(s.PitchSin) * 0.25 * chord * s.RootChordRatio : s.Altitude;
    const double k = s.PitchAngle < 0
                         ? s.OuterSweepOffset + s.InnerSweepOffset + s.TipSweepOffset + 0.2 * chord * a.TipTaper
                         : s.RootChordRatio * chord;
    s.WaterCheckHeight = k * s.PitchSin + s.Altitude + a.WingHeight * s.PitchCos;
    if (s.WaterCheckHeight < -0.05) s.LongAccel -= 5;
    if (s.BodyBottomHeight < 0) {
      const double w = s.GroundSpeed * s.GroundSpeed / s.Mass;
      const double d2 = s.BodyBottomHeight * s.BodyBottomHeight;
      if (a.WingHeight < 0.1) {
        s.LongAccel = s.LongAccel - d2 * w * 60000 - 1;
      } else {
        s.LongAccel = s.LongAccel - d2 * (0.1 / a.WingHeight) * w * 300000 - 2;
      }
    }
  }
  const double w = s.GroundSpeed * s.GroundSpeed / s.Mass;
  const auto& p = s.Panels;
  if (a.WingHeight * s.ViewRollCos + s.Altitude - 1.5 * std::fabs(s.ViewRollSin) < 0) s.LongAccel -= w * 10;
  if (p[2].PanelHeight < 0.05 && p[4].PanelHeight < 0.05) s.LongAccel -= w * 5;
  if (p[1].PanelHeight < 0.05 && p[3].PanelHeight < 0.05) s.LongAccel -= w * 5;
}

void TranslateOnSurface(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.StepsPerSecond;
  const double m = s.Mass + s.ApparentMass;
  const double before = s.GroundSpeed;
  s.GroundSpeed += (s.PitchCos * s.Thrust / m + s.LongAccel -
                    Sq(s.GroundSpeed + 500) * s.AirPathSin / (s.EarthRadius + s.Altitude)) *
                   dt;
  // The drags bring the aircraft to rest; they never drive it backwards.
  if (s.GroundSpeed < 0 && before >= 0) s.GroundSpeed = 0;

  if (s.BodyBottomHeight < 0) {
    double t = std::fabs(0.5 * s.BodyBottomHeight);
    if (a.WingHeight >= 0.1) t *= 0.1 / a.WingHeight;
    s.SupportAccel = (t * a.OverallLength / 15 * 4000 * s.Gravity -
                      std::fabs(s.BodyBottomHeight) * std::fabs(s.VelZ) * s.VelZ * 200) /
                     s.Mass;
    s.VelZ += s.SupportAccel * dt;
  }
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && a.LaunchHeight > 0) s.SupportAccel = 0;
  s.VelX = std::sin(s.TrackAngle) * s.GroundSpeed;
  s.VelY = std::cos(s.TrackAngle) * s.GroundSpeed;
  if (s.CourseDistance > 0) {
    s.TurnRate = (s.SupportAccel > 0 && aircraft::LaunchAbove10(a.LaunchSpeed)) ? 0.0 : GuardedDiv(s.SideAccel, s.GroundSpeed);
    if (s.SupportAccel > 0 && aircraft::LaunchAtMost10(a.LaunchSpeed)) {
      s.TrackAngle = s.Heading;
      s.TurnRate = 0;
    } else {
      s.TrackAngle += s.TurnRate * dt;
    }
  }
}

void StopBelowSurface(FlightState& s) {
  if (s.Altitude < -20) {
    s.VelX = 0;
    s.VelY = 0;
    s.VelZ = 0;
  }
}

void BounceTailStrike(FlightState& s, const aircraft::AircraftData& a) {
  if (a.LaunchPitch < 0.174 || s.GearValue == 0) {
    if (s.Altitude < a.OverallLength / 2 &&
        s.PitchAngle > s.GroundPitchLimit - (s.GearHeight - s.Altitude) / (s.TailPointArm + a.GearPosition)) {
      s.PitchRate = -std::fabs(s.PitchRate) * 0.7;
    }
  }
}

void CheckWingEnds(FlightState& s, const aircraft::AircraftData& a) {
  s.TipContactYawRate = 0;
  s.TipContactRollRate = 0;
  auto& p = s.Panels;
  const double span = (a.WingSpan * 0.5 - s.WingRootOffset - a.TipLength) / 2;
  const double h0 = a.WingHeight * s.ViewRollCos + s.Altitude;
  const double b = s.BankAngle;
  p[1].PanelHeight = h0 + s.WingRootOffset * s.ViewRollSin + span * std::sin(b + s.InnerDihedralLoaded);
  p[3].PanelHeight = p[1].PanelHeight + span * std::sin(b + s.OuterDihedralLoaded);
  p[5].PanelHeight = p[3].PanelHeight + a.TipLength * std::sin(b + s.TipDihedralLoaded);
  p[2].PanelHeight = h0 - s.WingRootOffset * s.ViewRollSin + span * std::sin(s.InnerDihedralLoaded - b);
  p[4].PanelHeight = p[2].PanelHeight + span * std::sin(s.OuterDihedralLoaded - b);
  p[6].PanelHeight = p[4].PanelHeight + a.TipLength * std::sin(s.TipDihedralLoaded - b);

  // The first end of each wing in the water (inner, outer, tip) drags that
  // wing back; the right wing wins when both touch.
  for (int side = 0; side < 2; ++side) {
    const double sign = side == 0 ? -1.0 : 1.0;
    for (int k = 0; k < 3; ++k) {
      WingPanel& panel = p[2 * k + 1 + side];
      if (panel.PanelHeight < -0.1) {
        panel.PanelHeight = -0.1;
        if (s.Altitude > 0) {
          const double f = k == 0 ? 4.0 : 2.0;
          s.TipContactYawRate = sign * s.GroundSpeed / a.WingSpan * f;
          s.TipContactRollRate = -sign * s.VelZ / a.WingSpan * f;
        }
        break;
      }
    }
  }
}

}  // namespace zarv::flight
