// The recorded aircraft as a shaded polygon model: its outline posed at the
// drawn sample, with the wing bent and the surfaces and nozzle moved, then
// built into the polygon list and painted farthest first.
#include <cmath>
#include <cstdlib>

#include "model/polygon_build.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "replay/replay_player.h"
#include "view/companion_draw.h"

namespace zarv::replay {

using model::ModelScene;
using model::ViewPoint;

namespace {
// The replay turns the model's movable surfaces with degrees per radian of
// its own, not kDegreesPerRadian.
constexpr double kSurfaceDegreesPerRadian = 57.0;
}  // namespace

void ReplayPlayer::PlaceModel() {
  const ReplayState& st = State;
  ModelScene& sc = model::Scene();
  model::ProjectionRecords& pr = model::Projection();
  const model::ScreenMapping mapping{model::DrawMode::Replay, Geometry.ViewCentreX, 0, Geometry.ScreenScale};
  auto place = [&](double x, double y, double z, ViewPoint& out) {
    view::PlaceOutlinePoint(pr, mapping, sc.ModelPosX, sc.ModelPosY, sc.ModelPosZ, x, y, z, out);
  };
  const auto& o = Outline;
  const flight::FlightSample& s = At(st.Sample);

  for (int i = 0; i < 12; ++i) {
    for (int p = 0; p < 8; ++p) {
      const double x = o.FrontFuselageX(i, p), y = o.FrontFuselageY(i, p), z = o.FrontFuselageZ(i, p);
      place(-x, y, z, sc.FrontFuselageLeftView(i, p));
      place(x, y, z, sc.FrontFuselageRightView(i, p));
    }
  }
  for (int i = 0; i < 5; ++i) {
    for (int p = 0; p < 8; ++p) {
      const double x = o.RearFuselageX(i, p), y = o.RearFuselageY(i, p), z = o.RearFuselageZ(i, p);
      place(-x, y, z, sc.RearFuselageLeftView(i, p));
      place(x, y, z, sc.RearFuselageRightView(i, p));
    }
  }

  // The nozzle exit ring opens, closes and tilts with the recorded nozzle.
  const double r = s.NozzleOpening / 100.0 * std::abs(o.NacelleZ(10, 0) - o.NacelleZ(10, 5)) / 2;
  const double nu = s.NozzleAngle / kDegreesPerRadian;
  const double seg = o.NacelleY(9, 0) - o.NacelleY(10, 0);
  const double cx = (o.NacelleX(10, 3) + o.NacelleX(10, 9)) / 2;
  const double cz = (o.NacelleZ(10, 0) + o.NacelleZ(10, 5)) / 2;
  for (int i = 0; i < 13; ++i) {
    for (int p = 0; p < 12; ++p) {
      if (i == 10) {
        const double th = 30 * p / kDegreesPerRadian;
        const double y = o.NacelleY(10, p) - r * std::sin(nu) * std::cos(th);
        const double z = cz + r * std::cos(nu) * std::cos(th) - seg * std::sin(nu);
        place(-cx - r * std::sin(th), y, z, sc.NacelleLeftView(i, p));
        place(cx + r * std::sin(th), y, z, sc.NacelleRightView(i, p));
      } else {
        const double x = o.NacelleX(i, p), y = o.NacelleY(i, p), z = o.NacelleZ(i, p);
        place(-x, y, z, sc.NacelleLeftView(i, p));
        place(x, y, z, sc.NacelleRightView(i, p));
      }
    }
  }

  // Wing: bent by the three flex angles, flaps, ailerons and leading-edge
  // flaps turned.
  const double ail = s.AileronDeg / kSurfaceDegreesPerRadian;
  const double flap = -s.FlapSetting / kSurfaceDegreesPerRadian;
  const double lef = s.LeadingEdgeFlapAngle / kSurfaceDegreesPerRadian;
  for (int i = 0; i < 9; ++i) {
    for (int p = 0; p < 8; ++p) {
      double y = o.WingY(i, p);
      double z = o.WingZ(i, p);
      if (i >= 7) {
        z += st.TipRise;
      } else if (i >= 5) {
        z += st.OuterWingRise;
      } else if (i >= 3) {
        z += st.InnerWingRise;
      }
      if (p >= 3 && p <= 5 && i >= 2) {
        const double d = o.WingY(i, p) - o.WingY(i, 2);
        z += d * std::sin(lef);
        y = o.WingY(i, 2) + d * std::cos(lef);
      }
      double h = 0;
      if (p == 0 && i >= 2 && i <= 5) {
        h = o.WingY(i, 7) - o.WingY(i, 0);
        const double angle = i <= 3 ? flap : ail;
        z += h * std::sin(angle);
        y = o.WingY(i, 7) - h * std::cos(angle);
      }
      place(o.WingX(i, p), y, z, sc.WingRightView(i, p));
      if (p == 0 && i >= 4 && i <= 5) {
        z += 2 * h * std::sin(-ail);
        y = o.WingY(i, 7) - h * std::cos(-ail);
      }
      place(-o.WingX(i, p), y, z, sc.WingLeftView(i, p));
    }
  }

  // Tailplane about its hinge; both sine terms positive as the replay draws it.
  const double t = s.TailplaneAngle / kSurfaceDegreesPerRadian;
  const double c = std::cos(t), sg = std::sin(t);
  for (int i = 0; i <= 5; ++i) {
    for (int p = 0; p < 6; ++p) {
      const double ty = o.TailY(i, p), tz = o.TailZ(i, p);
      place(o.TailX(i, p), o.TailplaneHingeY + c * ty + sg * tz, o.TailplaneHingeZ + sg * ty + c * tz,
            sc.TailView(i, p));
    }
  }
  const bool rudder = (Aircraft.FinHalfSpacing > 1.0 && Aircraft.TailplaneArea > 0) || Aircraft.Powered();
  if (rudder) {
    const double rr = s.FinAngle / 25.0;
    const double tau = Aircraft.FinTilt;
    for (int i = 6; i <= 11; ++i) {
      for (int p = 0; p < 6; ++p) {
        if (p == 0) {
          const double d = o.TailY(i, 0) - o.TailY(i, 1);
          const double side = i <= 8 ? std::sin(-tau) : std::sin(tau);
          place(o.TailX(i, 0) + d * std::sin(rr) * std::cos(tau),
                o.FinHingeY + o.TailY(i, 1) + d * std::cos(rr) * std::cos(tau),
                o.TailZ(i, 0) + d * std::sin(rr) * side, sc.TailView(i, p));
        } else {
          place(o.TailX(i, p), o.FinHingeY + o.TailY(i, p), o.TailZ(i, p), sc.TailView(i, p));
        }
      }
    }
  } else {
    const double rr = At(CheckedTruncate<int32_t>(st.Position, true)).FinAngle / kSurfaceDegreesPerRadian;
    for (int i = 6; i <= 11; ++i) {
      for (int p = 0; p < 6; ++p) {
        const double ty = o.TailY(i, p);
        const double z = Aircraft.TailplaneArea > 0 ? o.TailZ(i, p) : o.TailZ(i, p) + st.TipRise + 0.03;
        place(o.FinHingeX + o.TailX(i, p) + std::sin(rr) * ty, o.FinHingeY + std::cos(rr) * ty, z,
              sc.TailView(i, p));
      }
    }
  }
  sc.Reference = model::PartReferenceFromPivots(Outline.PartPivots);
}

void ReplayPlayer::PaintModel(Surface& picture) {
  ReplayState& st = State;
  model::PolygonList& list = model::Polygons();
  model::BuildSettings build;
  build.Mapping = {model::DrawMode::Replay, Geometry.ViewCentreX, 0, Geometry.ScreenScale};
  build.LaunchSpeed = Aircraft.LaunchSpeed;
  build.VortexLinesSelected = st.VortexLines;
  build.ViewHeading = st.ViewHeading;
  build.ViewDepression = st.ViewDepression;
  build.Shading = Shading;
  model::BuildAircraftPolygons(build, Scenery.Prisms, model::Scene(), model::Projection(), list);

  const double limit = 1.5 / (st.ViewZoom > 0 ? st.ViewZoom : 1.0);
  PolygonsPainted = 0;
  std::array<PointI, 3> pts{};
  for (int i = 1; i < list.PolyCount; ++i) {
    const int m = list.PolyDrawOrder[static_cast<std::size_t>(i)];
    if (m <= 0 || m >= model::PolygonList::kSlots) continue;
    const auto k = static_cast<std::size_t>(m);
    if (std::abs(list.PolyAzimuth[k]) >= limit || std::abs(list.PolyDepression[k]) >= limit) continue;
    if (list.PolyColour[k] == 0) continue;
    picture.SetFillColor(static_cast<Color>(list.PolyColour[k]));
    picture.SetForeColor(static_cast<Color>(list.PolyColour[k]));
    picture.SetDrawWidth(1);
    for (std::size_t v = 0; v < 3; ++v) pts[v] = {list.PolyScreenX[k][v], list.PolyScreenY[k][v]};
    Polygon(picture, pts.data(), list.PolyVertexCount[k]);
    ++PolygonsPainted;
  }
}

}  // namespace zarv::replay
