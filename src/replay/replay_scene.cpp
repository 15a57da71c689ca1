// What the frame shows besides the aircraft: its shadow on the water, the
// shore outline, the marker poles, the trail points and the prism corners.
#include <algorithm>
#include <cmath>

#include "platform/runtime/numeric.h"
#include "replay/replay_player.h"
#include "view/companion_draw.h"

namespace zarv::replay {

namespace {

struct GridPoint {
  int Grid;  // 0 front fuselage, 1 wing, 2 rear fuselage, 3 tail
  int S, P;
};

constexpr GridPoint kSideOutline[19] = {
    {0, 0, 3}, {0, 1, 3}, {0, 2, 3}, {0, 3, 3}, {0, 4, 3}, {1, 0, 4}, {1, 1, 4},
    {1, 3, 4}, {1, 5, 4}, {1, 7, 4}, {1, 7, 0}, {1, 5, 0}, {1, 3, 0}, {1, 1, 0},
    {1, 0, 0}, {0, 8, 3}, {0, 9, 3}, {0, 10, 3}, {0, 11, 3}};
constexpr GridPoint kRearOutline[6] = {{2, 0, 6}, {2, 0, 3}, {2, 1, 3}, {2, 2, 3}, {2, 3, 3}, {2, 4, 3}};
constexpr GridPoint kTail12[4] = {{3, 1, 0}, {3, 2, 0}, {3, 2, 3}, {3, 1, 3}};
constexpr GridPoint kTail34[4] = {{3, 3, 0}, {3, 4, 0}, {3, 4, 3}, {3, 3, 3}};

// A marker pole in view, its width by distance, at most 100 pixels.
void DrawPole(Surface& picture, const PoleView& pole, double zoom, double pixelsPerRadian) {
  if (std::abs(pole.Azimuth) >= 1.5 / zoom || std::abs(pole.Elevation) >= 1.5 / zoom) return;
  double w = 2 / pole.Distance * pixelsPerRadian * zoom + 1;
  if (!(w <= 100)) w = 100;
  picture.SetDrawWidth(CLng(w));
  picture.Line(pole.FootX, pole.FootY, pole.TopX, pole.TopY, RGB(255, 255, 128));
  picture.SetDrawWidth(1);
}

}  // namespace

Color ShadowColour(double z, bool wireframe) {
  if (!(z > 0) || wireframe) return 0;
  // Each component in single precision, then rounded.
  const auto f = [&](int k) { return static_cast<int>(CLng(static_cast<float>(z * k / 10))); };
  return RGB(f(34), f(170), f(187));
}

void ReplayPlayer::Shadow(Surface& picture) {
  const model::ModelScene& sc = model::Scene();
  model::ProjectionRecords& pr = model::Projection();
  const double z = sc.ModelPosZ;
  if (z >= 10) return;
  const bool wire = State.WireframeBackground != 0;
  auto project = [&](const model::ViewPoint& vp, PointI& out) {
    pr.Work = {pr.View.EyeX + vp.ViewX, pr.View.EyeY + vp.ViewY, 0.0};
    pr.Project();
    model::MapToScreen({model::DrawMode::Replay, Geometry.ViewCentreX, 0, Geometry.ScreenScale}, State.ViewZoom,
                       pr.Result.ProjX, pr.Result.ProjY, out.x, out.y);
  };
  auto build = [&](int slot, const GridPoint* pts, int count, bool left) {
    for (int i = 0; i < count; ++i) {
      const GridPoint& g = pts[i];
      const model::ViewPoint* vp = nullptr;
      switch (g.Grid) {
        case 0: vp = left ? &sc.FrontFuselageLeftView(g.S, g.P) : &sc.FrontFuselageRightView(g.S, g.P); break;
        case 1: vp = left ? &sc.WingLeftView(g.S, g.P) : &sc.WingRightView(g.S, g.P); break;
        case 2: vp = left ? &sc.RearFuselageLeftView(g.S, g.P) : &sc.RearFuselageRightView(g.S, g.P); break;
        default: vp = &sc.TailView(g.S, g.P); break;
      }
      project(*vp, ShadowPoints[static_cast<std::size_t>(slot)][static_cast<std::size_t>(i)]);
    }
    ShadowCounts[static_cast<std::size_t>(slot)] = count;
  };
  ShadowCounts.fill(0);
  build(0, kSideOutline, 19, false);
  build(1, kSideOutline, 19, true);
  if (Aircraft.TailplaneArea > 0) {
    build(2, kRearOutline, 6, false);
    build(3, kRearOutline, 6, true);
    build(4, kTail12, 4, false);
    build(5, kTail34, 4, false);
  }
  const Color colour = ShadowColour(z, wire);
  picture.SetDrawWidth(2);
  picture.SetFillColor(colour);
  picture.SetForeColor(colour);
  for (std::size_t i = 0; i < 6; ++i) {
    if (ShadowCounts[i] > 0) Polygon(picture, ShadowPoints[i].data(), ShadowCounts[i]);
  }
  picture.SetDrawWidth(1);
}

void ReplayPlayer::GroundLine(Surface& picture) {
  const ReplayState& st = State;
  const double s = Geometry.ScreenScale;
  if (!(st.HorizonScreenY < 640 * s)) return;
  const model::ModelScene& sc = model::Scene();
  const model::ViewSetup& v = model::Projection().View;
  const double zoom = st.ViewZoom > 0 ? st.ViewZoom : 1.0;
  const double ax = sc.ModelPosX, ay = sc.ModelPosY, az = sc.ModelPosZ + Aircraft.BodyHeight / 2;
  struct End { double Lateral, Vertical, Depth; };
  auto toView = [&](int i) {
    const auto k = static_cast<std::size_t>(i);
    const double x = Scenery.X[k] - ax, y = Scenery.Y[k] - ay, z = Scenery.Z[k] - az;
    const double x1 = x * v.ViewHeadingCos + y * v.ViewHeadingSin;
    const double y1 = y * v.ViewHeadingCos - x * v.ViewHeadingSin;
    const double z2 = z * v.ViewDepressionCos + y1 * v.ViewDepressionSin;
    const double y2 = y1 * v.ViewDepressionCos - z * v.ViewDepressionSin;
    return End{x1, z2, y2 + st.CameraDistance};
  };
  for (int i = 1; i <= 25; ++i) {
    End e1 = toView(i - 1), e2 = toView(i);
    if (e1.Depth < e2.Depth) std::swap(e1, e2);
    // Ends of equal depth or a wedge side parallel to the segment: not drawn.
    if (e1.Depth == e2.Depth) continue;
    const double a = (e1.Lateral - e2.Lateral) / (e1.Depth - e2.Depth), b = e2.Lateral - e2.Depth * a;
    const double c = (e1.Vertical - e2.Vertical) / (e1.Depth - e2.Depth), e = e2.Vertical - e2.Depth * c;
    const double sx = b > 0 ? 1 : -1, tz = e > 0 ? 1 : -1;
    if (sx / zoom - a == 0 || tz / zoom - c == 0) continue;
    const double dx = b / (sx / zoom - a), dz = e / (tz / zoom - c);
    const double dc = std::max(dx, dz);
    if (e1.Depth <= dc || e1.Depth <= 0) continue;
    if (e2.Depth < dc) e2 = End{a * dc + b, c * dc + e, dc};
    const double az1 = std::atan(e1.Lateral / e1.Depth), el1 = std::atan(e1.Vertical / e1.Depth);
    const double az2 = std::atan(e2.Lateral / e2.Depth), el2 = std::atan(e2.Vertical / e2.Depth);
    if (std::abs(az1) >= 1.5 || std::abs(el1) >= 1.5 || std::abs(az2) >= 1.5 || std::abs(el2) >= 1.5) continue;
    const double ppr = Geometry.PixelsPerRadian;
    const int32_t x1 = CLng(az1 * zoom * ppr + Geometry.ViewCentreX), y1 = CLng(240 * s - el1 * zoom * ppr);
    const int32_t x2 = CLng(az2 * zoom * ppr + Geometry.ViewCentreX), y2 = CLng(240 * s - el2 * zoom * ppr);
    picture.Line(x1, y1, x2, y2, RGB(0, 96, 0));
  }
}

void ReplayPlayer::PolesFar(Surface& picture) {
  if (!Aircraft.Powered()) return;
  model::ProjectionRecords& pr = model::Projection();
  const model::ScreenMapping mapping{model::DrawMode::Replay, Geometry.ViewCentreX, 0, Geometry.ScreenScale};
  for (int i = 29; i <= 37; ++i) {
    const auto k = static_cast<std::size_t>(i);
    PoleView& pole = Poles[static_cast<std::size_t>(i - 29)];
    pr.Work = {Scenery.X[k], Scenery.Y[k], 0.0};
    pr.Project();
    model::MapToScreen(mapping, State.ViewZoom, pr.Result.ProjX, pr.Result.ProjY, pole.FootX, pole.FootY);
    pole.Distance = pr.Result.ProjDistance;
    const double footElevation = pr.Result.ProjElevation;
    pr.Work = {Scenery.X[k], Scenery.Y[k], Scenery.Z[k]};
    pr.Project();
    model::MapToScreen(mapping, State.ViewZoom, pr.Result.ProjX, pr.Result.ProjY, pole.TopX, pole.TopY);
    pole.Azimuth = pr.Result.ProjAzimuth;
    pole.Elevation = (footElevation + pr.Result.ProjElevation) / 2;
  }
  for (const PoleView& pole : Poles) {
    if (pole.Distance > State.CameraDistance) {
      DrawPole(picture, pole, State.ViewZoom > 0 ? State.ViewZoom : 1.0, Geometry.PixelsPerRadian);
    }
  }
}

void ReplayPlayer::PolesNear(Surface& picture) {
  if (!Aircraft.Powered()) return;
  const double zoom = State.ViewZoom > 0 ? State.ViewZoom : 1.0;
  const double cosine = model::Projection().View.ViewDepressionCos;
  for (const PoleView& pole : Poles) {
    if (!(pole.Distance < State.CameraDistance / cosine)) continue;
    DrawPole(picture, pole, zoom, Geometry.PixelsPerRadian);
  }
}

void ReplayPlayer::TrailPoints() {
  model::ModelScene& sc = model::Scene();
  model::ProjectionRecords& pr = model::Projection();
  const model::ScreenMapping mapping{model::DrawMode::Replay, Geometry.ViewCentreX, 0, Geometry.ScreenScale};
  const double n = Record.RecordSampleCount;
  const bool path = aircraft::LaunchBelow10(Aircraft.LaunchSpeed) && !State.VortexLines;
  for (int j = 0; j <= 51; ++j) {
    double x, y, z;
    if (path) {
      const int64_t k = j <= 49 ? Whole(25 + j * (n - 25) / 50) : Whole(n - 1);
      // Short records: every sample held inside the record, from sample 1.
      const flight::FlightSample& s = At(std::max<int64_t>(k, 1));
      x = s.East;
      y = s.North;
      z = s.Height;
    } else {
      const int64_t k = std::max<int64_t>(Whole(State.Position - (j <= 25 ? j : j - 26)), 1);
      const flight::FlightSample& s = At(k);
      if (j <= 25) {
        x = s.TipAEast;
        y = s.TipANorth;
        z = s.TipAHeight;
      } else {
        x = s.TipBEast;
        y = s.TipBNorth;
        z = s.TipBHeight;
      }
    }
    pr.Work = {x, y, z};
    pr.Project();
    model::TrailPoint& t = sc.ReplayTrail[static_cast<std::size_t>(j)];
    model::MapToScreen(mapping, State.ViewZoom, pr.Result.ProjX, pr.Result.ProjY, t.ScreenX, t.ScreenY);
    t.Distance = pr.Result.ProjDistance;
    t.Azimuth = pr.Result.ProjAzimuth;
    t.Depression = -pr.Result.ProjElevation;
  }
}

void ReplayPlayer::PrismCorners() {
  model::ProjectionRecords& pr = model::Projection();
  pr.View.ViewZoom = State.ViewZoom;
  view::ProjectPrisms(Scenery.Prisms, Geometry.ViewCentreX, Geometry.CentreY(), model::Scene(), pr);
}

}  // namespace zarv::replay
