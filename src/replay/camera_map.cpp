#include "replay/camera_map.h"

#include <cmath>

#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::replay {

MapScale MapScale::For(bool powered) {
  return powered ? MapScale{30, 300, 200} : MapScale{2, 270, 250};
}

PointI DrawCameraMap(const ReplayPlayer& player, Surface& map) {
  const bool powered = player.Aircraft.Powered();
  const MapScale m = MapScale::For(powered);
  const ReplayScenery& sc = player.Scenery;
  map.Line(0, 0, 400, 360, RGB(0, 0, 128), LineBox::BF);
  for (int i = 1; i <= 25; ++i) {
    const auto a = static_cast<std::size_t>(i - 1), b = static_cast<std::size_t>(i);
    map.Line(m.ToX(sc.X[a]), m.ToY(sc.Y[a]), m.ToX(sc.X[b]), m.ToY(sc.Y[b]), RGB(0, 192, 0));
  }
  if (powered) {
    for (std::size_t i = 29; i <= 37; ++i) map.Circle(m.ToX(sc.X[i]), m.ToY(sc.Y[i]), 1, RGB(192, 192, 0));
  }
  const int step = powered ? 5 : 2;
  const double threshold = powered ? 15.0 : 1.0;
  const int32_t last = player.LastSample();
  for (int32_t i = 0; i <= last; i += step) {
    const flight::FlightSample& s = player.At(i);
    map.PSet(m.ToX(s.East), m.ToY(s.North), s.Height < threshold ? RGB(255, 0, 0) : RGB(0, 255, 255));
  }
  for (int o = 0; o < sc.Prisms.Count(); ++o) {
    const auto& prism = sc.Prisms.Prisms[static_cast<std::size_t>(o)];
    const int n = sc.Prisms.PointsOf(o);
    for (int j = 0; j < n; ++j) {
      const auto a = static_cast<std::size_t>(j == 0 ? n - 1 : j - 1), b = static_cast<std::size_t>(j);
      map.Line(m.ToX(prism.X[a]), m.ToY(prism.Y[a]), m.ToX(prism.X[b]), m.ToY(prism.Y[b]), RGB(0, 192, 0));
    }
  }
  const int mx = CInt(m.ToX(player.State.CameraX)), my = CInt(m.ToY(player.State.CameraY));
  map.Line(mx + 4, my, mx - 5, my, vbWhite);
  map.Line(mx, my + 4, mx, my - 5, vbWhite);
  return {mx, my};
}

void PlaceCameraFromMap(ReplayPlayer& player, double x, double y) {
  const MapScale m = MapScale::For(player.Aircraft.Powered());
  player.State.CameraX = m.ToEast(x);
  player.State.CameraY = m.ToNorth(y);
  // One frame drawn unzoomed before the zoom is worked out again.
  player.State.ViewZoom = 0.9;
}

std::string CameraMapReadout(const ReplayPlayer& player, double x, double y) {
  const MapScale m = MapScale::For(player.Aircraft.Powered());
  const double px = m.ToEast(x), py = m.ToNorth(y);
  const double cx = player.State.CameraX, cy = player.State.CameraY;
  const double d = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
  return "  ｶﾒﾗ位置   x = " + Format(cx, "0000") + " y = " + Format(cy, "0000") + "\n\r" +
         "  ﾎﾟｲﾝﾀ位置 " + " x = " + Format(px, "0000") + " y = " + Format(py, "0000") +
         " ｶﾒﾗ位置とﾎﾟｲﾝﾀ位置との距離 " + Format(d, "0000");
}

}  // namespace zarv::replay
