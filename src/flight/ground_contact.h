// Contact with the lake surface: the landing gear (spring, damping, brakes,
// roll moment), tail and nose contact, the drags of hull, wing and wing ends
// in the water, the surface translation that replaces free flight while the
// aircraft is carried, the tail-strike bounce, a dipped wing end, and the
// stop of all motion 20 m under the surface.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// A light aircraft launched from the water surface (it floats on the gear
// model's spring; 10 m/s is light too).
inline bool LightWaterStart(const aircraft::AircraftData& a) {
  return aircraft::LaunchAtMost10(a.LaunchSpeed) && a.LaunchHeight == 0;
}

// The height at which the gear model's spring, at rest, carries the weight of
// an aircraft at this pitch and bank (rad).
double AfloatHeight(const SetUpConstants& setup, const aircraft::AircraftData& a, double pitch, double bank);

// Let go from the water and clear of it (nothing carries it and its lowest
// point is above the surface), it flies, low over the water too: the water
// no longer holds it to a track along its heading.
inline bool FliesOffTheWater(const BodyMotion& body, const GroundState& ground, const AirData& air,
                             const aircraft::AircraftData& a) {
  return LightWaterStart(a) && ground.RunStarted && air.SupportAccel <= 0 && ground.BodyBottomHeight >= 0 &&
         body.Altitude > 0;
}

// An aircraft standing on its gear keeps a minimal ground speed.
void ApplyStandingFloor(const SetUpConstants& setup, BodyMotion& body);

// The wheel-brake lag, the gear extension and the gear, brake, tail and nose
// loads on PitchAccel, RollAccel and YawAccel (SupportAccel is the gear's
// upward acceleration afterwards). Runs after the pitch and yaw
// accelerations while the aircraft moves.
void ApplyGroundContactLoads(FlightState& s, const aircraft::AircraftData& a);

// The water drags subtracted from LongAccel.
void ApplyWaterDrag(const SetUpConstants& setup, const MassProperties& masses, const WingState& wing,
                    const aircraft::AircraftData& a, BodyMotion& body, GroundState& ground);

// Motion while carried by the surface: along the track, hull buoyancy.
// Water drag never reverses the aircraft within a step, nor does the hull's
// damping its sink rate.
void TranslateOnSurface(FlightState& s, const aircraft::AircraftData& a);

// Below 20 m under the surface every velocity is 0.
void StopBelowSurface(BodyMotion& body);

// A tail that strikes the surface bounces the nose down.
void BounceTailStrike(const SetUpConstants& setup, const ControlState& controls,
                      const aircraft::AircraftData& a, BodyMotion& body);

// Heights of the six panel ends; a wing end in the water imposes yaw and
// roll rates on the next step.
void CheckWingEnds(const SetUpConstants& setup, const BodyMotion& body, const ControlState& controls,
                   const aircraft::AircraftData& a, WingState& wing, GroundState& ground);

}  // namespace zarv::flight
