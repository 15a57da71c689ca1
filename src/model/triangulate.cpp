#include "model/triangulate.h"

#include <cmath>

namespace zarv::model {

namespace {

// Grids filled from the mirrored outline need the other vertex order for
// their faces to point outwards.
enum class Winding { Left, Right };

// Colour and glow marks of nozzle cells.
struct CellMarks {
  bool NoColour = false;
  bool Glow = false;
  float GlowValue = 0.0f;
};

bool SamePoint(const ViewPoint& a, const ViewPoint& b) {
  return a.ViewX == b.ViewX && a.ViewY == b.ViewY && a.ViewZ == b.ViewZ;
}

// A section edge too short to show. Its length in space, not across one
// pair of world axes: at an east or west heading a flat section's edges run
// along Y, and the model would lose faces by heading.
bool DegenerateEdge(const ViewPoint& a, const ViewPoint& b) {
  const double dx = a.ViewX - b.ViewX, dy = a.ViewY - b.ViewY, dz = a.ViewZ - b.ViewZ;
  return !(std::sqrt(dx * dx + dy * dy + dz * dz) > 0.002);
}

// Whether two points of the drawn aircraft lie apart across it, along its
// own span axis (the projection records hold its attitude; their work point
// is scratch).
bool SpanwiseApart(ProjectionRecords& pr, const ViewPoint& a, const ViewPoint& b) {
  pr.Work = {1, 0, 0};
  pr.Rotate();
  const WorkPoint& span = pr.Work;
  const double across = (a.ViewX - b.ViewX) * span.X + (a.ViewY - b.ViewY) * span.Y + (a.ViewZ - b.ViewZ) * span.Z;
  return std::abs(across) > 1e-6;
}

void ApplyMarks(PolygonList& list, int slot, const CellMarks& marks) {
  if (slot <= 0) return;
  const auto n = static_cast<std::size_t>(slot);
  if (marks.NoColour) list.PolyColour[n] = 0;
  if (marks.Glow) list.PolyGlow[n] = marks.GlowValue;
}

template <int S, int P>
int EmitA(PolygonList& list, const ViewGrid<S, P>& g, int s, int p, int q, Winding w) {
  return w == Winding::Left ? EmitTriangle(list, g(s, p), g(s + 1, p), g(s + 1, q))
                            : EmitTriangle(list, g(s, p), g(s + 1, q), g(s + 1, p));
}

template <int S, int P>
int EmitB(PolygonList& list, const ViewGrid<S, P>& g, int s, int p, int q, Winding w) {
  return w == Winding::Left ? EmitTriangle(list, g(s, p), g(s + 1, q), g(s, q))
                            : EmitTriangle(list, g(s, p), g(s, q), g(s + 1, q));
}

// One cell of one grid: triangle A, then B, each unless its section edge is
// degenerate (when the builder tests that).
template <int S, int P>
void EmitCell(PolygonList& list, const ViewGrid<S, P>& g, int s, int p, int q, Winding w,
              bool testDegenerate, const CellMarks& marks = {}) {
  if (!testDegenerate || !DegenerateEdge(g(s + 1, p), g(s + 1, q))) {
    ApplyMarks(list, EmitA(list, g, s, p, q, w), marks);
  }
  if (!testDegenerate || !DegenerateEdge(g(s, p), g(s, q))) {
    ApplyMarks(list, EmitB(list, g, s, p, q, w), marks);
  }
}

void AddRearFuselage(PartBuildContext& c, const RearFuselageView& grid, Winding w, bool mirrored) {
  const ModelScene& sc = c.Scene;
  // Two booms have their own closed rings; one body on the centre plane is
  // a half ring.
  const bool closed = !SamePoint(sc.RearFuselageLeftView(1, 0), sc.RearFuselageRightView(1, 0));
  const int lastRow = closed ? 7 : 6;
  // Where the boom runs into the wing its lower rows would show through it.
  const bool junction = SamePoint(sc.RearFuselageRightView(1, 0), sc.WingRightView(1, 1));
  for (int s = 0; s <= 3; ++s) {
    const int last = junction && s <= 1 ? 4 : lastRow;
    for (int p = 0; p <= last; ++p) {
      const int q = closed && p == 7 ? 0 : p + 1;
      EmitCell(c.List, grid, s, p, q, w, true);
    }
    if (s == 0) ClosePartGroup(c, sc.Reference.RearFuselage[0], mirrored);
    if (s == 1) ClosePartGroup(c, sc.Reference.RearFuselage[1], mirrored);
    if (s == 3) ClosePartGroup(c, sc.Reference.RearFuselage[2], mirrored);
  }
}

void AddNacelle(PartBuildContext& c, const NacelleView& grid, Winding w, bool mirrored) {
  const ModelScene& sc = c.Scene;
  const NacelleView& left = sc.NacelleLeftView;
  // Both sides test the left grids so that they drop the same cells.
  const bool aftMeetsWing = SamePoint(left(7, 11), sc.WingLeftView(0, 0));
  const bool meetsFuselage = left(4, 8).ViewZ == sc.FrontFuselageLeftView(7, 5).ViewZ;
  CellMarks marks;
  marks.GlowValue = static_cast<float>(sc.AfterburnerGlow);
  for (int s = 0; s <= 11; ++s) {
    if (s == 6) continue;  // two separate bodies
    marks.NoColour = s == 0 || s == 11;
    marks.Glow = s == 10 || s == 11;
    for (int p = 0; p <= 11; ++p) {
      if (aftMeetsWing && p == 11 && s >= 3 && s <= 5) continue;
      if (meetsFuselage && p == 8 && (s == 4 || s == 5)) p = 9;
      const int q = p == 11 ? 0 : p + 1;
      EmitCell(c.List, grid, s, p, q, w, true, marks);
    }
    if (s == 5) ClosePartGroup(c, sc.Reference.Nacelle[0], mirrored);
    if (s == 11) ClosePartGroup(c, sc.Reference.Nacelle[1], mirrored);
  }
}

void AddWing(PartBuildContext& c, const WingView& grid, Winding w, bool mirrored) {
  const ModelScene& sc = c.Scene;
  // The columns between panels are left open.
  for (const int s : {0, 2, 4, 6, 7}) {
    for (int p = 0; p <= 7; ++p) {
      const int q = p == 7 ? 0 : p + 1;
      EmitCell(c.List, grid, s, p, q, w, false);
    }
    if (s == 0) ClosePartGroup(c, sc.Reference.Wing[0], mirrored);
    if (s == 2) ClosePartGroup(c, sc.Reference.Wing[1], mirrored);
    if (s == 7) ClosePartGroup(c, sc.Reference.Wing[2], mirrored);
  }
}

}  // namespace

int EmitTriangle(PolygonList& list, const ViewPoint& v0, const ViewPoint& v1, const ViewPoint& v2) {
  if (!list.CanAppend()) return 0;
  const int slot = list.PolyCount;
  const auto n = static_cast<std::size_t>(slot);
  list.PolyVertX[n] = {v0.ViewX, v1.ViewX, v2.ViewX};
  list.PolyVertY[n] = {v0.ViewY, v1.ViewY, v2.ViewY};
  list.PolyVertZ[n] = {v0.ViewZ, v1.ViewZ, v2.ViewZ};
  list.PolyScreenX[n] = {v0.ScreenX, v1.ScreenX, v2.ScreenX};
  list.PolyScreenY[n] = {v0.ScreenY, v1.ScreenY, v2.ScreenY};
  list.PolyDepth[n] = (v0.Distance + v1.Distance + v2.Distance) / 3;
  list.PolyDepression[n] = (v0.Depression + v1.Depression + v2.Depression) / 3;
  // Plain means: a corner behind the eye, thrown to +-3.1415926, pulls the
  // mean out of the view unless the rest lies well inside it; such a
  // triangle is drawn running off the picture.
  list.PolyAzimuth[n] = (v0.Azimuth + v1.Azimuth + v2.Azimuth) / 3;
  list.PolyVertexCount[n] = 3;
  ++list.PolyCount;
  return slot;
}

void ClosePartGroup(PartBuildContext& c, const OutlinePoint& reference, bool mirrored) {
  ProjectionRecords& pr = c.Projection;
  pr.Work = {mirrored ? -reference.X : reference.X, reference.Y, reference.Z};
  pr.Rotate();
  const ModelScene& sc = c.Scene;
  const ViewSetup& v = pr.View;
  pr.Work.X = (sc.ModelPosX + pr.Work.X) - v.EyeX;
  pr.Work.Y = (sc.ModelPosY + pr.Work.Y) - v.EyeY;
  pr.Work.Z = (sc.ModelPosZ + pr.Work.Z) - v.EyeZ;
  const WorkPoint& w = pr.Work;
  c.List.CloseGroup(std::sqrt(w.X * w.X + w.Y * w.Y + w.Z * w.Z));
}

void AddFrontFuselagePolygons(PartBuildContext& c) {
  const ModelScene& sc = c.Scene;
  const FrontFuselageView& left = sc.FrontFuselageLeftView;
  const FrontFuselageView& right = sc.FrontFuselageRightView;
  const WingView& wing = sc.WingLeftView;
  // Row 4 of the rear columns gives way to row 5 unless the wing root or a
  // nacelle already closes the side there. Sides are compared across the
  // aircraft, not along a world axis, so the model is the same at every
  // heading.
  const bool sideGap = SpanwiseApart(c.Projection, wing(0, 0), left(9, 4)) &&
                       SpanwiseApart(c.Projection, sc.NacelleLeftView(0, 0), sc.NacelleLeftView(11, 0));
  for (int s = 0; s <= 10; ++s) {
    for (int p = 0; p <= 6; ++p) {
      const ViewPoint& pt = left(s, p);
      if (SamePoint(pt, wing(0, 4)) || SamePoint(pt, wing(0, 3)) || SamePoint(pt, wing(0, 2)) ||
          SamePoint(pt, wing(0, 1))) {
        // The wing root covers this row: draw the next one instead.
        if (p < 6) ++p;
      } else if (p == 4 && s >= 7 && sideGap) {
        p = 5;
      }
      const int q = p + 1;
      // The left grid decides for both sides, so the halves stay symmetric.
      const bool keepA = !DegenerateEdge(left(s + 1, p), left(s + 1, q));
      const bool keepB = !DegenerateEdge(left(s, p), left(s, q));
      if (keepA) EmitA(c.List, left, s, p, q, Winding::Left);
      if (keepA) EmitA(c.List, right, s, p, q, Winding::Right);
      if (keepB) EmitB(c.List, left, s, p, q, Winding::Left);
      if (keepB) EmitB(c.List, right, s, p, q, Winding::Right);
    }
    if (s == 8) ClosePartGroup(c, sc.Reference.FrontFuselage[0], false);
    if (s == 10) ClosePartGroup(c, sc.Reference.FrontFuselage[1], false);
  }
}

void AddLeftRearFuselagePolygons(PartBuildContext& c) {
  AddRearFuselage(c, c.Scene.RearFuselageLeftView, Winding::Left, true);
}

void AddRightRearFuselagePolygons(PartBuildContext& c) {
  AddRearFuselage(c, c.Scene.RearFuselageRightView, Winding::Right, false);
}

void AddLeftNacellePolygons(PartBuildContext& c) {
  AddNacelle(c, c.Scene.NacelleLeftView, Winding::Left, true);
}

void AddRightNacellePolygons(PartBuildContext& c) {
  AddNacelle(c, c.Scene.NacelleRightView, Winding::Right, false);
}

void AddLeftWingPolygons(PartBuildContext& c) {
  AddWing(c, c.Scene.WingLeftView, Winding::Left, true);
}

void AddRightWingPolygons(PartBuildContext& c) {
  AddWing(c, c.Scene.WingRightView, Winding::Right, false);
}

}  // namespace zarv::model
