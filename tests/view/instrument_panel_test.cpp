#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "platform/runtime/text.h"
#include "platform/ui/gdi.h"
#include "view/flight_data_listing.h"
#include "view/head_up_display.h"
#include "view/instrument_panel.h"
#include "view/panel_picture.h"
#include "view/panel_texts.h"
#include "view/panel_fixture.h"

namespace zarv::view {
namespace {

using testing::PanelFixture;

constexpr Color kOrange = 0x0088FF;  // long hands
constexpr Color kYellow = 0x00FFFF;  // short hands, engine needles, fuel bar
constexpr Color kLampOn = 0x00CC00;
constexpr Color kLampOff = 0x999999;

int CountColour(const Surface& s, Color c) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.Point(x, y) == c;
  return n;
}

// Pixels of one colour in a lamp's box, 30 x 10 from its corner (the label
// covers part of it).
int CountIn(const Surface& s, int x, int y, Color c) {
  int n = 0;
  for (int j = y; j < y + 10; ++j)
    for (int i = x; i < x + 30; ++i) n += s.Point(i, j) == c;
  return n;
}

// Clockwise from upright, in degrees, of a hand's offset.
double HandDegrees(double dx, double dy) { return std::atan2(dx, -dy) * 57.2957795; }

// ---------------------------------------------------------------- needles

TEST(PanelNeedles, AirspeedLongHandQuarterTurns) {
  // 12.875 m/s (25 kt) on the engine dial, 2.5 m/s light, 9 km/h powered light.
  const struct {
    PanelVariant variant;
    double ias;
  } cases[] = {{PanelVariant::Engine, 3.1415926 / 2 / 0.122}, {PanelVariant::Light, 2.5}, {PanelVariant::PoweredLight, 9.0}};
  for (const auto& c : cases) {
    const NeedleOffset o = AirspeedLongHand(c.variant, c.ias);
    EXPECT_EQ(o.dx, 34) << c.ias;
    EXPECT_EQ(o.dy, 0) << c.ias;
  }
  // On the panel, in sea-level air: the hand points right, its tip 34 px
  // right of the dial's centre at (160, 100).
  PanelFixture f;
  f.Compose();
  f.s.Air.AirDensity = 1.225;
  f.s.Body.AirSpeed = 3.1415926 / 2 / 0.122;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.p->Face.Point(190, 100), kOrange);
}

// The dial's unit is that of the scale its needle takes: a jet or rocket
// with no engines (a rating of 0) reads metric, as any aircraft without a
// real engine does.
TEST(PanelNeedles, AirspeedUnitFollowsTheNeedlesScale) {
  using aircraft::EngineKind;
  const struct {
    EngineKind kind;
    double rating, launchSpeed;
    const char* unit;
  } cases[] = {{EngineKind::Jet, 60000, 60, "ﾉｯﾄ"},     {EngineKind::Rocket, 44453, 10, "ﾉｯﾄ"},
               {EngineKind::Jet, 60000, 10, "ノット"},    {EngineKind::Piston, 261000, 60, "ノット"},
               {EngineKind::Jet, 0, 60, "km/h"},         {EngineKind::Rocket, 0, 60, "km/h"},
               {EngineKind::Rocket, 0, 10, "m/s"},       {EngineKind::Jet, 0, 10, "m/s"},
               {EngineKind::Piston, 0, 60, "km/h"},      {EngineKind::None, 0, 60, "km/h"},
               {EngineKind::Piston, 300, 5, "m/s"}};
  for (const auto& c : cases) {
    flight::FlightState s;
    aircraft::AircraftData a;
    s.Engine.EngineType = c.kind;
    s.Engine.EngineRating = c.rating;
    a.LaunchSpeed = c.launchSpeed;
    const SpeedUnitCaption unit = AirspeedUnit(s, a);
    EXPECT_STREQ(unit.Text, c.unit) << static_cast<int>(c.kind) << " " << c.rating << " " << c.launchSpeed;
    const bool metric = VariantOf(s, a) != PanelVariant::Engine;
    EXPECT_EQ(unit.FontSize, metric ? 11 : 9);
  }
}

// The engine needles point at the face's marks: one whose reading is on a
// numbered tick covers more of the face's white than one between ticks.
TEST(PanelNeedles, EngineNeedlesPointAtTheFaceMarks) {
  const struct {
    const char* dial;
    bool jet;
    double onMark, offMark;
    double flight::EngineState::*reading;
  } cases[] = {{"piston rpm 3000 / 2500", false, 3000.0 / 2800, 2500.0 / 2800, &flight::EngineState::RotorSpeedRatio},
               {"jet spool 110 / 103 %", true, 1.1, 1.03, &flight::EngineState::RotorSpeedRatio},
               {"jet thrust full / half", true, 60000, 30000, &flight::EngineState::Thrust}};
  for (const auto& c : cases) {
    int covered[2] = {};
    for (int on : {0, 1}) {
      PanelFixture f;
      if (c.jet) f.Jet();
      f.s.Engine.ManifoldPressureMax = 30;
      f.Compose();
      f.s.Engine.RotorSpeedRatio = 1.03;
      f.s.Engine.*c.reading = on ? c.onMark : c.offMark;
      Surface face(f.p->Face.Width(), f.p->Face.Height());
      BitBlt(face, 0, 0, face.Width(), face.Height(), f.p->Face, 0, 0, SRCCOPY);
      for (int i = 0; i < 4; ++i) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
      for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
          covered[on] += face.Point(x, y) == vbWhite && f.p->Face.Point(x, y) == kYellow;
    }
    EXPECT_GT(covered[1], covered[0]) << c.dial;
  }
}

