// The launch run: the aircraft on the raised platform (the pilot running a
// light aircraft down the sloping deck, a powered aircraft accelerated along
// it), the holds of the rates while on it, the launch time mark, and the
// holds of a start from the water surface.
#pragma once

#include <array>
#include <cmath>

#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"

namespace zarv::flight {

// LaunchTime: the last flight time at which the aircraft was still at the
// start, to 0.05 s; it stays once the aircraft has left the start. From a
// deck or in the air it leaves it by passing its line or, after its
// take-off, by lifting off its deck, however slowly it moves over the
// ground; from the surface by rolling at 1 m/s or more, its brake released
// (a start afloat is marked by the ground contact).
void MarkLaunchTime(const SetUpConstants& setup, const LoopTiming& loop, const BodyMotion& body,
                    const PilotControls& pilot, const LoadState& loads, const aircraft::AircraftData& a,
                    GroundState& ground);

// The brakes hold the aircraft straight; on the platform the rates are held
// at 0 and the path and pitch at the deck's.
void HoldRatesOnPlatform(const SetUpConstants& setup, const EngineState& engine, const LoadState& loads,
                         const PilotControls& pilot, const GroundState& ground, const aircraft::AircraftData& a,
                         BodyMotion& body);

// The deck's footprint: 10 m wide, from the origin out to its edge 10 m
// along the launch heading. Its outline points 1..4 (east, north), as the
// scenery draws them for a heading: the rear left corner, the front left,
// the front right and the rear right.
inline constexpr double kDeckHalfWidth = 5, kDeckLength = 10;
void DeckOutline(double heading, std::array<double, 5>& east, std::array<double, 5>& north);

// The deck's surface at the aircraft's course distance: where the start ran
// a light aircraft, so that every hold after it finds the deck where it ran.
// On a deck of 6 to 13 m the start pins it to a slope falling 0.06 m a metre
// to the edge's height; on any other deck its pilot runs it down the same
// slope (its path angle's tangent) from its start point, or, too light to
// run (30 kg or less) or launched at 10 m/s, is run level at the launch
// height. Nothing is held after the start of a powered aircraft or off a
// deck of 1 m or less: for them, the slope to the edge's height.
inline double DeckSurfaceHeight(const aircraft::AircraftData& a, const BodyMotion& body) {
  const double h = a.LaunchHeight;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && aircraft::StartsAboveSurface(a)) {
    const bool below10 = aircraft::LaunchBelow10(a.LaunchSpeed);
    if (below10 && h >= 6 && h <= 13) return h - 0.06 * body.CourseDistance;
    if (below10 && a.PilotWeight > 30) return h - std::tan(0.06) * (body.CourseDistance + kDeckLength - body.StartRadius);
    return h;
  }
  return h - 0.06 * body.CourseDistance;
}

// Whether a point (east, north) lies over the deck's footprint, behind its
// edge (where the distance flown is negative). atStart: also on the deck's
// line behind it, within its width, where a fast launch places the start.
bool OverDeck(const aircraft::AircraftData& a, double east, double north, bool atStart = false);

// The nose's height component that rests the tail end (its arm behind the
// aircraft, > 0) on the deck's surface at the launch pitch, where the
// aircraft is now.
inline double TailOnDeckNoseHeight(const SetUpConstants& setup, const BodyMotion& body,
                                   const aircraft::AircraftData& a) {
  return std::sin(a.LaunchPitch) - (DeckSurfaceHeight(a, body) - body.Altitude) / setup.TailEndArm;
}

// Where the deck can touch the aircraft: its body (the pilot's feet, skid or
// gear, at its height) over the deck, or its tail end, which reaches back
// over the deck while the aircraft passes the edge.
enum class DeckContact { Body, TailEnd };

// How far the body may be from the deck's surface and still stand on it: the
// deck falls 0.6 m over its length, and a flat run or the first step of a
// lift-off leaves the aircraft that far from the sloping surface.
inline constexpr double kDeckReach = 1;
// Once the start is left the deck only carries: the body touches it from at
// most this far over it (a slide down the sloping surface leaves it a few
// centimetres over it a step), and the tail end not from over it at all.
inline constexpr double kDeckRest = 0.1;

// The one test of every hold of the deck. A powered aircraft's start, on a
// deck or in the air, holds it only until it has left it; a light aircraft
// is held where the deck can touch it: the contact point over the deck's
// footprint and within reach of its surface. The deck pushes, it never
// pulls: the tail end touches it from under its surface only, and once the
// start is left so does the body (within kDeckRest); neither touches it
// from deeper than the reach, where it is under the deck.
bool OnDeck(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
            const aircraft::AircraftData& a, DeckContact contact = DeckContact::Body);

// The platform test of the translation step: over the deck and at its
// height, while the aircraft has not left its start (nothing sets the
// launch attitude, heading or speed again once it has).
bool IsOnPlatform(const SetUpConstants& setup, const BodyMotion& body, const GroundState& ground,
                  const LoadState& loads, const aircraft::AircraftData& a);

// The run along the deck (replaces the free-flight and surface translation
// while IsOnPlatform holds). A run stopped before it began resets the record
// index.
void RunOnPlatform(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a);

// A start from the surface keeps its heading for 3 s and its pitch for 0.5 s.
void HoldSurfaceStart(const LoopTiming& loop, const aircraft::AircraftData& a, BodyMotion& body);

// ... and stays on the surface, still, for its first second.
inline bool SurfaceStartHeld(const LoopTiming& loop, const aircraft::AircraftData& a) {
  return aircraft::StartsFromSurface(a) && loop.FlightTime < 1;
}
void HoldSurfaceStartSpeed(const LoopTiming& loop, const aircraft::AircraftData& a, BodyMotion& body);

}  // namespace zarv::flight
