// Rotational dynamics: the centre of gravity, the angular accelerations from
// the aerodynamic, engine, augmentation and contact moments, the body rates
// with their limits, and the attitude (a direction-vector integrator in free
// flight, a plain angle integrator on the platform and the ground).
#pragma once

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

inline constexpr double kRollRateLimit = 13;
inline constexpr double kPitchRateLimit = 4;
inline constexpr double kYawRateLimit = 13;
// Beyond this cosine between the nose and the top vector the frame is made
// square again (the deck's tail hold leans it to about 0.31).
inline constexpr double kTopLeanLimit = 0.5;
// The most the deck's tail hold moves the nose's height component in one
// step (the samples' starts take up to 0.115, the run along the deck 0.02).
inline constexpr double kTailHoldReach = 0.15;

// CgX from the masses (the hanging pilot of a light aircraft swings with
// the pitch).
void UpdateCentreOfGravity(const SetUpConstants& setup, const BodyMotion& body,
                           const aircraft::AircraftData& a, MassProperties& masses);

// RollAccel from the panel lifts, the fin, the engine and the augmentation,
// with aerodynamic roll damping.
void ComputeRollAcceleration(FlightState& s, const aircraft::AircraftData& a);

// PitchAccel and YawAccel with damping and the roll-yaw coupling. The flight
// step runs it only while the aircraft moves (|GroundSpeed| > 1e-5).
void ComputePitchYawAcceleration(FlightState& s, const aircraft::AircraftData& a);

// Rates from the accelerations (or the rates a wing end in the water
// imposes), limited to 13, 4 and 13 rad/s.
void UpdateBodyRates(const LoopTiming& loop, const AirData& air, const GroundState& ground, BodyMotion& body);

// Attitude from the rates: the vector integrator once clear of the platform,
// the angle integrator otherwise.
void PropagateAttitude(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                       const aircraft::AircraftData& a, BodyMotion& body, MemoTables& memo);

// Both integrators, for tests.
void IntegrateAttitudeVectors(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                              const aircraft::AircraftData& a, BodyMotion& body, MemoTables& memo);
void IntegrateAttitudeAngles(const LoopTiming& loop, BodyMotion& body, MemoTables& memo);

}  // namespace zarv::flight
