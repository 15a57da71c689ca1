// Pieces shared by the powered outline builders. Internal to src/model.
#pragma once

#include <array>
#include <cmath>
#include <string>

#include "model/outline_inputs.h"
#include "aircraft/engine_kind.h"
#include "model/outline.h"
#include "model/outline_build_parts.h"
#include "aircraft/aircraft_data.h"
#include "platform/runtime/angles.h"

namespace zarv::model::powered {

// Point p of a 12-point nacelle ring, from straight up towards outboard.
inline double RingAngle(int p) { return (30 * p + 15) / kDegreesPerRadian; }

// za + (x - xa)(zb - za) / (xb - xa). Two stations at one position give the
// value of the station nearer to x (the first on a tie) instead of 0/0.
inline double Interpolate(double x, double xa, double za, double xb, double zb) {
  const double span = xb - xa;
  if (span == 0.0) return std::fabs(x - xb) < std::fabs(x - xa) ? zb : za;
  return za + (x - xa) * (zb - za) / span;
}

// Quotient whose divisor may vanish on degenerate data: 0 then.
inline double SafeRatio(double num, double den) {
  if (den == 0.0) return 0.0;
  const double r = num / den;
  return std::isfinite(r) ? r : 0.0;
}

inline double FiniteOr0(double v) { return std::isfinite(v) ? v : 0.0; }

// A fin tilted further than this from the vertical is drawn at this tilt, so
// that the 1 / cos and tan of the tilt stay finite.
inline constexpr double kMaxFinTilt = 80 / kDegreesPerRadian;

// The six-point tail section, chordwise (forward of the quarter chord) and
// thickness (before the airfoil scaling).
inline constexpr std::array<double, 6> kTailChordwise = {-0.75, -0.35, 0.02, 0.25, 0.02, -0.35};
inline constexpr std::array<double, 6> kTailThickness = {0.0, 0.05, 0.05, 0.0, -0.05, -0.05};

// Everything a powered builder reads besides the outline itself, with the
// tail sizes made safe: a surface without area (or with sizes that came out
// undefined) is a surface of zero size.
struct PoweredInputs {
  double OverallLength = 0;
  double TailplaneArm = 0;
  double FinArm = 0;
  double TailplaneArea = 0;
  double FinArea = 0;
  double WingHeight = 0;
  double FinTilt = 0;  // limited to +-kMaxFinTilt
  double FinHalfSpacing = 0;

  double EngineDiameter = 0;
  double WingRootOffset = 0;   // centre-section half-span
  double BodyHalfWidth = 0;
  double BodyHeight = 0;
  double TailEndDistance = 0;  // tail end at Y = -TailEndDistance, sign as computed
  double MeanChord = 0;
  double CgChordFraction = 0;
  double AspectRatio = 0;
  double TailFactor = 0;       // thickness scale of the tail airfoil
  aircraft::EngineKind EngineType = aircraft::EngineKind::None;

  double TailChord = 0;
  double TailplaneSpan = 0;    // TailplaneArea / TailChord
  double TailplaneSweep = 0;
  double FinChord = 0;
  double FinSpan = 0;          // FinArea / FinChord
  double FinSweep = 0;
};

PoweredInputs GatherInputs(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes);

// Writes the tail section into SectionTemplate points 0 to 5 and scales its
// thickness by the tail airfoil; points 6 and 7 keep what they held.
void WriteTailSection(AirframeOutline& outline, double tailFactor);

// Tailplane rows 0 to 5 (X absolute, Y and Z from the tailplane hinge) with
// roots at X = +-rootX.
void BuildTailplaneRows(AirframeOutline& outline, double rootX, const PoweredInputs& in);

// Widens zmin .. zmax to every height of the grid.
template <typename Grid>
void ScanZ(const Grid& z, double& zmax, double& zmin) {
  for (int i = 0; i < Grid::kCells; ++i) {
    if (z[i] > zmax) zmax = z[i];
    if (z[i] < zmin) zmin = z[i];
  }
}

// Moves a grid dy forward and dz down.
template <typename Grid>
void Shift(Grid& y, Grid& z, double dy, double dz) {
  for (int i = 0; i < Grid::kCells; ++i) {
    z[i] = z[i] - dz;
    y[i] = y[i] + dy;
  }
}

}  // namespace zarv::model::powered
