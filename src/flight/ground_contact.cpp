#include "flight/ground_contact.h"

#include <algorithm>
#include <cmath>

#include "flight/guarded_math.h"
#include "flight/rotation_dynamics.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// The surface turns the track of what it carries to the heading. A light
// aircraft started from the water keeps only its motion along the heading,
// from this step on: come down on the water sideways or tail first, it is
// not turned round to go on at its speed.
void TurnTrackToHeading(bool afloat, BodyMotion& body) {
  if (afloat) {
    body.GroundSpeed = std::max(body.GroundSpeed * std::cos(body.TrackAngle - body.Heading), 0.0001);
    body.VelX = std::sin(body.Heading) * body.GroundSpeed;
    body.VelY = std::cos(body.Heading) * body.GroundSpeed;
  }
  body.TrackAngle = body.Heading;
}

// The gear, brake and reaction part of the contact loads, from the gear's
// depth onwards.
void ApplyGearModel(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  // Depth of the gear below the surface, then the deeper side.
  double depth = s.Setup.GearHeight * std::cos(s.Body.PitchAngle) - a.GearPosition * std::sin(s.Body.PitchAngle) - s.Body.Altitude + 0.075;
  s.Ground.GearDepthLeft = depth - (s.Setup.GearHeight + 1) * s.Body.ViewRollSin;
  s.Ground.GearDepthRight = depth + (s.Setup.GearHeight + 1) * s.Body.ViewRollSin;
  if (s.Ground.GearDepthLeft < 0) s.Ground.GearDepthLeft = 0;
  if (s.Ground.GearDepthRight < 0) s.Ground.GearDepthRight = 0;
  depth = s.Ground.GearDepthRight > s.Ground.GearDepthLeft ? s.Ground.GearDepthRight : s.Ground.GearDepthLeft;
  s.Ground.GearContactDepth = depth;
  if (s.Ground.GearDepthLeft > 0 || s.Ground.GearDepthRight > 0) {
    const double k = s.Masses.RollInertia < 2000 ? 7.0 : 68.5 / std::pow(s.Masses.RollInertia, 0.3);
    s.Body.RollAccel += (s.Ground.GearDepthLeft - s.Ground.GearDepthRight - s.Body.RollRate) * (s.Setup.GearHeight + 0.25) * k / 2;
    if (aircraft::StartsFromSurface(a) && s.Loop.FlightTime < 0.5) s.Body.RollAccel = 0;
  }

  const bool wheels = (s.Engine.EngineType == aircraft::EngineKind::Piston && s.Masses.DryMass < 800) || s.Ground.GearExtension > 0 ||
                      StartedAfloat(s.Ground);  // fixed gear, gear down, a light aircraft afloat
  if (!wheels) {
    s.Air.SupportAccel = 0;
    return;
  }

  bool brake = true;
  if (depth <= 0) {
    s.Air.SupportAccel = 0;
    brake = false;
  } else if (depth >= 0.5 && (depth >= 2 || s.Body.GroundSpeed >= 5)) {
    s.Air.SupportAccel = 0;  // too deep: no spring, but the brakes still act
  } else {
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      if (s.Body.GroundSpeed > 1) {
        s.Body.GroundSpeed -= (0.25 / (s.Body.GroundSpeed * s.Body.GroundSpeed) + 1) * s.Ground.RunFactorLagged * (s.Setup.Gravity - s.Air.NormalLoad) * dt;
      } else {
        s.Body.GroundSpeed -= (9.8 - s.Air.NormalLoad) * (s.Ground.RunFactorLagged + 0.25) * dt;
      }
      if (s.Loop.FlightTime < 3) depth -= s.Body.VelZ * 0.3;
      const double root = std::sqrt(s.Masses.DryMass);
      depth -= std::fabs(s.Body.VelZ) < 1 ? s.Body.VelZ * 20 / root : Sgn(s.Body.VelZ) * 20 / root;
    } else {
      s.Body.GroundSpeed -= (s.Setup.Gravity - s.Air.NormalLoad) * s.Ground.RunFactorLagged * dt;
      depth -= s.Body.VelZ * 0.3;
    }
    s.Air.SupportAccel = depth * 100;
    s.Body.VelZ += s.Air.SupportAccel * dt;
    if (s.Body.GroundSpeed < 0.0001) s.Body.GroundSpeed = 0.0001;
  }

  if (brake) {
    if (s.Body.GroundSpeed < 0.02) {
      s.Body.PitchAccel -= s.Engine.Thrust * s.Body.Altitude / s.Masses.PitchInertia;  // the brakes hold the thrust
    } else {
      s.Body.PitchAccel -= s.Masses.Mass * s.Ground.RunFactorLagged * (s.Setup.Gravity - s.Air.NormalLoad) * s.Body.Altitude / s.Masses.PitchInertia;
    }
  }
  s.Body.PitchAccel += (s.Body.PitchSin * 0.5 * s.Setup.GearHeight + s.Body.PitchCos * a.GearPosition) * s.Air.SupportAccel * s.Masses.Mass /
                  s.Masses.PitchInertia;

  if (a.LaunchPitch >= 0.174 && aircraft::LaunchAbove10(a.LaunchSpeed)) {
    // Tail wheel.
    s.Ground.TailContactAccel = -(((s.Body.Altitude - s.Setup.GearHeight) / a.OverallLength) * 2.5 + (a.LaunchPitch - s.Body.PitchAngle));
    if (s.Ground.TailContactAccel > 0) {
      s.Body.PitchAccel -= s.Ground.TailContactAccel * 10 * s.Masses.Mass / std::pow(s.Masses.PitchInertia, 0.7);
      if (s.Body.PitchRate < 0) s.Body.PitchAccel -= s.Body.PitchRate * 6;
    }
  } else if (s.Body.Altitude - s.Body.PitchSin * a.GearPosition < s.Setup.GearHeight + 0.1) {
    // Nose wheel, skid or tail end on the surface.
    s.Ground.TailContactAccel = ((a.LaunchPitch - s.Body.PitchAngle) * 33 * a.OverallLength - s.Setup.Gravity * a.GearPosition) * s.Masses.Mass /
                         s.Masses.PitchInertia;
    if (s.Ground.TailContactAccel > 0) {
      s.Body.PitchAccel += s.Ground.TailContactAccel;
      if (s.Body.PitchRate < 0) s.Body.PitchAccel -= s.Body.PitchRate * 6;
    }
    TurnTrackToHeading(StartedAfloat(s.Ground), s.Body);
    s.Body.YawRate = 0;
    s.Body.YawAccel = 0;
  }
}

}  // namespace

