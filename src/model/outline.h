// The own aircraft's 3-D outline in its body frame (metres; X to the right,
// Y forward, Z up from the body bottom). The flight set-up fills the wing grid
// and then one outline builder fills the rest; the replay, the polygon model
// and the flight-log writer only read it. A companion aircraft's outline read
// back from a flight log has the same layout.
#pragma once

#include <array>
#include <cstddef>

namespace zarv::model {

// A fixed point grid of S stations by P points. Cell (s, p) lives at index
// s + S * p, the order in which the flight log stores the grid.
template <int S, int P>
struct OutlineGrid {
  static constexpr int kStations = S;
  static constexpr int kPoints = P;
  static constexpr int kCells = S * P;

  std::array<double, static_cast<std::size_t>(S * P)> Cells{};

  double& operator()(int s, int p) { return Cells[static_cast<std::size_t>(s + S * p)]; }
  double operator()(int s, int p) const { return Cells[static_cast<std::size_t>(s + S * p)]; }
  double& operator[](int index) { return Cells[static_cast<std::size_t>(index)]; }
  double operator[](int index) const { return Cells[static_cast<std::size_t>(index)]; }
  void Clear() { Cells.fill(0.0); }
};

template <int S, int P>
inline double& At(OutlineGrid<S, P>& grid, int s, int p) { return grid(s, p); }
template <int S, int P>
inline double At(const OutlineGrid<S, P>& grid, int s, int p) { return grid(s, p); }

using FrontFuselageGrid = OutlineGrid<12, 8>;  // station 0 the nose; half rings
using RearFuselageGrid = OutlineGrid<5, 8>;    // station 0 the forward end
using WingGrid = OutlineGrid<9, 8>;            // station 0 the root, 8 the tip
using TailGrid = OutlineGrid<12, 6>;           // 0-5 tailplane, 6-8 and 9-11 fins
using NacelleGrid = OutlineGrid<13, 12>;       // 12-point full rings

struct OutlinePoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// One reference point per drawn part group; the polygon model orders the
// groups by their distance from the eye measured here.
struct PartPivotSet {
  static constexpr int kCount = 14;

  OutlinePoint ForeFrontFuselagePivot;
  OutlinePoint AftFrontFuselagePivot;
  OutlinePoint ForeRearFuselagePivot;
  OutlinePoint MidRearFuselagePivot;
  OutlinePoint AftRearFuselagePivot;
  OutlinePoint CentreWingPivot;
  OutlinePoint InnerWingPivot;
  OutlinePoint OuterWingPivot;
  OutlinePoint TailplanePivot;
  OutlinePoint FinPivot1;
  OutlinePoint FinPivot2;
  OutlinePoint FinPivot3;
  OutlinePoint NacellePivot1;
  OutlinePoint NacellePivot2;

  // Index 0..13 in the order above (the flight log's order).
  OutlinePoint& operator[](int index);
  const OutlinePoint& operator[](int index) const;
};

// The flight log's label of each pivot, in PartPivotSet order (UTF-8).
extern const std::array<const char*, PartPivotSet::kCount> kPartPivotLabels;

// A normalised section outline: chordwise position (fraction of the chord,
// positive forward of the quarter-chord point) and thickness offset
// (fraction of the chord, positive up, or towards +X for a fin).
struct SectionTemplateData {
  std::array<double, 8> Chordwise{};
  std::array<double, 8> Thickness{};
};

struct AirframeOutline {
  FrontFuselageGrid FrontFuselageX, FrontFuselageY, FrontFuselageZ;
  RearFuselageGrid RearFuselageX, RearFuselageY, RearFuselageZ;
  WingGrid WingX, WingY, WingZ;
  TailGrid TailX, TailY, TailZ;
  NacelleGrid NacelleX, NacelleY, NacelleZ;

  PartPivotSet PartPivots;

  // Tailplane hinge axis (parallel to X); tailplane Y and Z are stored
  // relative to it, its X is absolute.
  double TailplaneHingeY = 0.0;
  double TailplaneHingeZ = 0.0;
  // Fin hinge line (parallel to Z); fin X and Y are stored relative to it,
  // fin Z is absolute.
  double FinHingeX = 0.0;
  double FinHingeY = 0.0;

  // Height range of the body, wing and nacelle grids measured by the
  // powered builders before they centre the outline vertically.
  double OutlineZMax = 0.0;
  double OutlineZMin = 0.0;

  SectionTemplateData SectionTemplate;

  // Everything back to zero, as at program start.
  void Reset();
};

// The own aircraft's outline (program-wide).
AirframeOutline& Outline();

}  // namespace zarv::model
