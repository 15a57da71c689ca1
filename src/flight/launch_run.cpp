#include "flight/launch_run.h"

#include <cmath>

#include "flight/ground_contact.h"
#include "flight/guarded_math.h"
#include "flight/rotation_dynamics.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {

void MarkLaunchTime(const SetUpConstants& setup, const LoopTiming& loop, const BodyMotion& body,
                    const PilotControls& pilot, const LoadState& loads, const aircraft::AircraftData& a,
                    GroundState& ground) {
  // Once the aircraft is under way the mark stays: a brake set in the air
  // (the take-off command toggles it) and a stall or the water's drag below
  // 1 m/s, or a pass back over the deck, would stamp the end of the flight.
  // Afloat, the start is the take-off key: the ground contact marks it.
  if (ground.StartLeft || StartedAfloat(ground)) return;
  const double now = LaunchMark(loop);
  // A glider leaving its edge into a headwind as strong as its airspeed
  // crosses its line, or lifts off its deck, at a walking pace: it has left
  // all the same, and must not be run along its deck again.
  const bool takenOff = aircraft::StartsAboveSurface(a) && pilot.TakeoffRunAcceleration > 0;
  if ((takenOff && body.CourseDistance > 0) ||
      (takenOff && body.OnPlatform && !IsOnPlatform(setup, body, ground, loads, a))) {
    ground.StartLeft = true;
    return;
  }
  const bool atStart = (aircraft::StartsAboveSurface(a) && body.CourseDistance < 0) ||
                       (body.GroundSpeed < 1 && pilot.WheelBrakeSetting > 0.1 && loop.FlightTime < 100) ||
                       (body.GroundSpeed < 1 && body.CourseDistance < 0);
  // A start from the surface stays at its start while its brake is held:
  // settling onto the gear jolts it past 1 m/s for a moment.
  const bool held = aircraft::StartsFromSurface(a) && aircraft::LaunchAbove10(a.LaunchSpeed) && pilot.WheelBrakeSetting > 0.1;
  if (atStart) {
    ground.LaunchTime = now;
  } else if (body.GroundSpeed >= 1 && !held) {
    ground.StartLeft = true;
  }
}

void DeckOutline(double heading, std::array<double, 5>& east, std::array<double, 5>& north) {
  const double h = heading;
  east[1] = 5 * std::sin(h + 9.4247778 / 2);
  north[1] = 5 * std::cos(h + 9.4247778 / 2);
  east[2] = 11.18 * std::sin(h + 5.8196);
  north[2] = 11.18 * std::cos(h + 5.8196);
  east[3] = 11.18 * std::sin(h + 0.4636);
  north[3] = 11.18 * std::cos(h + 0.4636);
  east[4] = 5 * std::sin(h + kPi / 2);
  north[4] = 5 * std::cos(h + kPi / 2);
}

bool OverDeck(const aircraft::AircraftData& a, double east, double north, bool atStart) {
  const double h = a.LaunchHeading;
  const double along = east * std::sin(h) + north * std::cos(h);
  const double across = east * std::cos(h) - north * std::sin(h);
  // The edge is where the distance flown begins, kDeckLength from the origin.
  return (along >= 0 || atStart) && std::fabs(across) <= kDeckHalfWidth && std::hypot(east, north) < kDeckLength;
}

bool OnDeck(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
            const aircraft::AircraftData& a, DeckContact contact) {
  // No platform under a light aircraft: no deck to hold it, afloat or let go.
  if (aircraft::NoPlatformUnder(a.LaunchSpeed, a.LaunchHeight)) return false;
  if (ground.StartLeft && aircraft::LaunchAbove10(a.LaunchSpeed)) return false;
  if (contact == DeckContact::Body) {
    // At its start the deck reaches the aircraft from either side; once it
    // has left, it only carries what has come down onto its outline.
    const double above = body.Altitude - DeckSurfaceHeight(a, body);
    return body.CourseDistance < 0 && OverDeck(a, body.PosX, body.PosY, !ground.StartLeft) && above >= -kDeckReach &&
           above <= (ground.StartLeft ? kDeckRest : kDeckReach);
  }
  // The tail end, its arm back along the nose, rests on the deck at the
  // launch pitch. It touches the deck where it is over it, where the nose
  // can take the height that puts it there, and where it is not above the
  // surface nor so far under it that it is under the deck.
  const double arm = setup.TailEndArm;
  if (!(body.CourseDistance <= arm - 1.5 && arm > 0)) return false;
  const auto& nose = body.NoseVector;
  if (!OverDeck(a, body.PosX - arm * nose[0], body.PosY - arm * nose[1])) return false;
  const double onDeck = TailOnDeckNoseHeight(setup, body, a);
  const double above = arm * (onDeck - nose[2]);
  return std::fabs(onDeck) <= 1 && above <= 0 && above >= -kDeckReach;
}

