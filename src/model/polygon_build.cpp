#include "model/polygon_build.h"

#include <cmath>

#include "aircraft/aircraft_data.h"
#include "model/tail_triangulate.h"
#include "model/triangulate.h"
#include "platform/runtime/angles.h"

namespace zarv::model {

namespace {

constexpr double kBehindEye = kPi;

// Whether a prism face lies within the part of the view that is drawn.
// Without a zoom (0 or less) no face is held back.
bool InSight(double azimuth, double viewZoom) {
  return viewZoom > 0 ? std::abs(azimuth) < 2 / viewZoom : true;
}

// Appends a prism triangle through the three corners, or with every screen
// point at (0, 0) when it is out of sight. Returns its slot, or 0.
int AppendPrismTriangle(PolygonList& list, const ViewPoint& a, const ViewPoint& b,
                        const ViewPoint& c, double depth, double azimuth, double depression,
                        bool visible) {
  if (!list.CanAppend()) return 0;
  const int slot = list.PolyCount;
  const auto n = static_cast<std::size_t>(slot);
  if (visible) {
    list.PolyVertX[n] = {a.ViewX, b.ViewX, c.ViewX};
    list.PolyVertY[n] = {a.ViewY, b.ViewY, c.ViewY};
    list.PolyVertZ[n] = {a.ViewZ, b.ViewZ, c.ViewZ};
    list.PolyScreenX[n] = {a.ScreenX, b.ScreenX, c.ScreenX};
    list.PolyScreenY[n] = {a.ScreenY, b.ScreenY, c.ScreenY};
  } else {
    list.PolyVertX[n] = {};
    list.PolyVertY[n] = {};
    list.PolyVertZ[n] = {};
    list.PolyScreenX[n] = {};
    list.PolyScreenY[n] = {};
  }
  list.PolyDepth[n] = depth;
  list.PolyAzimuth[n] = azimuth;
  list.PolyDepression[n] = depression;
  list.PolyVertexCount[n] = 3;
  ++list.PolyCount;
  return slot;
}

void AddPrisms(const SceneryPrismSet& prisms, const ModelScene& sc, double viewZoom,
               PolygonList& list) {
  for (int i = 0; i < prisms.Count(); ++i) {
    const int n = prisms.PointsOf(i);
    const auto& bottom = sc.PrismBottom[static_cast<std::size_t>(i)];
    const auto& top = sc.PrismTop[static_cast<std::size_t>(i)];
    // Walls: one group of two triangles between each corner and the one
    // before it.
    for (int j = 0; j < n; ++j) {
      const int k = j == 0 ? n - 1 : j - 1;
      const ViewPoint& bj = bottom[static_cast<std::size_t>(j)];
      const ViewPoint& bk = bottom[static_cast<std::size_t>(k)];
      const ViewPoint& tj = top[static_cast<std::size_t>(j)];
      const ViewPoint& tk = top[static_cast<std::size_t>(k)];
      const double depth = (bj.Distance + bk.Distance + tj.Distance + tk.Distance) / 4;
      // A wall whose foot spans the back of the view is put behind it.
      const double azimuth = std::abs(bj.Azimuth - bk.Azimuth) < kBehindEye
                                 ? (bj.Azimuth + bk.Azimuth + tj.Azimuth + tk.Azimuth) / 4
                                 : kBehindEye;
      const double depression = (bj.Depression + bk.Depression + tj.Depression + tk.Depression) / 4;
      const bool visible = InSight(azimuth, viewZoom);
      AppendPrismTriangle(list, tk, bk, bj, depth, azimuth, depression, visible);
      // The second half is drawn first, so their shared edge stays covered.
      AppendPrismTriangle(list, bj, tj, tk, depth + 0.001, azimuth, depression, visible);
      list.CloseGroup(depth);
    }
    // Roof: a fan about the first top corner, one group. A roof needs three
    // corners.
    if (n < 3) continue;
    const ViewPoint& t0 = top[0];
    double sum = 0;
    for (int j = 2; j < n; ++j) {
      const ViewPoint& t1 = top[static_cast<std::size_t>(j - 1)];
      const ViewPoint& t2 = top[static_cast<std::size_t>(j)];
      const double azimuth = (t0.Azimuth + t1.Azimuth + t2.Azimuth) / 3;
      AppendPrismTriangle(list, t0, t1, t2, (t0.Distance + t1.Distance + t2.Distance) / 3, azimuth,
                          (t0.Depression + t1.Depression + t2.Depression) / 3,
                          InSight(azimuth, viewZoom));
      sum += t0.Distance + t1.Distance + t2.Distance;
    }
    list.CloseGroup(sum / (3 * (n - 2)));
  }
}

void AddTrailSegment(const ModelScene& sc, int a, PolygonList& list) {
  const TrailPoint& p0 = sc.ReplayTrail[static_cast<std::size_t>(a)];
  const TrailPoint& p1 = sc.ReplayTrail[static_cast<std::size_t>(a + 1)];
  const double depth = (p0.Distance + p1.Distance) / 2;
  if (list.CanAppend()) {
    const auto n = static_cast<std::size_t>(list.PolyCount);
    list.PolyVertX[n] = {};
    list.PolyVertY[n] = {};
    list.PolyVertZ[n] = {};
    list.PolyScreenX[n] = {p0.ScreenX, p1.ScreenX, p1.ScreenX};
    list.PolyScreenY[n] = {p0.ScreenY, p1.ScreenY, p1.ScreenY};
    list.PolyDepth[n] = depth;
    // A segment whose middle is off the view (an end behind the eye) is
    // not drawn.
    list.PolyAzimuth[n] = (p0.Azimuth + p1.Azimuth) / 2;
    list.PolyDepression[n] = (p0.Depression + p1.Depression) / 2;
    list.PolyVertexCount[n] = 2;
    ++list.PolyCount;
  }
  list.CloseGroup(depth);
}

void AddTrail(const BuildSettings& s, const ModelScene& sc, PolygonList& list) {
  if (aircraft::LaunchBelow10(s.LaunchSpeed) && !s.VortexLinesSelected) {
    for (int a = 0; a <= 50; ++a) AddTrailSegment(sc, a, list);
  } else {
    // Two wing-tip lines; points 25 and 26 are not joined.
    for (int a = 0; a <= 24; ++a) AddTrailSegment(sc, a, list);
    for (int a = 26; a <= 50; ++a) AddTrailSegment(sc, a, list);
  }
}

}  // namespace

void BuildAircraftPolygons(const BuildSettings& settings, const SceneryPrismSet& prisms,
                           const ModelScene& scene, ProjectionRecords& projection,
                           PolygonList& list) {
  list.ClearForBuild();
  const bool replay = settings.Mapping.Mode == DrawMode::Replay;
  if (!replay && settings.ShowObjects <= 0 && settings.CompanionSampleCount <= 0) return;
  list.GroupCount = 1;

  // In the cockpit view the grids are only fresh when the companion was
  // placed this frame; older grids are never cut into triangles.
  if (replay || (settings.CompanionSampleCount > 0 && settings.CompanionPlaced)) {
    PartBuildContext c{list, scene, projection, settings.Mapping};
    AddFrontFuselagePolygons(c);
    AddLeftRearFuselagePolygons(c);
    AddRightRearFuselagePolygons(c);
    AddLeftNacellePolygons(c);
    AddRightNacellePolygons(c);
    AddLeftWingPolygons(c);
    AddRightWingPolygons(c);
    AddLeftTailplanePolygons(c);
    AddRightTailplanePolygons(c);
    AddFinPolygons1(c);
    AddFinPolygons2(c);
  }
  if (replay) AddTrail(settings, scene, list);
  AddPrisms(prisms, scene, projection.View.ViewZoom, list);

  list.GroupCount = static_cast<int16_t>(list.GroupCount - 1);
  ShadePolygons(settings.Shading, settings.ViewHeading, settings.ViewDepression, list);
  OrderPolygons(list);
}

}  // namespace zarv::model
