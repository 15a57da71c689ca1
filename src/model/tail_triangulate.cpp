#include "model/tail_triangulate.h"

namespace zarv::model {

namespace {

// The tail grid is not mirrored: every band uses the stored-side winding.
void AddTailBand(PartBuildContext& c, int firstColumn) {
  const TailViewGrid& g = c.Scene.TailView;
  for (int s = firstColumn; s <= firstColumn + 1; ++s) {
    for (int p = 0; p <= 5; ++p) {
      const int q = p == 5 ? 0 : p + 1;
      EmitTriangle(c.List, g(s, p), g(s + 1, q), g(s + 1, p));
      EmitTriangle(c.List, g(s, p), g(s, q), g(s + 1, q));
    }
  }
}

// The fan closing section `section` about the fin's apex point.
void AddFinEndCap(PartBuildContext& c, int section, bool mirrored) {
  const ModelScene& sc = c.Scene;
  const OutlinePoint& apex = sc.Reference.Fins[1];
  ProjectionRecords& pr = c.Projection;
  pr.Work = {mirrored ? -apex.X : apex.X, apex.Y, apex.Z};
  pr.Rotate();
  pr.Work.X = sc.ModelPosX + pr.Work.X;
  pr.Work.Y = sc.ModelPosY + pr.Work.Y;
  pr.Work.Z = sc.ModelPosZ + pr.Work.Z;
  pr.Project();

  ViewPoint pivot;
  pivot.ViewX = pr.Work.X;
  pivot.ViewY = pr.Work.Y;
  pivot.ViewZ = pr.Work.Z;
  MapToScreen(c.Mapping, pr.View.ViewZoom, pr.Result.ProjX, pr.Result.ProjY, pivot.ScreenX,
              pivot.ScreenY);
  pivot.Distance = pr.Result.ProjDistance;
  pivot.Azimuth = pr.Result.ProjAzimuth;
  pivot.Depression = -pr.Result.ProjElevation;

  const TailViewGrid& g = sc.TailView;
  const double elevation = pr.Result.ProjElevation;
  for (int k = 2; k <= 3; ++k) {
    const ViewPoint& a = g(section, k);
    const ViewPoint& b = g(section, k + 1);
    const int slot = EmitTriangle(c.List, pivot, a, b);
    if (slot > 0) {
      c.List.PolyDepression[static_cast<std::size_t>(slot)] =
          (a.Depression + b.Depression - elevation) / 3;
    }
  }
  ClosePartGroup(c, sc.Reference.Fins[2], mirrored);
}

}  // namespace

void AddLeftTailplanePolygons(PartBuildContext& c) {
  AddTailBand(c, 0);
  ClosePartGroup(c, c.Scene.Reference.Tailplane, true);
}

void AddRightTailplanePolygons(PartBuildContext& c) {
  AddTailBand(c, 3);
  ClosePartGroup(c, c.Scene.Reference.Tailplane, false);
}

void AddFinPolygons1(PartBuildContext& c) {
  AddTailBand(c, 6);
  ClosePartGroup(c, c.Scene.Reference.Fins[0], true);
  AddFinEndCap(c, 8, true);
}

void AddFinPolygons2(PartBuildContext& c) {
  AddTailBand(c, 9);
  ClosePartGroup(c, c.Scene.Reference.Fins[0], false);
  AddFinEndCap(c, 11, false);
}

}  // namespace zarv::model
