// Translational motion in free flight and the air data: climb rate and
// horizontal velocity from thrust, drag, lift, side force and gravity (with
// the Earth's curvature and rotation), the ground track and path angle, and,
// after the attitude step, airspeed, angle of attack, sideslip and gravity.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// Rate of the path angle from the forces; 0 while the aircraft is carried.
void ComputePathAngleRate(const SetUpConstants& setup, const AirData& air, BodyMotion& body);

// LongAccel, the acceleration along the track (the water drags come after),
// and DragAcceleration.
void ComputeLongAccel(FlightState& s);

// VelZ from the forces, gravity and the Earth's curvature.
void UpdateVerticalVelocity(FlightState& s);

// True when the surface translation carries the aircraft this step.
bool UsesSurfaceTranslation(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
                            const AirData& air, const aircraft::AircraftData& a);

// VelX, VelY, TrackAngle, GroundSpeed and TurnRate in free flight.
void TranslateInFreeFlight(FlightState& s);

// At rest on the water the path is level, whatever the aircraft: over no
// speed the spring's bob, or a wind lifting the hull just off the water, is
// no climb. Held still at its start from the surface, or slower than the
// rest speed over the ground and on the water, or just off it (its gear less
// than a metre up) moving up or down no faster than the rest speed. Falling
// or climbing clear of the water, its path is its motion's.
bool PathLevelAtRest(const SetUpConstants& setup, const LoopTiming& loop, const BodyMotion& body,
                     const GroundState& ground, const aircraft::AircraftData& a);

// PathAngle (not on the platform), then the path and bank sines.
void UpdatePathAngle(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                     const aircraft::AircraftData& a, BodyMotion& body);
void UpdatePathSines(BodyMotion& body, MemoTables& memo);

// The air-relative velocity and the flow angles in body axes, the drift and
// the copies kept for the next step.
void UpdateAirData(const SetUpConstants& setup, const aircraft::AircraftData& a, BodyMotion& body,
                   AirData& air, MemoTables& memo);

// InertialSpeed and the local gravity.
void UpdateInertialSpeedAndGravity(SetUpConstants& setup, BodyMotion& body);

// A number as the runtime's Str prints it (15 significant digits) and reads
// it back.
double ThroughText(double v);


}  // namespace zarv::flight
