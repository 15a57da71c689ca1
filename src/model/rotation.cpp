#include "model/rotation.h"

#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/program_state.h"

namespace zarv::model {

namespace {
// Points behind the eye are pushed this far off the line of sight.
constexpr double kBehindEye = kPi;
}  // namespace

void RotatePointByAttitude(const AttitudeRotation& a, WorkPoint& point) {
  const double x = point.X;
  const double y = point.Y;
  const double z = point.Z;
  const double x1 = a.BankSin * z + a.BankCos * x;
  const double z1 = a.BankCos * z - a.BankSin * x;
  const double z2 = a.PitchSin * y + a.PitchCos * z1;
  const double y2 = a.PitchCos * y - a.PitchSin * z1;
  const double x3 = a.HeadingSin * y2 + a.HeadingCos * x1;
  const double y3 = a.HeadingCos * y2 - a.HeadingSin * x1;
  point.X = x3;
  point.Y = y3;
  point.Z = z2;
}

void ProjectPointToView(const ViewSetup& v, WorkPoint& point, ProjectionResult& r) {
  const double dx = point.X - v.EyeX;
  const double dy = point.Y - v.EyeY;
  double dz = point.Z - v.EyeZ;
  point.X = dx;
  point.Y = dy;
  point.Z = dz;
  // Below the water the point is seen where it meets the surface.
  if (-v.EyeZ > dz) dz = -v.EyeZ;
  r.ProjDistance = std::sqrt(dx * dx + dy * dy + dz * dz);

  const double xh = v.ViewHeadingSin * dy + v.ViewHeadingCos * dx;
  const double yh = v.ViewHeadingCos * dy - v.ViewHeadingSin * dx;
  const double zd = v.ViewDepressionCos * dz + v.ViewDepressionSin * yh;
  const double depth = v.ViewDepressionCos * yh - v.ViewDepressionSin * dz;

  if (depth <= 0.0) {
    r.ProjAzimuth = Sgn(xh) * kBehindEye;
    r.ProjElevation = Sgn(zd) * kBehindEye;
  } else {
    r.ProjAzimuth = std::atan(xh / depth);
    r.ProjElevation = std::atan(zd / depth);
  }
  r.ProjX = (v.ViewRollCos * r.ProjAzimuth - v.ViewRollSin * r.ProjElevation) * v.PixelsPerRadian;
  r.ProjY = -(v.ViewRollSin * r.ProjAzimuth + v.ViewRollCos * r.ProjElevation) * v.PixelsPerRadian;
}

ProjectionRecords& Projection() { return ProgramWide<ProjectionRecords>(); }

}  // namespace zarv::model
