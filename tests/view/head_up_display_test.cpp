// The head-up display's picture: each readout, marker and warning at its
// place, in the head-up green of the normal and of the wireframe view.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "flight/flight_record.h"
#include "flight/head_up.h"
#include "view/head_up_display.h"
#include "view/panel_fixture.h"

namespace zarv::view {
namespace {

constexpr Color kHudGreen = 0x00CC00, kWireGreen = 0x00FF00, kWarningRed = 0x0000FF;

// A jet flying level, its view centre off the picture's middle so that
// places taken from the centre and fixed places tell apart.
struct HudScene : testing::PanelFixture {
  HudInputs in;
  flight::FlightRecord record;
  Surface view;
  double now = 100.1;  // the gear warning's on half
  double S, cx, cy;
  explicit HudScene(double scale = 1.0)
      : view(CheckedRound<int>(640 * scale), CheckedRound<int>(480 * scale), vbBlack), S(scale) {
    Jet();
    o.ScreenScale = S;
    o.ShowVelocityVector = 1;
    s.View.ViewCentreX = CheckedRound<int32_t>(300 * S);
    s.View.ViewCentreY = CheckedRound<int32_t>(250 * S);
    cx = s.View.ViewCentreX;
    cy = s.View.ViewCentreY;
    s.Pilot.PixelsPerRadian = 573 * S;
    s.Body.ViewRollCos = 1;
    s.Body.Altitude = 1000;
    s.HeadUp.VelocityMarkX = CheckedRound<int16_t>(cx + 40 * S);
    s.HeadUp.VelocityMarkY = CheckedRound<int16_t>(cy + 60 * S);
    v->Screen.Record = &record;
  }
  void Draw() {
    view.Cls();
    DrawHeadUpDisplay(in, *v, s, a, o, view, now);
  }
  // Any pixel of colour c at (x, y) or next to it.
  bool Lit(double x, double y, Color c = kHudGreen) const {
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        if (view.Point(std::nearbyint(x) + i, std::nearbyint(y) + j) == c) return true;
    return false;
  }
  // Every pixel of `text` printed at (x, y) in the display's font shows.
  ::testing::AssertionResult Shows(double x, double y, const std::string& text, Color c = kHudGreen) const {
    Surface alone(view.Width(), view.Height(), vbBlack);
    alone.SetFontName(view.FontName());
    alone.SetFontSize(view.FontSize());
    alone.SetFontBold(view.FontBold());
    alone.SetForeColor(c);
    alone.SetCurrentX(x);
    alone.SetCurrentY(y);
    alone.Print(text);
    int ink = 0, missing = 0;
    for (int j = static_cast<int>(y) - 2; j < y + alone.TextHeight(text) + 2; ++j)
      for (int i = static_cast<int>(x) - 2; i < x + alone.TextWidth(text) + 2; ++i) {
        if (alone.Point(i, j) != c) continue;
        ++ink;
        missing += view.Point(i, j) != c;
      }
    if (ink > 0 && missing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\": " << missing << " of " << ink << " pixels missing";
  }
  int Count(const std::function<bool(int, int, Color)>& pick) const {
    int n = 0;
    for (int j = 0; j < view.Height(); ++j)
      for (int i = 0; i < view.Width(); ++i) n += pick(i, j, view.Point(i, j));
    return n;
  }
};

// Speed in knots and eye height in feet round halves up; from 100,000 ft
// the height window shows the circular orbital speed less 500 m/s, in
// knots: GM 3.989327e14 over 6378140 m plus the height, its root.
TEST(HeadUpDisplayTexts, SpeedAndHeightRoundHalvesUpAndOrbitShowsItsMargin) {
  const struct {
    double airSpeed, altitude, eye;
    const char *speed, *height;
  } cases[] = {
      {257.2, 498, 304.9524, " 500", " 1001"},  // 499.945 kt; 1000.5 ft
      {0.2572, 498, 0.1524, " 0", " 1"},        // 0.49995 kt; 0.5 ft
      {100, 498, 304.95, " 194", " 1000"},       // 194.38 kt; 1000.49 ft
      {100, 30479.9, 30481, " 194", " 100003"},  // still the eye: 100003.28 ft
      {100, 30480, 30481, " 194", " 14364"},     // 7889.828 m/s: 7389.828 x 1.9438 = 14364.35
      {100, 100000, 0, " 194", " 14282"},        // 7847.379: 14281.84
      {100, 35786000, 0, " 194", " 5007"},       // 3075.942: 5007.12
  };
  for (const auto& c : cases) {
    testing::PanelFixture f;
    f.Compose();
    f.s.Setup.EarthGm = 1e24 * (6.67 / 1e11 * 5.981);
    f.s.Setup.EarthRadius = 6378140;
    f.s.Body.AirSpeed = c.airSpeed;
    f.s.Body.Altitude = c.altitude;
    f.s.View.EyeZ = c.eye;
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 1 writes them
    EXPECT_EQ(f.v->HudSpeedText, c.speed) << c.airSpeed;
    EXPECT_EQ(f.v->HudAltitudeText, c.height) << c.altitude;
  }
}

// The head-up texts of one worked state, in the units they are shown in: at
// 100 m/s (194.38 kt), the eye at 500 m (1640.42 ft), heading 1 rad (57.3
// degrees), 0.1 rad angle of attack (5.73 degrees) and 0.02 rad of sideslip
// on a path of 0.05 rad banked 0.3 rad, 1.5 g over the last ten samples. A
// light aircraft's angle of attack counts its wing's 2 degrees of
// incidence; its load is that of the moment, 1.2 g times 110 / 100 kg. The
// marker stands on the path: 573 px a radian below and beside the centre.
TEST(HeadUpDisplayTexts, OneWorkedStateInTheShownUnits) {
  const struct {
    bool light;
    const char *heading, *speed, *altitude, *alpha, *load;
  } cases[] = {{false, "057", " 194", " 1640", "5.73α", "1.50Ｇ"}, {true, "057", "", "", "7.73α", "1.320Ｇ"}};
  for (const auto& c : cases) {
    testing::PanelFixture f;
    if (c.light) f.Light();
    f.Compose();
    flight::FlightRecord record;
    record.RecordCount = 30;
    for (int i = 0; i < 30; ++i) record.Row(i).LoadFactor = i >= 20 ? 1.5 : 9;
    f.v->Screen.Record = &record;
    flight::FlightState& s = f.s;
    s.Body.AirSpeed = 100;
    s.Body.Altitude = 498;
    s.View.EyeZ = 500;
    s.Body.Heading = 1;
    s.Air.AngleOfAttack = 0.1;
    s.Air.Sideslip = 0.02;
    s.Body.PathAngle = 0.05;
    s.Body.PitchAngle = 0.15;
    s.Body.BankAngle = 0.3;
    s.Body.ViewRollSin = std::sin(0.3);
    s.Body.ViewRollCos = std::cos(0.3);
    s.Setup.WingIncidenceRad = 2 / 57.3;
    s.Air.NormalLoad = 1.2 * 9.8;
    s.Masses.Mass = 110;
    s.Masses.DryMass = 100;
    DrawInstrumentPanel(*f.v, s, f.a, f.o, *f.p);  // phase 1 writes them
    EXPECT_EQ(f.v->HudHeadingText, c.heading);
    EXPECT_EQ(f.v->HudSpeedText, c.speed);
    EXPECT_EQ(f.v->HudAltitudeText, c.altitude);
    EXPECT_EQ(f.v->HudAlphaText, c.alpha);
    EXPECT_EQ(f.v->HudLoadText, c.load);

    f.o.ShowVelocityVector = 1;
    s.View.ViewCentreX = 320;
    s.View.ViewCentreY = 240;
    s.Pilot.PixelsPerRadian = 573;
    flight::StepHeadUpDisplay(s, record, f.a, f.o);
    EXPECT_EQ(s.HeadUp.VelocityMarkX, 309);  // 320 - 11.46
    EXPECT_EQ(s.HeadUp.VelocityMarkY, 297);  // 240 + 57.3
  }
}

TEST(HeadUpDisplayPicture, ReadoutsAtTheirPlacesInBothViews) {
  for (double S : {1.0, 1.6}) {
    for (int16_t wire : {0, 1}) {
      HudScene h(S);
      h.in.WireframeView = wire;
      const Color green = wire != 0 ? kWireGreen : kHudGreen;
      h.v->HudHeadingText = "123";
      h.v->HudSpeedText = " 250";
      h.v->HudAltitudeText = " 1500";
      h.v->HudAlphaText = "-5.73α";
      h.v->HudLoadText = "1.05Ｇ";
      h.s.HeadUp.CompanionSampleCount = 100;
      h.s.HeadUp.CameraDistance = 1000;
      h.in.ShotsFired = 7;
      h.in.HitCount = 4;
      h.Draw();
      const double cx = h.cx, cy = h.cy;
      const struct {
        double x, y;
        const char* text;
      } readouts[] = {{313 * S, cy - 80 * S, "123"},      {220 * S, cy + 53 * S, "1.05Ｇ"},
                      {220 * S, cy + 40 * S, "-5.73α"},   {209 * S, cy - 10 * S, " 250"},  // centred on 225 S
                      {395 * S, cy - 10 * S, " 1500"},    {cx + 50 * S, cy + 27 * S, "3281ft"},
                      {cx + 65 * S, cy + 40 * S, "293"},  {cx + 65 * S, cy + 53 * S, "004pt"}};
      for (const auto& r : readouts) EXPECT_TRUE(h.Shows(r.x, r.y, r.text, green)) << "scale " << S << " wireframe " << wire;
      EXPECT_EQ(h.Count([&](int, int, Color c) { return c != vbBlack && c != green; }), 0);
    }
  }
}

TEST(HeadUpDisplayPicture, MarkersAtTheirPlaces) {
  for (double S : {1.0, 1.6}) {
    HudScene h(S);
    const double c = std::cos(0.5236), n = std::sin(0.5236);  // 30 degrees of right bank
    h.s.Body.ViewRollCos = c;
    h.s.Body.ViewRollSin = n;
    h.Draw();
    const double cx = h.cx, cy = h.cy, mx = cx + 40 * S, my = cy + 60 * S, P = 573 * S;
    // The marker: wing line along the bank, fin up in the aircraft's frame, ring of 6.
    EXPECT_TRUE(h.Lit(mx + 9 * S * c, my - 9 * S * n) && h.Lit(mx - 9 * S * c, my + 9 * S * n)) << S;
    EXPECT_TRUE(h.Lit(mx - 9 * S * n, my - 9 * S * c)) << S;
    EXPECT_FALSE(h.Lit(mx + 9 * S * c, my + 9 * S * n) || h.Lit(mx + 9 * S * n, my + 9 * S * c)) << S;
    const int ring[4][2] = {{6, 0}, {-6, 0}, {0, 6}, {0, -6}};
    for (const auto& r : ring) EXPECT_TRUE(h.Lit(mx + r[0] * S, my + r[1] * S)) << r[0] << "," << r[1] << " " << S;
    EXPECT_FALSE(h.Lit(mx + 1.5 * S, my + 2.6 * S)) << S;
    // Horizon bars 20 to 60 out from the centre, tilted with the bank.
    for (double k : {25.0, 40.0, 55.0}) {
      EXPECT_TRUE(h.Lit(cx + k * S * c, cy - k * S * n) && h.Lit(cx - k * S * c, cy + k * S * n)) << k << " " << S;
      EXPECT_FALSE(h.Lit(cx + k * S * c, cy + k * S * n) || h.Lit(cx - k * S * c, cy - k * S * n)) << k << " " << S;
    }
    EXPECT_FALSE(h.Lit(cx + 13 * S * c, cy - 13 * S * n)) << S;
    // The reference symbol: stubs out to 1/30 rad, a W dipping 1/40 rad below the centre.
    for (double side : {-1.0, 1.0}) {
      EXPECT_TRUE(h.Lit(cx + side * P / 35, cy) && h.Lit(cx + side * 3 * P / 160, cy + P / 80) &&
                  h.Lit(cx + side * P / 160, cy + P / 80)) << S;
      EXPECT_FALSE(h.Lit(cx + side * 3 * P / 160, cy - P / 80)) << S;
    }
    EXPECT_TRUE(h.Lit(cx, cy) && h.Lit(cx - 2, cy)) << S;
    // No burst yet: no firing cue.
    EXPECT_FALSE(h.Lit(cx + 25 * S, cy + 15 * S) || h.Lit(cx - 25 * S, cy - 15 * S)) << S;

    // A light aircraft's marker has no horizon bars.
    h.a.LaunchSpeed = 10;
    h.Draw();
    EXPECT_TRUE(h.Lit(mx + 9 * S * c, my - 9 * S * n)) << S;
    EXPECT_FALSE(h.Lit(cx + 40 * S * c, cy - 40 * S * n) || h.Lit(cx - 40 * S * c, cy + 40 * S * n)) << S;
  }
}

TEST(HeadUpDisplayPicture, GunSightTargetBoxAndFiringCue) {
  HudScene h;
  const double cx = h.cx, cy = h.cy;
  h.s.Masses.DryMass = 5000;
  h.record.RecordCount = 21;
  h.s.HeadUp.CompanionSampleCount = 100;
  h.s.HeadUp.CameraDistance = 30000;
  h.s.HeadUp.GunSightX = CheckedRound<int16_t>(cx + 50);
  h.s.HeadUp.GunSightY = CheckedRound<int16_t>(cy - 40);
  h.in.ViewShake = 2;
  // The companion's nearest triangle centred on (cx + 20, cy - 40).
  h.in.PolygonPoints = {PointI{CheckedRound<int32_t>(cx + 10), CheckedRound<int32_t>(cy - 50)},
                        PointI{CheckedRound<int32_t>(cx + 30), CheckedRound<int32_t>(cy - 50)},
                        PointI{CheckedRound<int32_t>(cx + 20), CheckedRound<int32_t>(cy - 20)}};
  h.s.Sound.TriggerTime = h.now - 1.9;
  h.Draw();
  // Target box, 14 square about the triangle's centre, shaken down 2.
  EXPECT_TRUE(h.Lit(cx + 13, cy - 45) && h.Lit(cx + 27, cy - 31) && h.Lit(cx + 20, cy - 45) && h.Lit(cx + 13, cy - 38));
  EXPECT_FALSE(h.Lit(cx + 20, cy - 38));
  // Gun-sight ring of 6, shaken down 2.
  EXPECT_TRUE(h.Lit(cx + 56, cy - 38) && h.Lit(cx + 44, cy - 38) && h.Lit(cx + 50, cy - 44) && h.Lit(cx + 50, cy - 32));
  EXPECT_FALSE(h.Lit(cx + 50, cy - 38));
  // The cue: a cross through the centre, 50 out and 30 up and down.
  for (double sx : {-1.0, 1.0})
    for (double sy : {-1.0, 1.0}) EXPECT_TRUE(h.Lit(cx + 25 * sx, cy + 15 * sy) && h.Lit(cx + 45 * sx, cy + 27 * sy));

  // A triangle far above: the box held 90 above the centre. Two seconds
  // after the burst the cue is gone.
  for (auto& q : h.in.PolygonPoints) q.y -= 300;
  h.s.Sound.TriggerTime = h.now - 2.01;
  h.Draw();
  EXPECT_TRUE(h.Lit(cx + 13, cy - 95) && h.Lit(cx + 27, cy - 81));
  EXPECT_FALSE(h.Lit(cx + 25, cy + 15) || h.Lit(cx - 45, cy - 27));

  // With the flight-data charts or the editor open: no rings and no box; the texts stay.
  h.in.HitCount = 12;
  for (int which : {0, 1}) {
    h.o.FlightDataChartsActive = static_cast<int16_t>(which == 0);
    h.in.EditorActive = which == 1;
    h.Draw();
    EXPECT_FALSE(h.Lit(cx + 56, cy - 38) || h.Lit(cx + 13, cy - 95) || h.Lit(cx + 40, cy + 66)) << which;
    EXPECT_TRUE(h.Shows(cx + 65, cy + 53, "012pt")) << which;
  }
}

TEST(HeadUpDisplayPicture, DistanceToTheCompanionAtItsUnitLimits) {
  const struct {
    double metres;
    const char* text;
  } cases[] = {{1852, "6076ft"}, {1853, "01nm"}, {9260, "05nm"}, {18519, "10nm"}, {18520, ""}};
  for (const auto& k : cases) {
    HudScene h;
    h.s.HeadUp.CompanionSampleCount = 100;
    h.s.HeadUp.CameraDistance = k.metres;
    h.Draw();
    const double x = h.cx + 50, y = h.cy + 27;
    if (*k.text != 0) {
      EXPECT_TRUE(h.Shows(x, y, k.text)) << k.metres;
    } else {
      EXPECT_EQ(h.Count([&](int i, int j, Color c) { return c == kHudGreen && i >= x && i < x + 14 && j >= y && j < y + 11; }), 0);
    }
  }
}

// Gear up, sinking below 1000 ft, banked less than about 32 degrees, in the
// blink's on half: "Gear" in red; each limit just inside and just outside.
TEST(HeadUpDisplayPicture, GearWarningJustInsideAndOutsideEachLimit) {
  using Set = std::function<void(HudScene&)>;
  const struct {
    const char* what;
    Set set;
    bool shown;
  } cases[] = {
      {"304.79 m", [](HudScene& h) { h.s.Body.Altitude = 304.79; }, true},
      {"304.8 m", [](HudScene& h) { h.s.Body.Altitude = 304.8; }, false},
      {"sinking 0.01", [](HudScene& h) { h.s.Body.VelZ = -0.01; }, true},
      {"level", [](HudScene& h) { h.s.Body.VelZ = 0; }, false},
      {"bank cos 0.851", [](HudScene& h) { h.s.Body.ViewRollCos = 0.851; }, true},
      {"bank cos 0.85", [](HudScene& h) { h.s.Body.ViewRollCos = 0.85; }, false},
      {"gear coming down", [](HudScene& h) { h.s.Controls.GearValue = 0.01; }, false},
      {"blink 0.49", [](HudScene& h) { h.now = 100.245; }, true},
      {"blink 0.51", [](HudScene& h) { h.now = 100.255; }, false},
      {"light jet", [](HudScene& h) { h.s.Masses.DryMass = 300; }, true},
      {"light rocket", [](HudScene& h) { h.s.Engine.EngineType = aircraft::EngineKind::Rocket, h.s.Masses.DryMass = 300; }, true},
      {"piston 800.01 kg", [](HudScene& h) { h.s.Engine.EngineType = aircraft::EngineKind::Piston, h.s.Masses.DryMass = 800.01; }, true},
      {"piston 800 kg", [](HudScene& h) { h.s.Engine.EngineType = aircraft::EngineKind::Piston, h.s.Masses.DryMass = 800; }, false},
      {"marker off", [](HudScene& h) { h.o.ShowVelocityVector = 0; }, true},
  };
  for (double S : {1.0, 1.25}) {
    for (const auto& k : cases) {
      HudScene h(S);
      h.s.Body.Altitude = 200;
      h.s.Body.VelZ = -5;
      h.s.Body.ViewRollCos = 0.94;
      k.set(h);
      h.Draw();
      if (k.shown) {
        EXPECT_TRUE(h.Shows(380 * S, 230 * S, "Gear", kWarningRed)) << k.what << " scale " << S;
      } else {
        EXPECT_EQ(h.Count([](int, int, Color c) { return c == kWarningRed; }), 0) << k.what << " scale " << S;
      }
    }
  }
}

// Without the velocity vector: no texts, counters or marks, only the
// reference symbol about the centre.
TEST(HeadUpDisplayPicture, MarkerOffLeavesTheReferenceSymbolAlone) {
  HudScene h;
  h.o.ShowVelocityVector = 0;
  h.v->HudHeadingText = h.v->HudSpeedText = h.v->HudAltitudeText = "123";
  h.s.HeadUp.CompanionSampleCount = 100;
  h.s.Sound.TriggerTime = h.now - 1;
  h.Draw();
  const auto outside = [&](int i, int j, Color c) {
    return c != vbBlack && (std::fabs(i - h.cx) > 20 || j < h.cy - 1 || j > h.cy + 16);
  };
  EXPECT_EQ(h.Count(outside), 0);
  EXPECT_GT(h.Count([](int, int, Color c) { return c == kHudGreen; }), 30);
}

}  // namespace
}  // namespace zarv::view
