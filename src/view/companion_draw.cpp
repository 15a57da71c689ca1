#include "view/companion_draw.h"

#include <cmath>
#include <cstdlib>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"

namespace zarv::view {

using namespace zarv::model;

namespace {

using flight::CompanionData;
using model::CompanionOutline;
using flight::CompanionSample;

// The companion's flaps and ailerons turn with degrees per radian of their
// own, not kDegreesPerRadian.
constexpr double kSurfaceDegreesPerRadian = 57.0;

// Every grid point goes through this one sequence, so that outline points
// shared by two parts land on exactly equal view coordinates (the junction
// tests of the triangulation compare them exactly).
struct Placer {
  ProjectionRecords& Projection;
  ScreenMapping Mapping;
  double PosX, PosY, PosZ;

  void operator()(double x, double y, double z, ViewPoint& out) const {
    PlaceOutlinePoint(Projection, Mapping, PosX, PosY, PosZ, x, y, z, out);
  }
};

void PlaceBody(const CompanionOutline& o, const Placer& place, ModelScene& sc) {
  for (int s = 0; s < 12; ++s) {
    for (int p = 0; p < 8; ++p) {
      const double x = o.FrontFuselageX(s, p), y = o.FrontFuselageY(s, p), z = o.FrontFuselageZ(s, p);
      place(x, y, z, sc.FrontFuselageRightView(s, p));
      place(-x, y, z, sc.FrontFuselageLeftView(s, p));
    }
  }
  for (int s = 0; s < 5; ++s) {
    for (int p = 0; p < 8; ++p) {
      const double x = o.RearFuselageX(s, p), y = o.RearFuselageY(s, p), z = o.RearFuselageZ(s, p);
      place(x, y, z, sc.RearFuselageRightView(s, p));
      place(-x, y, z, sc.RearFuselageLeftView(s, p));
    }
  }
}

// Station 10 is the nozzle ring, opened or closed by the recorded nozzle
// setting (100 leaves it as stored).
void PlaceNacelles(const CompanionOutline& o, const CompanionSample& smp, const Placer& place,
                   ModelScene& sc) {
  const double opening =
      std::abs(o.NacelleZ(10, 0) - o.NacelleZ(10, 5)) / 2 * (smp.CompanionNozzle / 100.0 - 1);
  for (int s = 0; s < 13; ++s) {
    for (int p = 0; p < 12; ++p) {
      double x = o.NacelleX(s, p);
      double z = o.NacelleZ(s, p);
      if (s == 10) {
        const double a = 30 * p / kDegreesPerRadian;
        x = o.NacelleX(s, p) + opening * std::sin(a);
        z = o.NacelleZ(s, p) + opening * std::cos(a);
      }
      place(-x, o.NacelleY(s, p), z, sc.NacelleLeftView(s, p));
      place(x, o.NacelleY(s, p), z, sc.NacelleRightView(s, p));
    }
  }
}

// Flaps (stations 2, 3) and ailerons (4, 5) turn the trailing-edge point
// about point 7 of their station; the ailerons in opposite senses.
void PlaceWing(const CompanionOutline& o, const CompanionSample& smp, const Placer& place,
               ModelScene& sc) {
  const double flap = -smp.CompanionFlap / kSurfaceDegreesPerRadian;
  const double aileron = smp.CompanionAileron / kSurfaceDegreesPerRadian;
  const double leftAileron = -smp.CompanionAileron / kSurfaceDegreesPerRadian;
  for (int s = 0; s < 9; ++s) {
    for (int p = 0; p < 8; ++p) {
      const double x = o.WingX(s, p);
      double y = o.WingY(s, p);
      double z = o.WingZ(s, p);
      double chord = 0;
      if (p == 0 && s >= 2 && s <= 5) {
        chord = o.WingY(s, 7) - o.WingY(s, 0);
        const double d = s <= 3 ? flap : aileron;
        z = o.WingZ(s, 0) + chord * std::sin(d);
        y = o.WingY(s, 7) - chord * std::cos(d);
      }
      place(x, y, z, sc.WingRightView(s, p));
      if (p == 0 && s >= 4 && s <= 5) {
        z = z + 2 * chord * std::sin(leftAileron);
        y = o.WingY(s, 7) - chord * std::cos(leftAileron);
      }
      place(-x, y, z, sc.WingLeftView(s, p));
    }
  }
}

void PlaceTail(const CompanionOutline& o, const CompanionSample& smp,
               const CompanionDrawSettings& settings, const Placer& place, ModelScene& sc) {
  const auto& pv = o.Pivots;
  const double e = smp.CompanionElevator / kDegreesPerRadian;
  const double ce = std::cos(e), se = std::sin(e);
  for (int s = 0; s <= 5; ++s) {
    for (int p = 0; p < 6; ++p) {
      const double ty = o.TailY(s, p), tz = o.TailZ(s, p);
      place(o.TailX(s, p), ce * ty + se * tz + pv.TailplaneHingeY, se * ty + ce * tz + pv.TailplaneHingeZ,
            sc.TailView(s, p));
    }
  }
  // A light aircraft's all-moving fin turns whole; otherwise only the
  // rudder's trailing-edge point moves.
  const bool wholeFin =
      aircraft::LaunchAtMost10(settings.LaunchSpeed) && (o.TailX(6, 0) <= 1.0 || settings.TailplaneArea <= 0);
  const double r = wholeFin ? smp.CompanionRudder / kDegreesPerRadian : smp.CompanionRudder / 25.0;
  const double cr = std::cos(r), sr = std::sin(r);
  for (int s = 6; s <= 11; ++s) {
    for (int p = 0; p < 6; ++p) {
      const double tx = o.TailX(s, p), ty = o.TailY(s, p), tz = o.TailZ(s, p);
      if (wholeFin) {
        place(tx + sr * ty + pv.FinHingeX, cr * ty + pv.FinHingeY, tz, sc.TailView(s, p));
      } else if (p == 0) {
        const double c = o.TailY(s, 0) - o.TailY(s, 1);
        place(tx + c * sr, o.TailY(s, 1) + c * cr + pv.FinHingeY, tz, sc.TailView(s, p));
      } else {
        place(tx, ty + pv.FinHingeY, tz, sc.TailView(s, p));
      }
    }
  }
}

}  // namespace

void PlaceOutlinePoint(ProjectionRecords& pr, const ScreenMapping& mapping, double posX,
                       double posY, double posZ, double x, double y, double z, ViewPoint& out) {
  pr.Work = {x, y, z};
  pr.Rotate();
  pr.Work.X = pr.Work.X + posX;
  pr.Work.Y = pr.Work.Y + posY;
  pr.Work.Z = pr.Work.Z + posZ;
  pr.Project();
  MapToScreen(mapping, pr.View.ViewZoom, pr.Result.ProjX, pr.Result.ProjY, out.ScreenX, out.ScreenY);
  out.Distance = pr.Result.ProjDistance;
  out.ViewX = pr.Work.X;
  out.ViewY = pr.Work.Y;
  out.ViewZ = pr.Work.Z;
  out.Azimuth = pr.Result.ProjAzimuth;
  out.Depression = -pr.Result.ProjElevation;
}

bool PlaceCompanion(const CompanionData& companion, const CompanionDrawSettings& settings,
                    ModelScene& scene, ProjectionRecords& projection) {
  if (companion.CompanionSampleCount <= 10 || settings.RecordCount < 1) return false;
  const CompanionSample& smp = companion.Sample(settings.RecordCount);

  scene.AfterburnerGlow = smp.CompanionAfterburner / 100.0;
  scene.ModelPosX = companion.CompanionPositionEast;
  scene.ModelPosY = companion.CompanionPositionNorth;
  scene.ModelPosZ = companion.CompanionPositionHeight;
  AttitudeRotation& a = projection.Attitude;
  a.HeadingSin = std::sin(smp.CompanionHeading / kDegreesPerRadian);
  a.HeadingCos = std::cos(smp.CompanionHeading / kDegreesPerRadian);
  a.BankSin = std::sin(smp.CompanionBank / kDegreesPerRadian);
  a.BankCos = std::cos(smp.CompanionBank / kDegreesPerRadian);
  a.PitchSin = std::sin(smp.CompanionPitch / kDegreesPerRadian);
  a.PitchCos = std::cos(smp.CompanionPitch / kDegreesPerRadian);

  const ScreenMapping mapping{DrawMode::Flight, settings.ViewCentreX, settings.ViewCentreY,
                              settings.ScreenScale};
  const Placer place{projection, mapping, scene.ModelPosX, scene.ModelPosY, scene.ModelPosZ};
  const CompanionOutline& o = companion.Outline;
  PlaceBody(o, place, scene);
  PlaceNacelles(o, smp, place, scene);
  PlaceWing(o, smp, place, scene);
  PlaceTail(o, smp, settings, place, scene);
  return true;
}

void ProjectPrisms(const SceneryPrismSet& prisms, int32_t centreX, double centreY,
                   ModelScene& scene, ProjectionRecords& pr) {
  const double zoom = pr.View.ViewZoom;
  auto project = [&](double x, double y, double z, ViewPoint& out) {
    pr.Work = {x, y, z};
    pr.Project();
    out.ScreenX = CLng(zoom * pr.Result.ProjX + centreX);
    out.ScreenY = CLng(zoom * pr.Result.ProjY + centreY);
    out.Distance = pr.Result.ProjDistance;
    out.Azimuth = pr.Result.ProjAzimuth;
    out.Depression = -pr.Result.ProjElevation;
    out.ViewX = pr.Work.X;
    out.ViewY = pr.Work.Y;
    out.ViewZ = pr.Work.Z;
  };
  for (int o = 0; o < prisms.Count(); ++o) {
    const SceneryPrism& prism = prisms.Prisms[static_cast<std::size_t>(o)];
    auto& bottom = scene.PrismBottom[static_cast<std::size_t>(o)];
    auto& top = scene.PrismTop[static_cast<std::size_t>(o)];
    for (int p = 0; p < prisms.PointsOf(o); ++p) {
      const auto i = static_cast<std::size_t>(p);
      project(prism.X[i], prism.Y[i], prism.BottomZ, bottom[i]);
      project(prism.X[i], prism.Y[i], prism.TopZ, top[i]);
    }
  }
}

void PaintPolygonList(PolygonList& list, const CompanionDrawSettings& settings,
                      CompanionReadout& readout, Surface& picture) {
  const int oldFillStyle = picture.FillStyle();
  picture.SetFillStyle(vbFSSolid);
  const double nearCentre = 150 * settings.ScreenScale;
  list.PolyDrawnCount = 0;
  int last = 0;
  for (int position = 1; position < list.PolyCount; ++position) {
    const int k = list.PolyDrawOrder[static_cast<std::size_t>(position)];
    last = k;
    if (k <= 0 || k >= PolygonList::kSlots) continue;
    const auto n = static_cast<std::size_t>(k);
    if (list.PolyColour[n] == 0) continue;
    picture.SetFillColor(static_cast<Color>(list.PolyColour[n]));
    picture.SetForeColor(picture.FillColor());
    auto& pts = readout.PolygonPoints;
    for (std::size_t v = 0; v < 3; ++v) pts[v] = {list.PolyScreenX[n][v], list.PolyScreenY[n][v]};
    readout.CameraDistance = list.PolyDepth[n];
    if (std::abs(static_cast<double>(pts[0].x) - settings.ViewCentreX) < nearCentre &&
        std::abs(static_cast<double>(pts[0].y) - settings.ViewCentreY) < nearCentre) {
      readout.PuffScreenX10 = CInt((static_cast<double>(pts[0].x) + pts[1].x + pts[2].x) / 3);
      readout.PuffScreenY10 = CInt((static_cast<double>(pts[0].y) + pts[1].y + pts[2].y) / 3);
    }
    Polygon(picture, pts.data(), list.PolyVertexCount[n]);
    ++list.PolyDrawnCount;
  }
  // The range shown is the nearest polygon's, drawn or not.
  if (last > 0 && last < PolygonList::kSlots) {
    readout.CameraDistance = list.PolyDepth[static_cast<std::size_t>(last)];
  }
  picture.SetFillStyle(oldFillStyle);
}

void DrawAircraftModel(const CompanionData& companion, const CompanionDrawSettings& settings,
                       const SceneryPrismSet& prisms, ModelScene& scene,
                       ProjectionRecords& projection, PolygonList& list,
                       CompanionReadout& readout, Surface& picture) {
  const bool placed = PlaceCompanion(companion, settings, scene, projection);
  if (companion.CompanionSampleCount <= 10 && settings.ShowObjects == 0) return;
  ProjectPrisms(prisms, settings.ViewCentreX, settings.ViewCentreY, scene, projection);
  if (settings.RecordCount < 1) return;

  BuildSettings build;
  build.Mapping = {DrawMode::Flight, settings.ViewCentreX, settings.ViewCentreY,
                   settings.ScreenScale};
  build.CompanionPlaced = placed;
  build.ShowObjects = settings.ShowObjects;
  build.CompanionSampleCount = companion.CompanionSampleCount;
  build.LaunchSpeed = settings.LaunchSpeed;
  build.ViewHeading = settings.ViewHeading;
  build.ViewDepression = settings.ViewDepression;
  build.Shading = settings.Shading;
  BuildAircraftPolygons(build, prisms, scene, projection, list);
  PaintPolygonList(list, settings, readout, picture);
}

}  // namespace zarv::view