void HoldRatesOnPlatform(const SetUpConstants& setup, const EngineState& engine, const LoadState& loads,
                         const PilotControls& pilot, const GroundState& ground, const aircraft::AircraftData& a,
                         BodyMotion& body) {
  if (body.GroundSpeed < 0.01 && pilot.WheelBrakeSetting > 0) body.YawRate = 0;
  if (OnDeck(setup, body, ground, a)) {
    body.YawRate = 0;
    body.PitchRate = 0;
    body.RollRate = 0;
    if (engine.EngineRating < 9000 && aircraft::StartsAboveSurface(a) && loads.LiftAccel < setup.Gravity) {
      body.PathAngle = -0.06;
    } else if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      body.PathAngle = 0;
    }
    if (body.GroundSpeed > 0.2 && !ground.StartLeft) {
      body.PitchAngle = a.LaunchPitch;
      body.PitchRate = 0;
    }
  }
}

bool IsOnPlatform(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
                  const LoadState& loads, const aircraft::AircraftData& a) {
  return !ground.StartLeft && OnDeck(setup, body, ground, a) && aircraft::StartsAboveSurface(a) &&
         (loads.LiftAccel < setup.Gravity + 10 || body.GroundSpeed < 0.5);
}

void RunOnPlatform(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a) {
  const double dt = 1.0 / s.Loop.StepsPerSecond;
  s.Air.SupportAccel = s.Setup.Gravity - s.Masses.Mass * s.Air.NormalLoad / s.Masses.DryMass;

  if (aircraft::LaunchBelow10(a.LaunchSpeed) && a.PilotWeight > 30 && aircraft::StartsAboveSurface(a)) {
    // The pilot runs down the deck, which falls 6 % towards the edge.
    s.Body.PathAngle = -0.06;
    s.Body.VelZ = s.Body.GroundSpeed > 0 ? s.Body.PathAngleSin / s.Body.PathAngleCos * s.Body.GroundSpeed : 0.0;
    s.Body.PitchAngle = a.LaunchPitch;
    s.Body.BankAngle = a.LaunchBank;
    s.Body.Heading = a.LaunchHeading;
    if (s.Body.GroundSpeed > 0.1 && a.LaunchHeight > 10.2) {
      // The gait: the nose bobs twice as often as the wings sway.
      s.Body.PitchAngle = a.LaunchPitch + s.Body.InertialSpeed * std::sin(s.Body.Distance / a.LaunchSpeed * 12 * kPi) / 300;
      s.Body.BankAngle =
          a.LaunchBank - std::sqrt(std::fabs(s.Body.InertialSpeed)) * std::sin(s.Body.Distance / a.LaunchSpeed * 6 * kPi) / 90;
    }
  } else {
    s.Body.PitchAngle = a.LaunchPitch;
    if (s.Body.GroundSpeed < 0.1) {
      // The engine shakes the aircraft while it stands.
      s.Body.PitchAngle += s.Engine.Thrust * std::sin(s.Instruments.EngineShakeCounter / 24.0 * 3.14 / s.Loop.StepsPerSecond) / s.Masses.Mass / 50;
    }
    s.Body.Heading = a.LaunchHeading;
    s.Body.VelZ = 0;
    s.Body.BankAngle = 0;
  }
  s.Body.TrackAngle = s.Body.Heading;

  if (s.Pilot.TakeoffRunAcceleration > 0) {
    s.Body.GroundSpeed += s.Pilot.TakeoffRunAcceleration * dt;
    if (s.Body.GroundSpeed < 1e-5) {
      s.Body.GroundSpeed = 1e-5;
      r.RecordCount = 0;
    }
  } else {
    s.Body.GroundSpeed = 1e-5;
  }
  if (s.Body.GroundSpeed > a.LaunchSpeed) s.Body.GroundSpeed = a.LaunchSpeed;

  // Outline of the deck for the scenery.
  DeckOutline(s.Body.Heading, s.Ground.PlatformOutlineX, s.Ground.PlatformOutlineY);

  if (aircraft::StartsAboveSurface(a) && a.LaunchHeight < 120000 && s.Body.InertialSpeed <= 0) {
    s.Body.InertialSpeed = 0;
    s.Body.PosX = s.Body.StartRadius * std::sin(s.Body.Heading);
    s.Body.PosY = s.Body.StartRadius * std::cos(s.Body.Heading);
  }
  s.Body.VelX = std::sin(s.Body.TrackAngle) * s.Body.GroundSpeed;
  s.Body.VelY = std::cos(s.Body.TrackAngle) * s.Body.GroundSpeed;
}

void HoldSurfaceStart(const LoopTiming& loop, const aircraft::AircraftData& a, BodyMotion& body) {
  if (aircraft::StartsFromSurface(a) && loop.FlightTime < 3) {
    body.Heading = a.LaunchHeading;
    if (loop.FlightTime < 0.5) {
      body.PitchAngle = a.LaunchPitch;
      body.PitchRate = 0;
    }
  }
}

void HoldSurfaceStartSpeed(const LoopTiming& loop, const aircraft::AircraftData& a, BodyMotion& body) {
  if (SurfaceStartHeld(loop, a)) {
    body.VelZ = 0;
    body.GroundSpeed = 0.0001;
  }
}

}  // namespace zarv::flight