double AfloatHeight(const SetUpConstants& setup, const aircraft::AircraftData& a, double pitch, double bank) {
  // The gear model's deeper side, as deep as its spring carries the weight.
  return setup.GearHeight * std::cos(pitch) - a.GearPosition * std::sin(pitch) + 0.075 +
         (setup.GearHeight + 1) * std::fabs(std::sin(bank)) - setup.Gravity / 100;
}

void BeginAfloatStart(FlightState& s, const aircraft::AircraftData& a) {
  if (!aircraft::NoPlatformUnder(a.LaunchSpeed, a.LaunchHeight)) return;
  s.Ground.Afloat = AfloatStart::Held;
  if (s.Pilot.WheelBrakeSetting < 0.1) s.Pilot.WheelBrakeSetting = 0.15;
  s.Body.PitchAngle = a.LaunchPitch;
  s.Body.BankAngle = 0;
  s.Body.Altitude = AfloatHeight(s.Setup, a, a.LaunchPitch, 0);
}

bool LetGoAfloat(GroundState& ground) {
  if (ground.Afloat != AfloatStart::Held) return false;
  ground.Afloat = AfloatStart::LetGo;
  return true;
}

void HoldAfloatAtStart(FlightState& s, const aircraft::AircraftData& a) {
  GroundState& g = s.Ground;
  BodyMotion& b = s.Body;
  if (!StartedAfloat(g)) return;
  if (g.Afloat == AfloatStart::Held) {
    // It floats still where it was put, level at its launch pitch and
    // heading, whatever the wind does to its wings.
    b.PitchAngle = a.LaunchPitch;
    b.BankAngle = 0;
    b.Heading = b.TrackAngle = a.LaunchHeading;
    b.PitchRate = b.RollRate = b.YawRate = 0;
    b.VelX = b.VelY = b.VelZ = 0;
    b.GroundSpeed = 0.0001;
    b.PathAngle = 0;
    b.Altitude = AfloatHeight(s.Setup, a, b.PitchAngle, b.BankAngle);
    IntegrateAttitudeAngles(s.Loop, b, s.Memo);  // at rest: the sines and attitude vectors of the held angles
    // Its start is the take-off key: the clock runs from it, whatever the
    // water and the wind do after.
    g.LaunchTime = LaunchMark(s.Loop);
    return;
  }
  const double rest = s.Loop.StopSpeed;
  if (g.GearContactDepth > 0 && b.GroundSpeed < rest && b.AirSpeed < rest && !(s.Engine.Thrust > 0)) {
    // At rest afloat in still air with nothing pushing it, nothing moves it
    // across the water: at no airspeed the air's angles are noise, and the
    // surface, which never lets it go back, would ratchet that into a creep.
    b.GroundSpeed = 0.0001;
    b.VelX = b.VelY = 0;
  }
  // Let go, it keeps feeling the water: stopped dead by the drags, it would
  // skip the contact loads and be carried by the last ones.
  if ((b.Altitude < 1 || s.Air.SupportAccel > 0) && b.GroundSpeed < 0.0001) b.GroundSpeed = 0.0001;
}

