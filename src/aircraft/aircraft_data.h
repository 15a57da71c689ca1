// The aircraft record: one aircraft with the launch and weather conditions it
// was last flown in, as read from an aircraft file or the hand-over file.
// Every other part of the program reads the current aircraft from here.
//
// Units are the ones held after reading (angles in radians except where
// noted). Defaults are the values an empty file reads as, so a record that was
// never loaded still gives a usable aircraft class, pressure and headings.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/program_state.h"

namespace zarv::aircraft {

// The aircraft class by launch speed (m/s): a light aircraft, launched from
// the platform, has 10 or less; a powered one, with a flying start, more.
// Some steps compare strictly below 10 (or at least 10) instead, which
// differs only for a launch at exactly 10 m/s; each keeps its own boundary.
inline bool LaunchAtMost10(double launchSpeed) { return launchSpeed <= 10; }   // light
inline bool LaunchAbove10(double launchSpeed) { return launchSpeed > 10; }     // powered
inline bool LaunchBelow10(double launchSpeed) { return launchSpeed < 10; }
inline bool LaunchAtLeast10(double launchSpeed) { return launchSpeed >= 10; }

// A light aircraft needs more than a metre of platform above the water to run
// off: at 1 m or less (0 included) there is none under it, and it starts
// afloat on the lake. Such a flight is not a platform flight.
inline bool NoPlatformUnder(double launchSpeed, double launchHeight) {
  return LaunchAtMost10(launchSpeed) && !(launchHeight > 1);
}

inline constexpr int kAircraftFieldCount = 54;  // fields 0..53, lines 2..55
inline constexpr int kAircraftLineCount = 55;   // tag line + fields

struct AircraftData {
  // Line 1: names the hangar folder (tag + "ata", e.g. "D" -> Data).
  std::string AircraftTag;
  // Each field's text as read (field n = line n + 2), kept for the writers.
  std::array<std::string, kAircraftFieldCount> AircraftLines{};

  std::string AircraftName;           // 0
  double PilotWeight = 0;             // 1  kg (powered: front fuselage)
  double WingWeight = 0;              // 2  kg
  double TailWeight = 0;              // 3  kg
  double RearFuselageWeight = 0;      // 4  kg
  double OverallLength = 0;           // 5  m
  double TailplaneArm = 0;            // 6  m, negative = foreplane
  double FinArm = 0;                  // 7  m
  double RearFuselageStiffness = 0;   // 8  N/rad (file: N/deg)
  double WingDeflection = 0;          // 9  m, tip deflection at 1 g
  double ParasiteDragArea = 0;        // 10 m2
  double WingSpan = 0;                // 11 m
  double WingArea = 0;                // 12 m2
  double TipWashout = 0;              // 13 rad (file: deg)
  double WingIncidence = 0;           // 14a deg (kept in degrees)
  double FlapMax = 0;                 // 14b deg, 0 = no flaps
  double InnerDihedral = 0;           // 15a rad
  double InnerSweep = 0;              // 15b rad
  double InnerTaper = 0;              // 16
  double OuterDihedral = 0;           // 17a rad
  double OuterSweep = 0;              // 17b rad
  double OuterTaper = 0;              // 18
  double TipLength = 0;               // 19 m
  double TipDihedral = 0;             // 20a rad
  double TipSweep = 0;                // 20b rad
  double TipTaper = 0;                // 21
  double TailplaneArea = 0;           // 22 m2
  double TailplaneIncidence = 0;      // 23 deg (kept in degrees)
  double FinArea = 0;                 // 24 m2
  double FinTilt = 0;                 // 25 rad
  double FinHalfSpacing = 0;          // 26 m (file: full spacing), 0 = single fin
  double CgPosition = 0;              // 27 fraction of chord (file: %)
  double TailEndHeight = 0;           // 28a m (powered: gear length)
  double GearPosition = 0;            // 28b m, read only for powered aircraft
  double WingHeight = 0;              // 29 m
  double LaunchHeight = 0;            // 30 m
  std::string WingAirfoil;            // 31
  std::string TailAirfoil;            // 32
  int16_t FinFixed = 0;               // 33 1 = fin does not move
  int16_t TailplaneFixed = 0;         // 34 1 = tailplane does not move
  int16_t EngineCount = 0;            // 35
  double FuelCapacity = 0;            // 36 kg, 0 without engines
  std::string EngineFamily;           // 37
  std::string EngineModel;            // 38 key of the engine catalogue
  double RollRatio = 0;               // 39 packed with PitchRatio, 0..3
  double PitchRatio = 0;              // 39 0..3
  double SurfaceRate = 0;             // 40 deg/s, at most 240
  double PitchResponse = 0;           // 41
  double PitchDamping = 0;            // 42
  std::string Reserved43;             // 43 kept as read
  std::string Reserved44;             // 44 kept as read
  double LaunchSpeed = 1.0;           // 45 m/s, at least 1; > 10 = powered
  double WindSpeed = 0;               // 46 m/s, not negative
  double LaunchHeading = kFullTurn;   // 47 rad, 0 reads as a full turn
  double LaunchBank = 0;              // 48 rad, |x| > 1 reads as 0
  double LaunchPitch = 0;             // 49 rad, -15..12.5 deg
  double WindDirection = kFullTurn;   // 50 rad, 0 reads as a full turn
  double SurfacePressure = 1013;      // 51 hPa, 0 reads as 1013
  double SurfaceTemperature = 0;      // 52 deg C
  int16_t TailHoldFlag = 0;           // 53 flight screen's Check8