TEST(PanelNeedles, AltimeterHands) {
  PanelFixture f;
  f.Compose();
  f.s.Body.Altitude = 304.8;  // 1000 ft: the long hand one full turn, the short one a tenth
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  const auto& h = f.v->AltimeterHand;
  EXPECT_NEAR(HandDegrees(h[0], h[1]), 0, 0.1);
  EXPECT_NEAR(HandDegrees(h[2], h[3]), 36, 0.1);
  // Upright from the dial's centre at (380, 100): the long hand's tip.
  EXPECT_EQ(f.p->Face.Point(380, 70), kOrange);
  // No surface pressure: no logarithm, all hands upright.
  f.a.SurfacePressure = 0;
  f.s.Body.Altitude = 1234;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(HandDegrees(h[0], h[1]), 0);
  EXPECT_EQ(HandDegrees(h[2], h[3]), 0);

  // A light aircraft with an engine has both altimeters; the light one, a
  // quarter turn of its 10 m hand at 2.5 m, is drawn last.
  PanelFixture g;
  g.a.LaunchSpeed = 10;
  g.Compose();
  g.s.Body.Altitude = 2.5;
  for (int phase = 1; phase <= 2; ++phase) DrawInstrumentPanel(*g.v, g.s, g.a, g.o, *g.p);
  EXPECT_NEAR(HandDegrees(g.v->AltimeterHand[0], g.v->AltimeterHand[1]), 90, 0.1);
  EXPECT_EQ(g.p->Face.Point(410, 100), kOrange);  // pointing right of (380, 100)
  EXPECT_NE(g.p->Face.Point(380, 70), kOrange);
}

// Where a dial's needle points, clockwise from up in degrees: the mean
// offset from the centre (cx, cy) of the pixels rMin to rMax from it that
// `pick` takes (scale 1). NaN when there are none.
template <class Pick>
double PointsAt(double cx, double cy, double rMin, double rMax, Pick pick) {
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = static_cast<int>(cy - rMax); y <= cy + rMax; ++y)
    for (int x = static_cast<int>(cx - rMax); x <= cx + rMax; ++x) {
      const double r = std::hypot(x - cx, y - cy);
      if (r < rMin || r > rMax || !pick(x, y)) continue;
      sx += x - cx;
      sy += y - cy;
      ++n;
    }
  if (n == 0) return std::nan("");
  const double d = HandDegrees(sx, sy);
  return d < 0 ? d + 360 : d;
}
double NeedleAt(const Surface& f, double cx, double cy, double rMin, double rMax, Color c) {
  return PointsAt(cx, cy, rMin, rMax, [&](int x, int y) { return f.Point(x, y) == c; });
}
// Degrees between two directions, 0 to 180.
double Apart(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }
// A needle of length len at rad clockwise from up (from down, for the
// engine dials), its offsets rounded to whole pixels: degrees from up.
double FromUp(double rad, double len) {
  const double d = HandDegrees(std::nearbyint(std::sin(rad) * len), std::nearbyint(-std::cos(rad) * len));
  return d < 0 ? d + 360 : d;
}
double FromDown(double rad, double len) { return FromUp(rad + 3.1415926535, len); }

// Each hand at two speeds or more and two air densities, on each variant:
// a wrong scale, offset or sign shows in one of them.
TEST(PanelNeedles, AirspeedHandsAtSeveralSpeeds) {
  const struct {
    PanelVariant variant;
    double density, speed, turnsPerMs;  // short hand, radians per m/s of indicated speed
  } cases[] = {{PanelVariant::Engine, 1.225, 30, 0.0122},   {PanelVariant::Engine, 0.6, 60, 0.0122},
               {PanelVariant::Light, 1.225, 3, 0.0628},     {PanelVariant::Light, 0.9, 7, 0.0628},
               {PanelVariant::PoweredLight, 1.225, 30, 0.0628 / 3.6}, {PanelVariant::PoweredLight, 0.8, 40, 0.0628 / 3.6}};
  for (const auto& c : cases) {
    PanelFixture f;
    if (c.variant == PanelVariant::Light) f.Light();
    if (c.variant == PanelVariant::PoweredLight) f.s.Engine.EngineRating = 5000;
    f.Compose();
    f.s.Air.AirDensity = c.density;
    f.s.Body.AirSpeed = c.speed;
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    const double shortHand = std::sqrt(c.density) * c.speed / 1.107 * c.turnsPerMs;
    EXPECT_LT(Apart(NeedleAt(f.p->Face, 160, 100, 15, 24, kYellow), FromUp(shortHand, 25)), 2.5) << c.speed;
    EXPECT_LT(Apart(NeedleAt(f.p->Face, 160, 100, 26, 34, kOrange), FromUp(shortHand * 10, 34)), 2.5) << c.speed;
  }
}

// Hands of 1000 and 10,000 ft a turn and a pointer of 100,000 ft, from the
// pressure altitude; a light aircraft's hands of 10 and 100 m a turn.
TEST(PanelNeedles, AltimeterHandsAndPointerAtSeveralHeights) {
  const struct {
    double pressure, altitude;
  } engine[] = {{1013, 76.2}, {1013, 2286}, {1013, 8534.4}, {1000, 0}};
  for (const auto& c : engine) {
    PanelFixture f;
    f.a.SurfacePressure = c.pressure;
    f.Compose();
    f.s.Body.Altitude = c.altitude;
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    const double h = std::log(1013 / c.pressure) * 7600 + c.altitude, turn = 2 * 3.1415926535;
    const Surface& face = f.p->Face;
    // Unrounded offsets: ten times the length makes the rounding vanish.
    EXPECT_LT(Apart(NeedleAt(face, 380, 100, 26, 34, kOrange), FromUp(turn * h / 304.8, 340)), 2.5) << h;
    EXPECT_LT(Apart(NeedleAt(face, 380, 100, 15, 24, kYellow), FromUp(turn * h / 3048, 250)), 2.5) << h;
    // The pointer beyond the hands' tips: what differs from the clean face.
    const double pointer = PointsAt(380, 100, 35.5, 41, [&](int x, int y) {
      return face.Point(x, y) != face.Point(x - 334 + 540, y - 54 + 92);
    });
    EXPECT_LT(Apart(pointer, FromUp(turn * h / 30480, 390)), 3) << h;
  }
  for (double altitude : {2.5, 25.0, 62.5}) {
    PanelFixture f;
    f.Light();
    f.Compose();
    f.s.Body.Altitude = altitude;
    for (int call = 0; call < 2; ++call) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // past phase 1
    EXPECT_LT(Apart(NeedleAt(f.p->Face, 380, 100, 20, 34, kOrange), FromUp(2 * 3.1415926535 * altitude / 10, 340)), 2.5) << altitude;
    EXPECT_LT(Apart(NeedleAt(f.p->Face, 380, 100, 20, 34, kYellow), FromUp(2 * 3.1415926535 * altitude / 100, 340)), 2.5) << altitude;
  }
}