void MarkAfloatProgress(const BodyMotion& body, GroundState& ground) {
  if (!AfloatUnderWay(ground)) return;
  if (body.GroundSpeed >= 1 || body.Altitude >= 1) ground.StartLeft = true;
  if (body.Altitude >= 1 && !RestsOnWater(ground)) ground.Afloat = AfloatStart::Flown;
}

bool AfloatStartEnded(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop) {
  switch (ground.Afloat) {
    case AfloatStart::Flown:
      return RestsOnWater(ground) || body.Altitude < 0;
    case AfloatStart::LetGo:
      // The cancel by its own height: a gale pushes the hull's reference a
      // few millimetres under the surface, where it floats on.
      return AtCancelHeight(body.Altitude) ||
             (ground.StartLeft && body.GroundSpeed < loop.StopSpeed && RestsOnWater(ground)) ||
             loop.FlightTime - ground.LaunchTime > kAfloatRunLimit;
    default:
      return false;
  }
}

bool FloatsUnderSurface(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop) {
  return StartedAfloat(ground) && body.Altitude < 0 && !loop.FlightEnded && !AfloatStartEnded(body, ground, loop);
}

void ApplyStandingFloor(const SetUpConstants& setup, BodyMotion& body) {
  if (body.Altitude < setup.GearHeight + 0.1 && body.GroundSpeed < 0.0001) body.GroundSpeed = 0.0001;
}

void ApplyGroundContactLoads(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  // The brake releases five times faster than it applies.
  if (s.Pilot.WheelBrakeSetting < s.Ground.RunFactorLagged) {
    s.Ground.RunFactorLagged += (s.Pilot.WheelBrakeSetting - s.Ground.RunFactorLagged) * dt * 5;
  } else {
    s.Ground.RunFactorLagged += (s.Pilot.WheelBrakeSetting - s.Ground.RunFactorLagged) * dt;
  }
  s.Ground.GearExtension += Sgn(s.Controls.GearValue - s.Ground.GearExtension) * a.ParasiteDragArea * dt * 3.5;
  if (s.Ground.GearExtension < 0) {
    s.Ground.GearExtension = 0;
  } else if (s.Ground.GearExtension > s.Controls.GearValue && s.Controls.GearValue > 0) {
    s.Ground.GearExtension = s.Controls.GearValue;
  }

  // A light aircraft has no gear to lower: afloat, it floats on the gear
  // model's spring (at 10 m/s too); otherwise the water takes it.
  const bool gear = (aircraft::LaunchAbove10(a.LaunchSpeed) && s.Controls.GearValue > 0) || StartedAfloat(s.Ground);
  if (!gear) {
    s.Air.SupportAccel = 0;
    s.Ground.GearContactDepth = 0;
    return;
  }
  ApplyGearModel(s, a);
}