  // Set on reading: eye height above the aircraft's datum (m).
  double EyeHeight = 0;

  AircraftData() { AircraftLines[36] = " 0"; }
  void Reset() { *this = AircraftData{}; }

  // Light aircraft (human-powered or glider) vs powered with a flying start.
  bool IsPowered() const { return LaunchAbove10(LaunchSpeed); }
};

// The launch height a flight starts from, which the per-flight set-up puts
// into the record (the file keeps its own): 0 or above 1 m. A light aircraft
// with no platform under it starts at 0; a powered one up to 7.5 m starts on
// the water, and up to 50 m at 15 m.
inline double LaunchHeightFlown(const AircraftData& a) {
  if (NoPlatformUnder(a.LaunchSpeed, a.LaunchHeight)) return 0;
  if (LaunchAbove10(a.LaunchSpeed)) {
    if (a.LaunchHeight <= 7.5) return 0;
    if (a.LaunchHeight <= 50) return 15;
  }
  return a.LaunchHeight;
}

// After the set-up, a start is from the surface (afloat, or a powered
// aircraft on the water) or from above it (a light aircraft's platform, a
// powered one's flying start).
inline bool StartsFromSurface(const AircraftData& a) { return a.LaunchHeight == 0; }
inline bool StartsAboveSurface(const AircraftData& a) { return a.LaunchHeight > 0; }

// A start from the surface out on the lake, away from the platform's course
// line: a powered aircraft on the water, or a light one afloat launched below
// 1.1 m/s (launched faster it floats at its start point on the line).
inline bool StartsOutOnTheLake(const AircraftData& a) {
  return StartsFromSurface(a) && (a.LaunchSpeed < 1.1 || LaunchAbove10(a.LaunchSpeed));
}

// Field 39 as stored: (RollRatio in hundredths) x 10 + PitchRatio. The roll
// part is rounded to whole hundredths, not floored, so that a stored value
// never drifts (0.29 x 100 is 28.999... in binary).
inline double ControlRatioPacked(const AircraftData& a) {
  return static_cast<double>(CheckedRound<int32_t>(a.RollRatio * 100)) * 10 + a.PitchRatio;
}

// The program-wide aircraft record.
inline AircraftData& Aircraft() { return ProgramWide<AircraftData>(); }

}  // namespace zarv::aircraft
