// The ground camera: its height, the line of sight to the aircraft, the
// horizon and background, and the zoom for the next frame.
#include <algorithm>
#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/ui/gdi.h"
#include "replay/replay_player.h"

namespace zarv::replay {

namespace {

// The smallest size a model is zoomed for, so that an outline of no span
// and no length still gets a finite zoom.
constexpr double kMinModelSize = 1.0;
constexpr Color kPlainSky = RGB(150, 190, 235);
constexpr Color kPlainWater = RGB(40, 90, 130);

}  // namespace

void ReplayPlayer::SetCameraHeight() {
  // An index saved for the other aircraft class is held inside this table.
  const bool powered = Aircraft.Powered();
  State.CameraHeightIndex =
      static_cast<int16_t>(std::clamp<int>(State.CameraHeightIndex, 0, CameraHeightRows(powered) - 1));
  State.CameraHeight = CameraHeightFor(powered, State.CameraHeightIndex);
  State.CameraHeightCaption = "ｶﾒﾗ高度" + Format(State.CameraHeight, "###0") + "m";
}

void ReplayPlayer::CameraStep() {
  ReplayState& st = State;
  model::ModelScene& sc = model::Scene();
  model::ProjectionRecords& pr = model::Projection();
  if (Record.RecordSampleCount < 2) {
    Flight.Air.DriftAngle = Aircraft.LaunchHeading;
    sc.ModelPosZ = Aircraft.LaunchHeight > 6 ? Aircraft.LaunchHeight : Aircraft.RestingHeight;
  }
  model::AttitudeRotation& a = pr.Attitude;
  a.PitchSin = std::sin(st.DrawPitch);
  a.PitchCos = std::cos(st.DrawPitch);
  a.BankSin = std::sin(st.DrawBank);
  a.BankCos = std::cos(st.DrawBank);
  a.HeadingSin = std::sin(st.DrawHeading);
  a.HeadingCos = std::cos(st.DrawHeading);

  const auto& o = Outline;
  pr.Work = {0.0, (o.RearFuselageY(4, 0) + std::max(o.FrontFuselageY(0, 0), o.FrontFuselageY(7, 7))) / 2, 0.0};
  pr.Rotate();
  const double dx = pr.Work.X + sc.ModelPosX - st.CameraX;
  const double dy = pr.Work.Y + sc.ModelPosY - st.CameraY;
  const double horizontal = st.CameraDistance;
  // Straight under or over the camera the line of sight keeps its angles.
  if (dx != 0 || dy != 0) {
    double heading;
    if (dy + 0.001 == 0) {
      heading = std::atan2(dx, dy);
      if (heading < 0) heading += kFullTurn;
    } else {
      const double t = std::atan(dx / (dy + 0.001));
      heading = dy < 0 ? t + kPi : (dx < 0 ? t + kFullTurn : t);
    }
    st.ViewHeading = heading;
  }
  if (horizontal > 0) {
    st.ViewDepression =
        std::atan((st.CameraHeight - (pr.Work.Z + sc.ModelPosZ) - Aircraft.BodyHeight / 2) / horizontal);
  }
  model::ViewSetup& v = pr.View;
  v.ViewHeadingSin = std::sin(-st.ViewHeading);
  v.ViewHeadingCos = std::cos(-st.ViewHeading);
  v.ViewDepressionSin = std::sin(st.ViewDepression);
  v.ViewDepressionCos = std::cos(st.ViewDepression);
  st.CameraDistance = horizontal / v.ViewDepressionCos;
  v.EyeX = st.CameraX;
  v.EyeY = st.CameraY;
  v.EyeZ = st.CameraHeight;
  v.ViewRollCos = 1;
  v.ViewRollSin = 0;
  v.PixelsPerRadian = Geometry.PixelsPerRadian;
  v.ViewZoom = st.ViewZoom;

  // The flight direction over the last sample, for the heating glow.
  const int32_t n = st.Sample;
  const int32_t m = Clamp(Whole(st.Position - 1));
  if (st.Position > 1 && At(n).East != At(m).East) {
    const auto& sn = At(n);
    const auto& sm = At(m);
    const double e = std::atan((sn.Height - sm.Height) /
                               std::sqrt((sn.North - sm.North) * (sn.North - sm.North) +
                                         (sn.East - sm.East) * (sn.East - sm.East)));
    Shading.AirflowElevationSin = std::sin(e);
    Shading.AirflowElevationCos = std::cos(e);
    Shading.AirflowHeadingSin = std::sin(-sn.Track / kDegreesPerRadian);
    Shading.AirflowHeadingCos = std::cos(-sn.Track / kDegreesPerRadian);
  }

  // Air temperature and Mach number of the drawn sample.
  double t = Aircraft.SurfaceTemperature + 273 - sc.ModelPosZ * 0.0065;
  if (t < 216.5) t = 216.5;
  st.AirTemperature = t;
  st.MachNumber = st.DrawAirspeed / std::sqrt(t * 88209 / 216.5);
}

void ReplayPlayer::Background(Surface& picture, const Surface* background) {
  ReplayState& st = State;
  const double s = Geometry.ScreenScale;
  if (std::abs(st.ViewDepression * st.ViewZoom) < 2) {
    st.HorizonScreenY = CLng(240 * s - st.ViewDepression * Geometry.PixelsPerRadian * st.ViewZoom);
  } else {
    st.HorizonScreenY = CLng(240 * s - 480 * s * Sgn(st.ViewDepression));
  }
  const int w = Geometry.FrameWidth(), h = Geometry.FrameHeight();
  if (st.WireframeBackground == 0) {
    picture.SetFillStyle(vbFSSolid);
    if (background != nullptr) {
      int32_t r = CLng(700 * s - st.HorizonScreenY);
      if (r < 0) r = 0;
      if (r > 700 * s - 1) r = CLng(700 * s - 1);
      BitBlt(picture, 0, 0, w, h, *background, 0, r, SRCCOPY);
    } else {
      // No cached bitmap: plain sky over plain water.
      const int y = std::clamp(st.HorizonScreenY, -1, h);
      if (y > 0) picture.Line(0, 0, w, y - 1, kPlainSky, LineBox::BF);
      if (y < h) picture.Line(0, std::max(y, 0), w, h, kPlainWater, LineBox::BF);
    }
  } else {
    picture.SetFillStyle(vbFSTransparent);
    picture.Cls();
    picture.Line(0, st.HorizonScreenY, 660 * s, st.HorizonScreenY, RGB(0, 136, 255));
  }
}

void ReplayPlayer::ZoomStep(uint64_t nowMs) {
  ReplayState& st = State;
  const model::ModelScene& sc = model::Scene();
  st.CameraDistance = std::sqrt((sc.ModelPosY - st.CameraY) * (sc.ModelPosY - st.CameraY) +
                                (sc.ModelPosX - st.CameraX) * (sc.ModelPosX - st.CameraX) +
                                (sc.ModelPosZ - st.CameraHeight) * (sc.ModelPosZ - st.CameraHeight));
  double size = Aircraft.OverallLength < Aircraft.WingSpan ? Aircraft.WingSpan : Aircraft.OverallLength;
  if (!(size >= kMinModelSize)) size = kMinModelSize;
  const double base = 2 * std::pow(st.CameraDistance, 0.85) / size;
  double zoom = st.ManualZoom ? std::pow(1.5, st.ZoomIndex) : std::pow(2.0, st.AutoZoomOffset) * base;
  if (!(zoom >= 1)) zoom = 1;
  if (zoom > 20000000) zoom = 20000000;
  if (nowMs < st.OpenTimeMs + 500) zoom = 1;
  st.ViewZoom = zoom;
}

}  // namespace zarv::replay