void ApplyWaterDrag(const SetUpConstants& setup, const MassProperties& masses, const WingState& wing,
                    const aircraft::AircraftData& a, BodyMotion& body, GroundState& ground) {
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) {  // a light aircraft, at 10 m/s too
    const double chord = setup.MeanChord;
    ground.BodyBottomHeight =
        body.PitchAngle < 0 ? body.Altitude - std::fabs(body.PitchSin) * 0.25 * chord * setup.RootChordRatio : body.Altitude;
    const double k = body.PitchAngle < 0
                         ? setup.OuterSweepOffset + setup.InnerSweepOffset + setup.TipSweepOffset + 0.2 * chord * a.TipTaper
                         : setup.RootChordRatio * chord;
    ground.WaterCheckHeight = k * body.PitchSin + body.Altitude + a.WingHeight * body.PitchCos;
    if (ground.WaterCheckHeight < -0.05) body.LongAccel -= 5;
    if (ground.BodyBottomHeight < 0) {
      const double w = body.GroundSpeed * body.GroundSpeed / masses.Mass;
      const double d2 = ground.BodyBottomHeight * ground.BodyBottomHeight;
      if (a.WingHeight < 0.1) {
        body.LongAccel = body.LongAccel - d2 * w * 60000 - 1;
      } else {
        body.LongAccel = body.LongAccel - d2 * (0.1 / a.WingHeight) * w * 300000 - 2;
      }
    }
  }
  const double w = body.GroundSpeed * body.GroundSpeed / masses.Mass;
  const auto& p = wing.Panels;
  if (a.WingHeight * body.ViewRollCos + body.Altitude - 1.5 * std::fabs(body.ViewRollSin) < 0) body.LongAccel -= w * 10;
  if (p[2].PanelHeight < 0.05 && p[4].PanelHeight < 0.05) body.LongAccel -= w * 5;
  if (p[1].PanelHeight < 0.05 && p[3].PanelHeight < 0.05) body.LongAccel -= w * 5;
}

void TranslateOnSurface(FlightState& s, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  const double m = s.Masses.Mass + s.Masses.ApparentMass;
  const double before = s.Body.GroundSpeed;
  s.Body.GroundSpeed += (s.Body.PitchCos * s.Engine.Thrust / m + s.Body.LongAccel -
                    Sq(s.Body.GroundSpeed + 500) * s.Air.AirPathSin / (s.Setup.EarthRadius + s.Body.Altitude)) *
                   dt;
  // The drags bring the aircraft to rest; they never drive it backwards.
  if (s.Body.GroundSpeed < 0 && before >= 0) s.Body.GroundSpeed = 0;

  if (s.Ground.BodyBottomHeight < 0) {
    double t = std::fabs(0.5 * s.Ground.BodyBottomHeight);
    if (a.WingHeight >= 0.1) t *= 0.1 / a.WingHeight;
    const double buoyancy = t * a.OverallLength / 15 * 4000 * s.Setup.Gravity;
    const double damping = std::fabs(s.Ground.BodyBottomHeight) * std::fabs(s.Body.VelZ) * s.Body.VelZ * 200;
    s.Air.SupportAccel = (buoyancy - damping) / s.Masses.Mass;
    if (std::fabs(damping / s.Masses.Mass * dt) > std::fabs(s.Body.VelZ)) {
      // The hull's damping grows with the square of the sink rate: in one
      // explicit step of a fast dive it would throw the hull back out faster
      // than it went in. It stops the hull at most.
      s.Air.SupportAccel = buoyancy / s.Masses.Mass - s.Body.VelZ / dt;
    }
    s.Body.VelZ += s.Air.SupportAccel * dt;
  }
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && aircraft::StartsAboveSurface(a)) s.Air.SupportAccel = 0;  // off its platform
  s.Body.VelX = std::sin(s.Body.TrackAngle) * s.Body.GroundSpeed;
  s.Body.VelY = std::cos(s.Body.TrackAngle) * s.Body.GroundSpeed;
  if (s.Body.CourseDistance > 0) {
    s.Body.TurnRate = (s.Air.SupportAccel > 0 && aircraft::LaunchAbove10(a.LaunchSpeed)) ? 0.0 : GuardedDiv(s.Loads.SideAccel, s.Body.GroundSpeed);
    if (s.Air.SupportAccel > 0 && aircraft::LaunchAtMost10(a.LaunchSpeed)) {
      TurnTrackToHeading(StartedAfloat(s.Ground), s.Body);
      s.Body.TurnRate = 0;
    } else {
      s.Body.TrackAngle += s.Body.TurnRate * dt;
    }
  }
}

