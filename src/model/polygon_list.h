// The shaded, depth-sorted polygon model of one frame and the records its
// builders read: the projected point grids of the drawn aircraft, its part
// reference points, the projected scenery prisms and the replay's trail.
// Plain C++: the list is built and sorted here and painted by the callers.
#pragma once

#include <array>
#include <cstdint>

#include "model/outline.h"

namespace zarv::model {

// ---------------------------------------------------------------- polygons

// Slots 1..2000 hold polygons (slot 0 is never used); vertices 0..2.
struct PolygonList {
  static constexpr int kMaxPolygons = 2000;
  static constexpr int kSlots = kMaxPolygons + 1;
  static constexpr int kGroupSlots = 301;
  // Only this many groups fit the group drawing order, so no more are opened.
  static constexpr int kMaxGroups = 200;
  static constexpr int32_t kDefaultColour = 0xAAAAAA;

  using Vertices = std::array<double, 3>;
  using ScreenVertices = std::array<int32_t, 3>;

  // During a build the next free slot; afterwards the list is 1..PolyCount-1.
  int16_t PolyCount = 1;
  // Eye-relative vertex positions, world axes, metres.
  std::array<Vertices, kSlots> PolyVertX{};
  std::array<Vertices, kSlots> PolyVertY{};
  std::array<Vertices, kSlots> PolyVertZ{};
  // Screen points; (0, 0) at vertex 0 marks a polygon left out of view.
  std::array<ScreenVertices, kSlots> PolyScreenX{};
  std::array<ScreenVertices, kSlots> PolyScreenY{};
  // 3 for a triangle, 2 for a trail segment.
  std::array<int16_t, kSlots> PolyVertexCount{};
  std::array<double, kSlots> PolyDepth{};       // m, sort key inside the group
  std::array<double, kSlots> PolyAzimuth{};     // rad, mean
  std::array<double, kSlots> PolyDepression{};  // rad, mean, positive below
  // Before shading: 0xAAAAAA, or 0 for a nozzle cell. After: &HBBGGRR fill
  // colour, 0 meaning not drawn.
  std::array<int32_t, kSlots> PolyColour{};
  std::array<float, kSlots> PolyGlow{};         // engine glow of nozzle cells
  // Positions 1..PolyCount-1: polygon slots in drawing order.
  std::array<int16_t, kSlots> PolyDrawOrder{};

  // During a build the next free group; afterwards the number of groups.
  int16_t GroupCount = 0;
  // Group g is slots GroupLastPoly[g-1]+1 .. GroupLastPoly[g]; entry 0 is 0.
  std::array<int16_t, kGroupSlots> GroupLastPoly{};
  std::array<double, kGroupSlots> GroupDistance{};  // m, sort key of the group
  // Positions 1..GroupCount: group numbers in drawing order.
  std::array<int16_t, kMaxGroups + 1> GroupDrawOrder{};

  // Kept by the painting caller: polygons painted in the current frame.
  int16_t PolyDrawnCount = 0;

  // Whether one more polygon fits: a free slot and an open group to hold it.
  bool CanAppend() const { return PolyCount <= kMaxPolygons && GroupCount <= kMaxGroups; }
  // Closes the open group over the polygons appended since the last one.
  // False (and nothing written) when the group table is full.
  bool CloseGroup(double distance);
  // Slots 1..2000 back to the unshaded default colour and no glow; the list
  // is empty afterwards.
  void ClearForBuild();

  void Reset();
};

// The program-wide polygon list.
PolygonList& Polygons();

// ---------------------------------------------------------- projected points

// One outline point carried into the view.
struct ViewPoint {
  double ViewX = 0.0;  // eye-relative, world axes, m
  double ViewY = 0.0;
  double ViewZ = 0.0;
  int32_t ScreenX = 0;  // pixels
  int32_t ScreenY = 0;
  double Distance = 0.0;    // m from the eye
  double Azimuth = 0.0;     // rad right of the line of sight
  double Depression = 0.0;  // rad below the line of sight
};

// Projected points of one side of one outline part; (s, p) as in the
// outline grid it comes from.
template <int S, int P>
struct ViewGrid {
  static constexpr int kStations = S;
  static constexpr int kPoints = P;
  std::array<ViewPoint, static_cast<std::size_t>(S * P)> Points{};