// At rest the climb needle points left; a climb turns it up, a sink down,
// pinned beyond the scale.
TEST(PanelNeedles, ClimbNeedleBothWaysAndPinned) {
  const struct {
    bool light;
    double climb, degrees;
  } cases[] = {{false, 0, 270},       {false, 10, 270 + 0.79 * 57.29578}, {false, -10, 270 - 0.79 * 57.29578},
               {false, 40, 42.61},    {false, -40, 137.39},               {true, 2, 270 + 0.8 * 57.29578},
               {true, -2, 270 - 0.8 * 57.29578}, {true, 7, 16.39},       {true, -7, 163.61}};
  for (const auto& c : cases) {
    PanelFixture f;
    if (c.light) f.Light();
    f.Compose();
    f.s.Body.VelZ = c.climb;
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 1
    const double x = c.light ? 380 : 460, y = c.light ? 100 : 170;
    EXPECT_LT(Apart(NeedleAt(f.p->Face, x, y, 20, 34, kYellow), c.degrees), 2.5) << c.light << " " << c.climb;
  }
  PanelFixture high;  // above 100,000 ft the needle rests
  high.Compose();
  high.s.Body.Altitude = 30480;
  high.s.Body.VelZ = 10;
  DrawInstrumentPanel(*high.v, high.s, high.a, high.o, *high.p);
  EXPECT_LT(Apart(NeedleAt(high.p->Face, 460, 170, 20, 34, kYellow), 270), 2.5);
}

// The engine needles at rest and at full scale, their angles clockwise from
// straight down: the piston's tachometer and manifold rest at 1.392 rad.
TEST(PanelNeedles, EngineNeedlesAtRestAndFullScale) {
  constexpr Color kGovernor = 0x00FF00;
  const double pistonRpm = 3.5 * 2800 / (500 + 2800.0), manifold29 = 3.5 * 29 / 39, manifold30 = 3.5 * 30 / 40;
  const struct {
    const char* what;
    bool jet;
    double reading;
    double dialX, length, radians;
  } cases[] = {{"piston rpm at rest", false, 0, 360, 32, 1.392},
               {"piston rpm rated", false, 1, 360, 32, pistonRpm + 1.392},
               {"manifold at rest", false, 0, 260, 32, 1.392},
               {"manifold full", false, 1, 260, 32, manifold29 + 1.392},
               {"manifold 0.8 rpm, 0.9 charge", false, 0.8, 260, 32, 0.64 * 0.9 * manifold29 + 1.392},
               {"jet spool 0", true, 0, 360, 34, -2.108},
               {"jet spool 110 %", true, 1.1, 360, 34, 7 - 2.108},
               {"jet thrust 0", true, 0, 260, 32, 1.392},
               {"jet thrust full", true, 1, 260, 32, manifold30 + 1.392}};
  for (const auto& c : cases) {
    PanelFixture f;
    if (c.jet) f.Jet();
    f.s.Engine.ManifoldPressureMax = c.jet ? 30 : 29;
    f.s.Engine.EngineRating = c.jet ? 60000 : 150000;  // a piston under 200 kW has the governor needle
    f.s.Engine.RotorSpeedRatio = c.dialX == 360 ? c.reading : 0.5;
    f.s.Engine.EngineSpeedRatio = c.dialX == 260 ? c.reading : 0.5;
    f.s.Engine.ChargeDensityRatio = c.reading == 0.8 ? 0.9 : 1;
    f.s.Engine.Thrust = c.dialX == 260 ? c.reading * 60000 : 0;
    f.s.Engine.GovernorSetting = 0.6;
    f.Compose();
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    EXPECT_LT(Apart(NeedleAt(f.p->Face, c.dialX, 200, 20, c.length, kYellow), FromDown(c.radians, c.length)), 2.5) << c.what;
    if (!c.jet && c.dialX == 360) {
      EXPECT_LT(Apart(NeedleAt(f.p->Face, 360, 200, 20, 32, kGovernor), FromDown(0.6 * pistonRpm + 1.392, 32)), 2.5) << c.what;
    }
  }
  PanelFixture f;
  EXPECT_DOUBLE_EQ(TachometerAngle(f.s, 0), 1.392);
  EXPECT_DOUBLE_EQ(ManifoldAngle(f.s), 1.392);  // engine at rest
}

// ---------------------------------------------------------------- texts

TEST(PanelTexts, HeadingDistanceBearingTemperature) {
  EXPECT_EQ(HeadingText(6.2831852, 50), "000");
  EXPECT_EQ(HeadingText(-0.1, 50), "354");
  EXPECT_EQ(HeadingText(1.0, 3000.5), "");
  EXPECT_EQ(PoweredDistanceText(3047.9), " 10000ft");
  EXPECT_EQ(PoweredDistanceText(3048), " 1.6nm");
  EXPECT_EQ(PoweredDistanceText(185199), " 100nm");
  EXPECT_EQ(PoweredDistanceText(185200), " 100nm");
  EXPECT_EQ(PoweredDistanceText(370400), " 200nm");
  EXPECT_EQ(LightDistanceText(999.94), "999.9ｍ");
  EXPECT_EQ(LightDistanceText(1000), "1.0km");
  EXPECT_EQ(LightDistanceText(-3.25), "-3.3ｍ");
  EXPECT_EQ(SkinTemperatureText(300), " 27℃");
  EXPECT_EQ(SkinTemperatureText(272), "-1℃");
  EXPECT_EQ(FrameRateText(20, 19.876), "20Frm/Sec 19.88");
  EXPECT_EQ(AttitudeAngleText(-0.1), "-5.7°");
  EXPECT_EQ(AttitudeAngleText(0.2), "+11°");
  EXPECT_EQ(PoweredLoadText(-12.34), "-1.23Ｇ");
  EXPECT_EQ(PoweredAlphaText(-0.1), "-5.73α");
}