void StopBelowSurface(BodyMotion& body) {
  if (body.Altitude < -20) {
    body.VelX = 0;
    body.VelY = 0;
    body.VelZ = 0;
  }
}

void BounceTailStrike(const SetUpConstants& setup, const ControlState& controls,
                      const aircraft::AircraftData& a, BodyMotion& body) {
  if (a.LaunchPitch < 0.174 || controls.GearValue == 0) {
    if (body.Altitude < a.OverallLength / 2 &&
        body.PitchAngle > setup.GroundPitchLimit - (setup.GearHeight - body.Altitude) / (setup.TailPointArm + a.GearPosition)) {
      body.PitchRate = -std::fabs(body.PitchRate) * 0.7;
    }
  }
}

void CheckWingEnds(const SetUpConstants& setup, const BodyMotion& body, const ControlState& controls,
                   const aircraft::AircraftData& a, WingState& wing, GroundState& ground) {
  ground.TipContactYawRate = 0;
  ground.TipContactRollRate = 0;
  ground.WingEndInWater = false;
  auto& p = wing.Panels;
  const double span = (a.WingSpan * 0.5 - setup.WingRootOffset - a.TipLength) / 2;
  const double h0 = a.WingHeight * body.ViewRollCos + body.Altitude;
  const double b = body.BankAngle;
  p[1].PanelHeight = h0 + setup.WingRootOffset * body.ViewRollSin + span * std::sin(b + controls.InnerDihedralLoaded);
  p[3].PanelHeight = p[1].PanelHeight + span * std::sin(b + controls.OuterDihedralLoaded);
  p[5].PanelHeight = p[3].PanelHeight + a.TipLength * std::sin(b + controls.TipDihedralLoaded);
  p[2].PanelHeight = h0 - setup.WingRootOffset * body.ViewRollSin + span * std::sin(controls.InnerDihedralLoaded - b);
  p[4].PanelHeight = p[2].PanelHeight + span * std::sin(controls.OuterDihedralLoaded - b);
  p[6].PanelHeight = p[4].PanelHeight + a.TipLength * std::sin(controls.TipDihedralLoaded - b);

  // The first end of each wing in the water (inner, outer, tip) drags that
  // wing back; the right wing wins when both touch.
  for (int side = 0; side < 2; ++side) {
    const double sign = side == 0 ? -1.0 : 1.0;
    for (int k = 0; k < 3; ++k) {
      WingPanel& panel = p[2 * k + 1 + side];
      if (panel.PanelHeight < -0.1) {
        panel.PanelHeight = -0.1;
        ground.WingEndInWater = true;
        if (body.Altitude > 0) {
          const double f = k == 0 ? 4.0 : 2.0;
          ground.TipContactYawRate = sign * body.GroundSpeed / a.WingSpan * f;
          ground.TipContactRollRate = -sign * body.VelZ / a.WingSpan * f;
        }
        break;
      }
    }
  }
}

}  // namespace zarv::flight
