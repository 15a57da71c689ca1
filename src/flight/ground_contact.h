// Contact with the lake surface: the landing gear (spring, damping, brakes,
// roll moment), tail and nose contact, the drags of hull, wing and wing ends
// in the water, the surface translation that replaces free flight while the
// aircraft is carried, the tail-strike bounce, a dipped wing end, the stop
// of all motion 20 m under the surface, and a light aircraft's start afloat
// from its hold to its end.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// The height at which the gear model's spring, at rest, carries the weight of
// an aircraft at this pitch and bank (rad).
double AfloatHeight(const SetUpConstants& setup, const aircraft::AircraftData& a, double pitch, double bank);

// A light aircraft with no platform under it (the per-flight set-up has put
// its launch height at 0) starts afloat: it floats on the gear model's
// spring, at 10 m/s too, held still where it was put until the take-off key
// lets it go, braked.
void BeginAfloatStart(FlightState& s, const aircraft::AircraftData& a);

// Whether the aircraft started afloat (held, let go or flown since).
inline bool StartedAfloat(const GroundState& ground) { return ground.Afloat != AfloatStart::None; }

// The take-off key on an aircraft afloat: the first lets it go (true), and
// from then on the key only works the brake.
bool LetGoAfloat(GroundState& ground);

// Whether the take-off key has let it go (flown clear since or not): from
// then on the flight is under way, behind its line too.
inline bool AfloatUnderWay(const GroundState& ground) {
  return ground.Afloat == AfloatStart::LetGo || ground.Afloat == AfloatStart::Flown;
}

// Until it is let go it floats still, level at its launch pitch and heading,
// and its clock stands: the launch mark follows the flight time to the take-off
// key. Let go, it moves by its own forces (at rest in still air and unpushed,
// it stays).
void HoldAfloatAtStart(FlightState& s, const aircraft::AircraftData& a);

// Let go, it has left its start once it moves at 1 m/s, and has flown clear
// once a metre up with nothing of it in the water (a wing end dipped while its
// body climbs has not). Runs once the pass has found its wing ends.
void MarkAfloatProgress(const BodyMotion& body, GroundState& ground);

// How long a start afloat that never flies clear may go on after the take-off
// key: in a wind it would drift for ever.
inline constexpr double kAfloatRunLimit = 60;  // s

// Something of it is in the water or on it: the hull under the surface, the
// gear model's spring pressed, or a wing end dipped (an aircraft lying on a
// wing tip holds its body clear of the water).
inline bool RestsOnWater(const GroundState& ground) {
  return ground.BodyBottomHeight < 0 || ground.GearContactDepth > 0 || ground.WingEndInWater;
}

// Whether a start afloat has ended: back on the water after flying clear
// (where it came down: the wind then only pushes it along), at rest on it
// after moving off, a minute after the take-off key without flying clear, or
// cancelled once let go (at the cancel's height).
bool AfloatStartEnded(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop);

// A start afloat floats on with its reference under the surface where a gale
// presses its nose in: it is down in the water there only once its own tests
// end it (the cancel's height among them).
bool FloatsUnderSurface(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop);

// At rest in the water, where a flight ends: under the surface and slower
// than the rest speed. The last pass draws it, the panel shows it whole.
inline bool AtRestInWater(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop) {
  return body.Altitude < 0 && body.GroundSpeed < loop.StopSpeed && !FloatsUnderSurface(body, ground, loop);
}

// Down, the step counter held at 0: a light aircraft at rest in the water, a
// powered one under the surface at any speed.
inline bool DownInWater(const BodyMotion& body, const GroundState& ground, const LoopTiming& loop,
                        const aircraft::AircraftData& a) {
  return aircraft::LaunchAtMost10(a.LaunchSpeed) ? AtRestInWater(body, ground, loop) : body.Altitude < 0;
}

// Until it has flown clear a start afloat ends by its own rules, on the
// flight's clock: no wall clock (the rest watchdog) may end it before its
// minute on a machine too slow for real time.
inline bool AfloatEndsByItsOwnRules(const GroundState& ground) {
  return StartedAfloat(ground) && ground.Afloat != AfloatStart::Flown;
}

// Let go from the water and clear of it (nothing carries it and its lowest
// point is above the surface), it flies, low over the water too: the water
// no longer holds it to a track along its heading.
inline bool FliesOffTheWater(const BodyMotion& body, const GroundState& ground, const AirData& air) {
  return AfloatUnderWay(ground) && air.SupportAccel <= 0 && ground.BodyBottomHeight >= 0 &&
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