// The rate shown is the frames drawn per second of real time: at x1/3 a
// third of them (40 / 4 / 3 = 3.33, 40 / 2 / 3 = 6.67). The fastest setting
// shows its 40 / 36 as before, and the first second's 24 steps too.
TEST(PanelTexts, FrameRateIsTheRateDrawn) {
  const struct {
    int16_t SpeedMode, StepsPerSecond;
    int32_t DisplayDivisor;
    const char* Text;
  } rows[] = {
      {1, 40, 4, "10Frm/Sec 7.50"}, {1, 40, 2, "20Frm/Sec 7.50"}, {3, 40, 4, "3Frm/Sec 7.50"},
      {3, 40, 2, "7Frm/Sec 7.50"},  {0, 40, 36, "1Frm/Sec 7.50"}, {3, 24, 4, "2Frm/Sec 7.50"},
      {1, 24, 4, "6Frm/Sec 7.50"},
  };
  for (const auto& r : rows) {
    flight::LoopTiming loop;
    loop.SpeedMode = r.SpeedMode;
    loop.StepsPerSecond = r.StepsPerSecond;
    loop.DisplayDivisor = r.DisplayDivisor;
    loop.FrameRate = 7.5;
    EXPECT_EQ(FrameRateText(flight::DrawnFramesPerSecond(loop), loop.FrameRate), r.Text)
        << r.SpeedMode << " " << r.DisplayDivisor;
  }
}

// The throttle window rounds halves up: 0.995 and 0.505 already show the
// next percent (99.5 and 50.5 are exact); with the afterburner's 1.5, 0.7
// gives 104.99999999999999, shown 105.
TEST(PanelTexts, ThrottlePercentRoundsHalvesUp) {
  const struct {
    double throttle, afterburner;
    const char* shown;
  } cases[] = {{0.996, 1, " 100%"}, {0.995, 1, " 100%"}, {0.994, 1, " 99%"}, {0.505, 1, " 51%"},
               {0.5049, 1, " 50%"}, {0.005, 1, " 1%"},   {0.0049, 1, " 0%"},  {0.7, 1.5, " 105%"}};
  for (const auto& c : cases) EXPECT_EQ(ThrottleText(c.throttle, c.afterburner), c.shown) << c.throttle;
  // The panel's window shows that text: 0.996 as full throttle, not as 0.99.
  auto window = [](double throttle) {
    PanelFixture f;
    f.Compose();
    f.s.Engine.Throttle = throttle;
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    std::vector<Color> pixels;
    for (int y = 187; y <= 199; ++y)
      for (int x = 247; x <= 273; ++x) pixels.push_back(f.p->Face.Point(x, y));
    return pixels;
  };
  EXPECT_EQ(window(0.996), window(1.0));
  EXPECT_NE(window(0.996), window(0.99));
}

TEST(PanelTexts, HomeBearingOnAndOffTheStartLine) {
  // On the start line the written arctangent would divide by zero.
  EXPECT_EQ(BearingText(HomeBearing(-100, 0)), " 90°");
  EXPECT_EQ(BearingText(HomeBearing(100, 0)), " 270°");
  EXPECT_EQ(BearingText(HomeBearing(0, 100)), " 180°");
  EXPECT_EQ(BearingText(HomeBearing(0, -100)), " 0°");
  EXPECT_EQ(HomeBearing(0, 0), 0);
  const double b = HomeBearing(1e-12, -100);
  EXPECT_GE(b, 0);
  EXPECT_LT(b, 2 * 3.141592653589793);
}

// The pressure, centre-of-gravity and altitude readouts end inside their
// windows at every screen size, with their longest values: the panel's face
// right of each window stays as it was.
TEST(PanelTexts, ReadoutsStayInsideTheirWindows) {
  const struct {
    double S;
    int choice;
  } sizes[] = {{1.0, 0}, {1.25, 1}, {1.6, 2}};
  const struct {
    bool light;
    double altitude, centreOfGravity, centreOfPressure;  // "19.99m", " 1998ft"; "-99.0%"
  } cases[] = {{true, 19.99, 33, 30.5}, {true, 12.34, -9.5, -99}, {false, 609, 33, -99}};
  for (const auto& c : cases) {
    for (const auto& z : sizes) {
      PanelFixture f;
      if (c.light) f.Light();
      f.Compose(z.S, z.choice);
      Surface before(f.p->Face.Width(), f.p->Face.Height());
      BitBlt(before, 0, 0, before.Width(), before.Height(), f.p->Face, 0, 0, SRCCOPY);
      f.s.Body.Altitude = c.altitude;
      f.s.Body.GroundSpeed = 10;
      f.s.Masses.CentreOfGravity = c.centreOfGravity;
      f.s.Masses.CentreOfPressure = c.centreOfPressure;
      for (int call = 0; call < 4; ++call) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
      // Window right edges (design px) and the rows of their texts.
      const struct {
        double right, top, bottom;
      } windows[] = {{108, 106, 130}, {327, 65, 120}, {472, 105, 118}};
      for (const auto& w : windows) {
        for (int y = CheckedRound<int>(w.top * z.S); y < CheckedRound<int>(w.bottom * z.S); ++y)
          for (int x = CheckedRound<int>(w.right * z.S) + 2; x < CheckedRound<int>(w.right * z.S) + 12; ++x)
            ASSERT_EQ(f.p->Face.Point(x, y), before.Point(x, y))
                << (c.light ? "light" : "powered") << " scale " << z.S << " at " << x << "," << y;
      }
    }
  }
}

