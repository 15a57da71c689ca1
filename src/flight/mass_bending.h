// Mass properties, airframe bending and the position update: the inertias
// and the yaw-damper gain, the lift and side force as accelerations and
// loads, the horizontal position and the flight distances, the bending of
// the wing, the rear fuselage and the fin boom, the loaded dihedral, the
// altitude (pinned to the sloping deck on the platform) and the step count.
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

inline constexpr int16_t kStepCounterWrap = 3000;

// The three moments of inertia and the yaw-damper gain.
void UpdateInertias(const SetUpConstants& setup, const AirData& air, const aircraft::AircraftData& a,
                    MassProperties& masses, ControlState& controls);

// Lift and side force resolved with the bank; accelerations and loads.
void UpdateLoads(const MassProperties& masses, const BodyMotion& body, const TailState& tail, AirData& air,
                 LoadState& loads);

// PosX, PosY, the ground track flown low, Distance and CourseDistance.
void UpdatePosition(const SetUpConstants& setup, const LoopTiming& loop, const aircraft::AircraftData& a,
                    BodyMotion& body, LoadState& loads);

// Wing bend and rear-fuselage bend in pitch and sideways (integrated for
// soft light aircraft, static otherwise), once the flight has begun.
void BendAirframe(FlightState& s, const aircraft::AircraftData& a);

// The dihedral of the three panel groups with the wing's bend.
void UpdateLoadedDihedral(const SetUpConstants& setup, const MassProperties& masses, const LoadState& loads,
                          const InstrumentState& instruments, const aircraft::AircraftData& a,
                          ControlState& controls);

// Altitude from the climb rate, or the deck's height on the platform.
void UpdateAltitude(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                    const aircraft::AircraftData& a, BodyMotion& body);

// StepCounter +1 (0 after 3000), and held at 0 while the aircraft is down.
void AdvanceStepCounter(const BodyMotion& body, const GroundState& ground, const aircraft::AircraftData& a,
                        LoopTiming& loop);

}  // namespace zarv::flight