  ViewPoint& operator()(int s, int p) { return Points[static_cast<std::size_t>(s + S * p)]; }
  const ViewPoint& operator()(int s, int p) const {
    return Points[static_cast<std::size_t>(s + S * p)];
  }
};

using FrontFuselageView = ViewGrid<12, 8>;
using RearFuselageView = ViewGrid<5, 8>;
using WingView = ViewGrid<9, 8>;
using TailViewGrid = ViewGrid<12, 6>;
using NacelleView = ViewGrid<13, 12>;

// Body-frame reference points of the drawn aircraft's part groups; their
// distance from the eye orders the groups. Index 0 is the first point.
struct PartReference {
  std::array<OutlinePoint, 2> FrontFuselage{};
  std::array<OutlinePoint, 3> Wing{};
  std::array<OutlinePoint, 2> Nacelle{};
  std::array<OutlinePoint, 3> RearFuselage{};
  OutlinePoint Tailplane{};
  std::array<OutlinePoint, 3> Fins{};
};

// The reference points as the loader and the replay copy them from pivots.
PartReference PartReferenceFromPivots(const PartPivotSet& pivots);

// ---------------------------------------------------------------- scenery

// A closed vertical prism over a plan outline (world metres).
struct SceneryPrism {
  static constexpr int kMaxPoints = 8;
  std::array<double, kMaxPoints> X{};
  std::array<double, kMaxPoints> Y{};
  double BottomZ = 0.0;
  double TopZ = 0.0;
  int16_t PointCount = 0;
};

struct SceneryPrismSet {
  static constexpr int kMaxPrisms = 31;
  std::array<SceneryPrism, kMaxPrisms> Prisms{};
  int16_t LastPrismIndex = 0;  // the last prism in use

  // Prisms in use, within the table.
  int Count() const {
    return LastPrismIndex < 0 ? 0 : (LastPrismIndex >= kMaxPrisms ? kMaxPrisms : LastPrismIndex + 1);
  }
  // Outline points of prism i, within 0..8.
  int PointsOf(int i) const {
    const int n = Prisms[static_cast<std::size_t>(i)].PointCount;
    return n < 0 ? 0 : (n > SceneryPrism::kMaxPoints ? SceneryPrism::kMaxPoints : n);
  }
};

using PrismCorners = std::array<std::array<ViewPoint, SceneryPrism::kMaxPoints>,
                                SceneryPrismSet::kMaxPrisms>;

// ------------------------------------------------------------------ trail

struct TrailPoint {
  int32_t ScreenX = 0;
  int32_t ScreenY = 0;
  double Distance = 0.0;    // m from the eye
  double Azimuth = 0.0;     // rad off the line of sight (about pi behind the eye)
  double Depression = 0.0;  // rad below it
};

// -------------------------------------------------------------- the scene

// What the callers of the build fill each frame: the drawn aircraft's
// projected grids (Left grids from the outline with X negated), its
// reference points and position, the prism corners and the replay's trail.
struct ModelScene {
  FrontFuselageView FrontFuselageLeftView, FrontFuselageRightView;
  RearFuselageView RearFuselageLeftView, RearFuselageRightView;
  WingView WingLeftView, WingRightView;
  TailViewGrid TailView;
  NacelleView NacelleLeftView, NacelleRightView;

  PartReference Reference;

  PrismCorners PrismBottom{};
  PrismCorners PrismTop{};

  static constexpr int kTrailPoints = 53;  // 0..51 used
  std::array<TrailPoint, kTrailPoints> ReplayTrail{};

  // World position of the drawn aircraft (m) and its afterburner opening.
  double ModelPosX = 0.0;
  double ModelPosY = 0.0;
  double ModelPosZ = 0.0;
  double AfterburnerGlow = 0.0;

  void Reset();
};

// The program-wide scene records.
ModelScene& Scene();

// ------------------------------------------------------------ screen mapping

// Who is drawing: the cockpit view (a companion) or the replay's ground
// camera (the own aircraft, with its trail).
enum class DrawMode { Flight, Replay };

// How a projected offset becomes a screen point. The cockpit view centres on
// (ViewCentreX, ViewCentreY) without zoom; the replay scales by the zoom and
// centres vertically at 240 x ScreenScale.
struct ScreenMapping {
  DrawMode Mode = DrawMode::Flight;
  int32_t ViewCentreX = 0;
  int32_t ViewCentreY = 0;
  double ScreenScale = 1.0;
};

// Rounded to whole pixels, halves to even; clamped to the 32-bit range.
void MapToScreen(const ScreenMapping& mapping, double viewZoom, double projX, double projY,
                 int32_t& screenX, int32_t& screenY);

}  // namespace zarv::model