// Each readout's box after a long value and then a shorter one holds the
// shorter one alone, and the long one stays inside its box, at every screen
// size: around the box the face is as the shorter value leaves it.
TEST(PanelTexts, ReadoutBoxesHoldOnlyTheirNewValue) {
  using State = flight::FlightState;
  const struct {
    const char* what;
    bool light, jet;
    double box[4];        // design px: left, top, right, bottom
    void (*set)(State&, bool longer);
  } cases[] = {
      {"altitude 1120ft, 303ft", false, false, {432, 105, 472, 118},
       [](State& s, bool l) { s.Body.Altitude = l ? 341.4 : 92.4; }},
      {"pressure 29.11in, 29.73in; 27, -1 C", false, true, {65, 106, 108, 130},
       [](State& s, bool l) {
         s.Air.DensityRatio = (l ? 29.11 : 29.73) / 29.92;
         s.Air.SkinTemperature = l ? 300 : 272;
       }},
      {"distance 10000ft, 10ft; 270, 0 degrees", false, false, {185, 36, 225, 57},
       [](State& s, bool l) {
         s.Body.Distance = l ? 3047.9 : 3.048;
         s.Body.PosX = l ? 100 : 0;
         s.Body.PosY = l ? 0 : -100;
       }},
      {"light distance 999.9m, 1.0m", true, false, {185, 42, 225, 56},
       [](State& s, bool l) { s.Body.Distance = l ? 999.9 : 1; }},
      {"light altitude 19.99m, 1.00m", true, false, {432, 105, 472, 118},
       [](State& s, bool l) { s.Body.Altitude = l ? 19.99 : 1; }},
      {"throttle 150%, 5%", false, true, {247, 187, 273, 199},
       [](State& s, bool l) {
         s.Engine.Throttle = l ? 1 : 0.05;
         s.Engine.AfterburnerLevel = l ? 1.5 : 1;
       }},
      {"attitude -88, -0.6 degrees; lift-to-drag -12.50, 1.00", false, false, {213, 65, 253, 145},
       [](State& s, bool l) {
         s.Body.PitchAngle = s.Body.PathAngle = l ? -1.536 : -0.01;
         s.Body.Distance = 10;
         s.Air.DynamicPressure = 100;
         s.Wing.WingLift = 1;
         s.Tail.DragArea = l ? -0.08 : 1;
       }},
  };
  for (const auto& c : cases) {
    for (const auto& [S, choice] : {std::pair{1.0, 0}, std::pair{1.25, 1}, std::pair{1.6, 2}}) {
      auto drawn = [&](std::initializer_list<bool> values) {
        auto f = std::make_unique<PanelFixture>();
        if (c.light) f->Light();
        if (c.jet) f->Jet();
        f->Compose(S, choice);
        f->s.Air.DensityRatio = 1;
        f->s.Air.SkinTemperature = 288;
        for (bool l : values) {
          c.set(f->s, l);
          for (int call = 0; call < 4; ++call) DrawInstrumentPanel(*f->v, f->s, f->a, f->o, *f->p);
        }
        return f;
      };
      const auto shorter = drawn({false});
      const auto both = drawn({true, false});
      const auto longer = drawn({true});
      const int x0 = CheckedRound<int>(c.box[0] * S), y0 = CheckedRound<int>(c.box[1] * S);
      const int x1 = CheckedRound<int>(c.box[2] * S), y1 = CheckedRound<int>(c.box[3] * S);
      int stale = 0, outside = 0;
      for (int y = y0 - 6; y <= y1 + 6; ++y)
        for (int x = x0 - 6; x <= x1 + 6; ++x) {
          stale += both->p->Face.Point(x, y) != shorter->p->Face.Point(x, y);
          const bool inside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
          outside += !inside && longer->p->Face.Point(x, y) != shorter->p->Face.Point(x, y);
        }
      EXPECT_EQ(stale, 0) << c.what << " scale " << S;
      EXPECT_EQ(outside, 0) << c.what << " scale " << S;
    }
  }
}

// ---------------------------------------------------------------- listing

TEST(FlightDataListing, FuelFlowRangeAndPropellerGuards) {
  PanelFixture f;
  // A jet beyond its rating: no negative flow is shown.
  f.s.Instruments.FuelFlow = -0.5;
  EXPECT_EQ(ShownFuelFlow(f.s), 0);
  f.s.Instruments.FuelFlow = 0.5;
  f.s.Engine.RatedFuelFlow = 0;
  EXPECT_EQ(ShownFuelFlow(f.s), 0);
  f.s.Engine.RatedFuelFlow = 0.02;
  EXPECT_EQ(ShownFuelFlow(f.s), 0.5);

  f.v->Pages.Page3Visible = true;
  f.s.Instruments.FuelFlow = 0.05;
  f.s.Engine.PropellerDiameter = 0;  // no propeller: no division by zero
  f.s.Engine.PropellerAngle = 2;
  WriteListingPage3(*f.v, f.s, f.a);
  EXPECT_EQ(f.v->Pages.Page3[5], "      ぺラ角=0.0°");
  EXPECT_EQ(f.v->Pages.Page3[2], "　Fuel Flow=396lb/h");
  f.s.Instruments.FuelFlow = 0.1;  // "lb/h" only below 0.1 kg/s
  f.s.Engine.PropellerDiameter = 2;
  WriteListingPage3(*f.v, f.s, f.a);
  EXPECT_EQ(f.v->Pages.Page3[2], "　Fuel Flow=793");
  EXPECT_EQ(f.v->Pages.Page3[5], "      ぺラ角=24.5°");

  // Slower than 0.1 degree per second: no turn radius.
  f.v->Pages.Page2Visible = true;
  f.s.Body.TurnRate = 0.00017;
  f.s.Body.InertialSpeed = 50;
  WriteListingPages(*f.v, f.s, false);
  EXPECT_EQ(f.v->Pages.Page2[2], "    旋回半径=0ｍ");
  f.s.Body.TurnRate = 0.1;
  WriteListingPages(*f.v, f.s, false);
  EXPECT_EQ(f.v->Pages.Page2[2], "    旋回半径=500ｍ");
}

// Every line of the three pages against the state it shows, each value
// distinct from the others, worked by hand: a piston aircraft 500 m up, then
// a jet 6 m up for the lines that change with the class, the engine and the
// height.
TEST(FlightDataListing, EveryLineShowsItsOwnValue) {
  PanelFixture f;
  flight::FlightState& s = f.s;
  s.Body.AirSpeed = 43.21;
  s.Body.GroundSpeed = 38.76;
  s.Body.Distance = 1234.567;
  s.Masses.CentreOfPressure = 31.24;
  s.Masses.CentreOfGravity = 27.86;
  s.Body.PitchAngle = 0.06;
  s.Body.PathAngle = -0.03;
  s.Controls.ElevatorAngle = -0.021;
  s.Controls.RudderAngle = 0.0123;
  s.Aero.LiftSlope = 0.9;
  s.Setup.SweepAreaFactor = 0.95;
  s.Aero.LiftSlopeMachFactor = 1.1;
  s.Aero.EffectiveAspectRatio = 12.3456;
  s.Body.TurnRate = 0.05;
  s.Body.InertialSpeed = 44;
  s.Body.PitchRate = -0.1;
  s.Body.YawRate = 0.02;
  s.Body.RollRate = 0.3;
  s.Air.Sideslip = -0.01;
  s.Body.PitchCos = 0.998;
  s.Engine.Thrust = 2500;
  s.Masses.Mass = 1100;
  s.Masses.ApparentMass = 25;
  s.Body.LongAccel = -1.5;
  s.Instruments.FuelFlow = 0.02;
  s.Engine.SlipstreamSpeed = 48.3;
  s.Engine.PropellerAngle = 2.2;
  s.Engine.PropellerDiameter = 2;
  s.Air.SkinTemperature = 291;
  WriteListingPages(*f.v, s, true);
  WriteListingPage3(*f.v, s, f.a);
  const FlightDataPages& p = f.v->Pages;
  const struct {
    const std::string& Got;
    const char* Want;
  } lines[] = {
      {p.Page1[0], " Air speed    43.2m/s"},
      {p.Page1[1], " Ground speed 38.8m/s"},
      {p.Page1[2], " Distance    1234.57m"},
      {p.Page1[3], "     C.P     31.2%"},
      {p.Page1[4], "     G.C     27.9%"},
      {p.Page1[5], " Pilot G.C From 25%C"},
      {p.Page1[6], " Pitch Angle 3.44°"},   // 0.06 x 57.3 = 3.438
      {p.Page1[7], " Path Angle  -1.72°"},  // -1.719
      {p.Page1[8], " H.S. Angle -1.20°"},   // -1.2033
      {p.Page1[9], " V.S. Angle  0.70°"},   // 0.70479
      {p.Page2[0], "    揚力傾斜=5.906"},     // 0.9 x 6.28 x 0.95 x 1.1 = 5.90634
      {p.Page2[1], "有効ｱｽﾍﾟｸﾄ比=12.35"},
      {p.Page2[2], "    旋回半径=880ｍ"},     // 44 / 0.05001 = 879.8
      {p.Page2[3], "      旋回率=2.9°"},      // 2.865
      {p.Page2[4], "    ピッチ率=-5.7°"},     // -5.73
      {p.Page2[5], "      ヨー率=1.1°"},      // 1.146
      {p.Page2[6], "    ロール率=17.2°"},     // 17.19
      {p.Page2[7], "    横滑り角=-0.6°"},     // -0.573
      {p.Page2[8], "      加速度=72gal"},     // (0.998 x 2500 / 1125 - 1.5) x 100 = 71.8
      // 100 kg / 0.02 kg/s x 43.21 m/s / 1852 x 1100 / (66.67 + 1000) = 120.3
      {p.Page3[0], "航続可能距離=120nm"},
      {p.Page3[1], "　　　　推力=2.50kN"},
      {p.Page3[2], "　Fuel Flow=159lb/h"},    // 158.59
      {p.Page3[3], "   ﾍﾟﾗ後流速=53m/s"},     // 2 x 48.3 - 43.21 = 53.39
      {p.Page3[4], "  真対気速度=155.6km/h"},  // 155.556
      {p.Page3[5], "      ぺラ角=26.6°"},     // atan(2.2 / pi / 2 / 0.7) x 57.3 = 26.58
      {p.Page3[6], "    表面温度=18.0"},
      {p.Page3[7], "    機体重量=1100"},
  };
  for (const auto& l : lines) EXPECT_EQ(l.Got, l.Want);

  // A jet just above the water: the lift-off speed, the fuel used per
  // thrust and the height take three lines; the range reads the airspeed.
  f.Jet();
  s.Body.Altitude = 6;
  s.Body.AirSpeed = 250;
  s.Controls.LiftOffSpeed = 70;
  s.Engine.Thrust = 30000;
  s.Instruments.FuelFlow = 0.5;
  s.Masses.FuelQuantity = 80;
  s.Masses.DryMass = 5000;
  WriteListingPages(*f.v, s, true);
  WriteListingPage3(*f.v, s, f.a);
  EXPECT_EQ(p.Page2[2], "    浮揚速度=136kt  ");  // 135.8
  EXPECT_EQ(p.Page3[0], "航続可能距離=22nm");    // 80 / 0.5 x 250 / 1852 x 5080 / 5053.3 = 21.7
  EXPECT_EQ(p.Page3[2], "　Fuel Flow=3965");      // 3964.76
  EXPECT_EQ(p.Page3[3], "        SFC=0.588");     // 0.5 x 35280 / 30000
  EXPECT_EQ(p.Page3[5], "        高度=0km");

  // The true airspeed's three units.
  const struct {
    double Speed;
    const char* Want;
  } speeds[] = {{19.96, "  真対気速度=20.0m/s"},
                {20, "  真対気速度=72.0km/h"},
                {4999.99, "  真対気速度=18000.0km/h"},
                {5000, "  真対気速度=5.0000km/s"}};
  for (const auto& c : speeds) {
    s.Body.AirSpeed = c.Speed;
    WriteListingPage3(*f.v, s, f.a);
    EXPECT_EQ(p.Page3[4], c.Want) << c.Speed;
  }
}

// ---------------------------------------------------------------- phases, lamps, gauges

TEST(PanelPhases, DeepWaterReturnsAndRestingRunsAllPhases) {
  PanelFixture f;
  f.Compose();
  f.s.Body.Altitude = -10;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.v->Phase, 1);
  EXPECT_TRUE(f.v->HudHeadingText.empty());
  f.s.Body.Altitude = -1;
  f.s.Body.GroundSpeed = 0.1;
  f.v->Pages.Page1Visible = false;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.v->Phase, 0);
  EXPECT_EQ(f.v->HudHeadingText, "000");
  EXPECT_FALSE(f.v->Pages.Page1[0].empty());  // written although hidden
  // In flight one phase per call, back to 0 after the fourth.
  f.s.Body.Altitude = 500;
  f.s.Body.GroundSpeed = 50;
  for (int i : {1, 2, 3, 0}) {
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    EXPECT_EQ(f.v->Phase, i);
  }
}

TEST(PanelPhases, LastPageListsTheFuelOfTheBurnBefore) {
  // A jet in flight: the fourth phase lists the flow and the fuel as the
  // third phase saw them; this cycle's burn comes after the listing.
  flight::HeadlessFlight f(flight::testing::Powered(flight::testing::Engine::Jet));
  PanelFixture panel;
  panel.Compose();
  double fuelAtPhase3 = -1, flowAtPhase3 = -1;
  int listed = 0;
  f.Seams.DrawInstrumentPanel = [&] {
    const int16_t phase = panel.v->Phase + 1;
    DrawInstrumentPanel(*panel.v, f.State, f.Aircraft, f.Options, *panel.p);
    if (phase == 3) {
      fuelAtPhase3 = f.State.Masses.FuelQuantity;
      flowAtPhase3 = f.State.Instruments.FuelFlow;
    }
    if (phase == 4 && fuelAtPhase3 >= 0) {
      EXPECT_EQ(f.State.Masses.FuelQuantity, fuelAtPhase3);
      EXPECT_EQ(panel.v->Pages.Page3[2].rfind("　Fuel Flow=" + Format(flowAtPhase3 * 7929.515, "####0"), 0), 0u);
      ++listed;
    }
  };
  f.Fly(10);
  EXPECT_GT(listed, 10);
  EXPECT_LT(f.State.Masses.FuelQuantity, f.Aircraft.FuelCapacity);  // it burnt
}

TEST(StatusLamps, EachSwitchLightsItsLampAndTheGearLampBlinksWhileMoving) {
  PanelFixture f;
  f.Compose();
  Surface& face = f.p->Face;
  // Down and locked: steady, in the lamps' on colour.
  f.s.Controls.GearValue = f.s.Ground.GearExtension = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  const Color on = kLampOn;
  EXPECT_EQ(f.v->GearLampColour, on);
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(f.v->GearLampColour, on);
  f.s.Ground.GearExtension = 0.5;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  const Color first = f.v->GearLampColour;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_NE(f.v->GearLampColour, first);
  f.s.Controls.GearValue = f.s.Ground.GearExtension = 0;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(f.v->GearLampColour, kLampOff);
  EXPECT_EQ(CountColour(face, on), 0);
  for (auto set : {+[](flight::FlightState& s, int v) { s.Pilot.BrakeOn = static_cast<int16_t>(v); },
                   +[](flight::FlightState& s, int v) { s.Pilot.WheelBrakeSetting = 0.5 * v; },
                   +[](flight::FlightState& s, int v) { s.Pilot.CasOn = static_cast<int16_t>(v); },
                   +[](flight::FlightState& s, int v) { s.Pilot.PitchHoldOn = static_cast<int16_t>(v); }}) {
    set(f.s, 1);
    DrawStatusLamps(*f.v, f.s, 1.0, face);
    EXPECT_GT(CountColour(face, on), 200);
    set(f.s, 0);
    DrawStatusLamps(*f.v, f.s, 1.0, face);
    EXPECT_EQ(CountColour(face, on), 0);
  }
  f.s.Engine.TvcOn = 1;  // no thrust-vector lamp without the capability
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(CountColour(face, on), 0);
}

// Each lamp in its box, green when on and grey when off: gear and take-off
// run in the top row, CAS and the brake in the left column, pitch hold right
// of the brake; the thrust-vector lamp only with the capability. A light
// aircraft has the brake lamp alone, where the take-off lamp stands.
TEST(StatusLamps, EachLampInItsPlace) {
  PanelFixture f;
  f.Compose();
  Surface& face = f.p->Face;
  const struct {
    const char* lamp;
    int x, y;
    void (*set)(flight::FlightState&, int);
  } lamps[] = {
      {"take-off run", 75, 140, [](flight::FlightState& s, int v) { s.Pilot.WheelBrakeSetting = 0.5 * v; }},
      {"CAS", 35, 158, [](flight::FlightState& s, int v) { s.Pilot.CasOn = static_cast<int16_t>(v); }},
      {"brake", 35, 176, [](flight::FlightState& s, int v) { s.Pilot.BrakeOn = static_cast<int16_t>(v); }},
      {"pitch hold", 75, 176, [](flight::FlightState& s, int v) { s.Pilot.PitchHoldOn = static_cast<int16_t>(v); }},
  };
  for (const auto& l : lamps) {
    l.set(f.s, 1);
    DrawStatusLamps(*f.v, f.s, 1.0, face);
    for (const auto& other : lamps) {
      EXPECT_EQ(CountIn(face, other.x, other.y, kLampOn) > 20, &other == &l) << l.lamp << " on, " << other.lamp;
      EXPECT_EQ(CountIn(face, other.x, other.y, kLampOff) > 20, &other != &l) << l.lamp << " on, " << other.lamp;
    }
    l.set(f.s, 0);
  }
  // The gear: grey up, green down and locked.
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_GT(CountIn(face, 35, 140, kLampOff), 20);
  f.s.Controls.GearValue = f.s.Ground.GearExtension = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_GT(CountIn(face, 35, 140, kLampOn), 20);
  // No thrust-vector lamp without the capability; with it, grey or green.
  EXPECT_EQ(CountIn(face, 35, 194, kLampOff) + CountIn(face, 35, 194, kLampOn), 0);
  f.s.Engine.TvcCapability = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_GT(CountIn(face, 35, 194, kLampOff), 20);
  f.s.Engine.TvcOn = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_GT(CountIn(face, 35, 194, kLampOn), 20);

  PanelFixture g;
  g.Light();
  g.Compose();
  g.s.Pilot.BrakeOn = 1;
  const Color gearSpot = g.p->Face.Point(62, 148);
  DrawStatusLamps(*g.v, g.s, 1.0, g.p->Face);
  EXPECT_GT(CountIn(g.p->Face, 75, 140, kLampOn), 20);
  EXPECT_EQ(g.p->Face.Point(62, 148), gearSpot);
  EXPECT_EQ(CountIn(g.p->Face, 35, 176, kLampOn), 0);
}

TEST(EngineGauges, FuelBarAndPowerCurveGuards) {
  // No tank: no bar (and no division by its size).
  int yellow[2] = {};
  for (double capacity : {0.0, 200.0}) {
    PanelFixture f;
    f.a.FuelCapacity = capacity;
    f.Compose();
    for (int i = 0; i < 2; ++i) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 2
    yellow[capacity > 0] = CountColour(f.p->Face, kYellow);
  }
  EXPECT_GT(yellow[1], yellow[0] + 100);
  // Half a tank: the bar from x 120 to 160, rows 163 to 167.
  PanelFixture half;  // 100 kg of 200
  half.Compose();
  for (int i = 0; i < 2; ++i) DrawInstrumentPanel(*half.v, half.s, half.a, half.o, *half.p);
  EXPECT_EQ(half.p->Face.Point(130, 165), kYellow);
  EXPECT_NE(half.p->Face.Point(170, 165), kYellow);

  // The full-throttle power point, and none without a surface pressure.
  for (double pressure : {0.0, 1013.0}) {
    PanelFixture h;
    h.a.SurfacePressure = pressure;
    h.Compose();
    h.p->Trace.SetForeColor(vbWhite);
    h.s.Engine.Throttle = 1.0;
    h.s.Engine.Thrust = 1000;
    h.s.Engine.SlipstreamSpeed = 60;
    h.s.Engine.CompressibilityFactor = 1.0;
    for (int i = 0; i < 3; ++i) DrawInstrumentPanel(*h.v, h.s, h.a, h.o, *h.p);
    EXPECT_EQ(CountColour(h.p->Trace, vbBlack) < h.p->Trace.Width() * h.p->Trace.Height(), pressure > 0) << pressure;
  }
}

// ---------------------------------------------------------------- overlay

TEST(PanelOverlay, MaskAndFaceComposeTheView) {
  for (int choice : {0, 2}) {
    const double S = choice == 0 ? 1.0 : 1.6;
    PanelFixture f;
    f.Compose(S, choice);
    const Surface& face = f.p->Face;
    const Surface& mask = f.p->Mask;
    // The panel's own part of the face; clean dial faces lie right of it.
    const int w = CheckedRound<int>(540 * S), h = CheckedRound<int>(220 * S);
    int white = 0;
    for (int y = 0; y < h; y += 2) {
      for (int x = 0; x < w; x += 2) {
        if (mask.Point(x, y) != vbWhite) continue;
        ++white;
        ASSERT_EQ(face.Point(x, y), vbBlack) << x << "," << y;
      }
    }
    EXPECT_GT(white, 100);
    // The view shows through outside the instruments, the panel inside.
    Surface frame(CheckedRound<int>(640 * S), CheckedRound<int>(500 * S), 0xFFC080);
    f.v->Screen.PanelTop = CheckedRound<int>(250 * S);
    int16_t toggle = 0;
    DrawPanelMeters(*f.v, f.s, f.a, f.o, *f.p, frame, toggle);
    const int left = CheckedRound<int>(50 * S), top = f.v->Screen.PanelTop;
    EXPECT_EQ(frame.Point(left + 3, top + 3), 0xFFC080u);
    EXPECT_EQ(frame.Point(left + CheckedRound<int>(20 * S), top + CheckedRound<int>(30 * S)), testing::kPanelGrey);
  }
}

TEST(PanelOverlay, BallFollowsWithLagAndStops) {
  PanelFixture f;
  f.Compose();
  Surface frame(640, 500, 0);
  f.s.Air.NormalLoad = 9.8;
  f.s.Body.Distance = 100;
  f.s.Loads.SideLoadRatio = 0.1;  // target 17.2 px: a centred ball stays
  int16_t toggle = 0;
  DrawPanelMeters(*f.v, f.s, f.a, f.o, *f.p, frame, toggle);
  EXPECT_EQ(f.v->BallOffset, 0);
  f.s.Loads.SideLoadRatio = 0.5;
  for (int i = 0; i < 400; ++i) DrawPanelMeters(*f.v, f.s, f.a, f.o, *f.p, frame, toggle);
  EXPECT_EQ(f.v->BallOffset, 30);
}

// ---------------------------------------------------------------- head-up display

TEST(HeadUpDisplay, GearWarningFollowsItsConditions) {
  PanelFixture f;
  f.Jet();
  f.s.View.ViewCentreX = 320;
  f.s.View.ViewCentreY = 240;
  f.s.Body.Altitude = 200;
  f.s.Body.VelZ = -1;
  f.s.Body.ViewRollCos = 0.94;  // 20 degrees of bank
  const HudInputs h;
  Surface view(640, 480, 0);
  view.SetFontSize(9);
  auto redAt = [&](double now) {
    view.Cls();
    DrawHeadUpDisplay(h, *f.v, f.s, f.a, f.o, view, now);
    // "Gear" printed at (380, 230).
    int red = 0;
    for (int y = 225; y < 250; ++y)
      for (int x = 375; x < 420; ++x) red += view.Point(x, y) == 0x0000FF;
    EXPECT_EQ(red > 0, CountColour(view, 0x0000FF) > 0) << "red elsewhere in the view";
    return red > 0;
  };
  EXPECT_TRUE(redAt(100.1));
  EXPECT_FALSE(redAt(100.3));  // the off half of the blink
  f.s.Body.ViewRollCos = 0.82;      // 35 degrees
  EXPECT_FALSE(redAt(100.1));
}

}  // namespace
}  // namespace zarv::view
