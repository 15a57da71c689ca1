#include <gtest/gtest.h>

#include <cmath>

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

constexpr Color kOrange = 0x0088FF;
constexpr Color kYellow = 0x00FFFF;

// Pixels of one colour in a lamp's box (the label covers part of it).
int CountIn(const Surface& s, int x, int y, Color c) {
  int n = 0;
  for (int j = y; j < y + 10; ++j)
    for (int i = x; i < x + 30; ++i) n += s.Point(i, j) == c;
  return n;
}

bool AnyPixel(const Surface& s, Color background) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.Point(x, y) != background) return true;
  return false;
}

// ---------------------------------------------------------------- needles

TEST(PanelNeedles, AirspeedHandsPointAtTheirMarks) {
  // A quarter turn of the long hand: 12.875 m/s (25 kt) engine, 2.5 m/s light,
  // 9 km/h powered light.
  const NeedleOffset e = AirspeedLongHand(PanelVariant::Engine, 3.1415926 / 2 / 0.122);
  EXPECT_EQ(e.dx, 34);
  EXPECT_EQ(e.dy, 0);
  const NeedleOffset l = AirspeedLongHand(PanelVariant::Light, 2.5);
  EXPECT_EQ(l.dx, 34);
  EXPECT_EQ(l.dy, 0);
  const NeedleOffset p = AirspeedLongHand(PanelVariant::PoweredLight, 9.0);
  EXPECT_EQ(p.dx, 34);
  EXPECT_EQ(p.dy, 0);

  PanelFixture f;
  f.Compose();
  f.s.Air.AirDensity = 1.107 * 1.107;  // indicated = true airspeed
  f.s.Body.AirSpeed = 3.1415926 / 2 / 0.122;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.p->Face.Point(190, 100), kOrange);
}

TEST(PanelNeedles, EngineDialsMeetTheFaceTicks) {
  PanelFixture f;
  // Rated engine speed: the tick of 2800 rpm on a scale to 3300.
  EXPECT_NEAR(TachometerAngle(f.s, 1.0), 3.5 * 2800 / 3300 + 1.392, 1e-12);
  EXPECT_NEAR(TachometerAngle(f.s, 0.0), 1.392, 1e-12);
  // 20 inHg of 29 (scale to 39): the tick of i = 4.
  f.s.Engine.EngineSpeedRatio = 1.0;
  f.s.Engine.ChargeDensityRatio = 20.0 / 29;
  EXPECT_NEAR(ManifoldAngle(f.s), 3.5 * 20 / 39 + 1.392, 1e-12);
  f.Jet();
  // 110 % spool is the last tick of the percent scale.
  EXPECT_NEAR(TachometerAngle(f.s, 1.1), 7.0 * 110 / 110 - 2.108, 1e-12);
  // A jet's thrust dial reads the thrust fraction on the 30 inHg scale.
  f.s.Engine.ManifoldPressureMax = 30;
  f.s.Engine.Thrust = 30000;
  EXPECT_NEAR(ManifoldAngle(f.s), 0.5 * 3.5 * 30 / 40 + 1.392, 1e-12);
}

TEST(PanelNeedles, AltimeterAtOneThousandFeetAndParked) {
  PanelFixture f;
  f.Compose();
  f.s.Body.Altitude = 304.8;  // long hand one full turn: upright
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.p->Face.Point(380, 70), kOrange);
  EXPECT_NEAR(f.v->AltimeterHand[2], std::sin(2 * 3.1415926 / 10) * 25, 1e-9);  // short hand 36 degrees

  // No surface pressure: no logarithm, all hands upright.
  f.a.SurfacePressure = 0;
  f.s.Body.Altitude = 1234;
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.v->AltimeterHand[0], 0);
  EXPECT_EQ(f.v->AltimeterHand[1], -34);
  EXPECT_EQ(f.p->Face.Point(380, 70), kOrange);
}

TEST(PanelNeedles, LightAircraftWithEngineShowsTheLightAltimeter) {
  PanelFixture f;
  f.a.LaunchSpeed = 10;  // both altimeters apply; the light one is drawn last
  f.Compose();
  f.s.Body.Altitude = 2.5;  // a quarter turn of the 10 m hand
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 1: vertical speed
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 2: altitude hands
  EXPECT_EQ(f.p->Face.Point(410, 100), kOrange);
  EXPECT_NE(f.p->Face.Point(380, 70), kOrange);
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
  EXPECT_EQ(FrameRateText(40, 2, 19.876), "20Frm/Sec 19.88");
  EXPECT_EQ(AttitudeAngleText(-0.1), "-5.7°");
  EXPECT_EQ(AttitudeAngleText(0.2), "+11°");
  EXPECT_EQ(PoweredLoadText(-12.34), "-1.23Ｇ");
  EXPECT_EQ(PoweredAlphaText(-0.1), "-5.73α");
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

// The pressure, centre-of-gravity and altitude readouts of a light aircraft
// end inside their windows at every screen size: the panel's face right of
// each window stays as it was.
TEST(PanelTexts, ReadoutsStayInsideTheirWindows) {
  const struct {
    double S;
    int choice;
  } sizes[] = {{1.0, 0}, {1.25, 1}, {1.6, 2}};
  for (const auto& z : sizes) {
    PanelFixture f;
    f.Light();
    f.Compose(z.S, z.choice);
    Surface before(f.p->Face.Width(), f.p->Face.Height());
    BitBlt(before, 0, 0, before.Width(), before.Height(), f.p->Face, 0, 0, SRCCOPY);
    f.s.Body.Altitude = 12.34;
    f.s.Body.GroundSpeed = 10;
    f.s.Masses.CentreOfGravity = 33;
    f.s.Masses.CentreOfPressure = 30.5;
    for (int call = 0; call < 4; ++call) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    // Window right edges (design px) and the rows of their texts.
    const struct {
      double right, top, bottom;
    } windows[] = {{108, 106, 130}, {327, 65, 120}, {472, 105, 118}};
    for (const auto& w : windows) {
      for (int y = CheckedRound<int>(w.top * z.S); y < CheckedRound<int>(w.bottom * z.S); ++y)
        for (int x = CheckedRound<int>(w.right * z.S) + 2; x < CheckedRound<int>(w.right * z.S) + 12; ++x)
          ASSERT_EQ(f.p->Face.Point(x, y), before.Point(x, y)) << "scale " << z.S << " at " << x << "," << y;
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
  EXPECT_NE(f.v->Pages.Page3[0].find("nm"), std::string::npos);
  f.s.Instruments.FuelFlow = 0.1;  // "lb/h" only below 0.1 kg/s
  WriteListingPage3(*f.v, f.s, f.a);
  EXPECT_EQ(f.v->Pages.Page3[2], "　Fuel Flow=793");
  f.s.Engine.PropellerDiameter = 2;
  WriteListingPage3(*f.v, f.s, f.a);
  EXPECT_EQ(f.v->Pages.Page3[5], "      ぺラ角=" + Format(std::atan(2 / 3.1415926 / 2 / 0.7) * 57.3, "#0.0") + "°");

  // Slower than 0.1 degree per second: no turn radius.
  f.v->Pages.Page2Visible = true;
  f.s.Body.TurnRate = 0.00017;
  f.s.Body.InertialSpeed = 50;
  f.s.Body.Altitude = 500;
  WriteListingPages(*f.v, f.s, false);
  EXPECT_EQ(f.v->Pages.Page2[2], "    旋回半径=0ｍ");
  f.s.Body.TurnRate = 0.1;
  WriteListingPages(*f.v, f.s, false);
  EXPECT_EQ(f.v->Pages.Page2[2], "    旋回半径=500ｍ");
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
  for (int i = 1; i <= 3; ++i) {
    DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
    EXPECT_EQ(f.v->Phase, i);
  }
  DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);
  EXPECT_EQ(f.v->Phase, 0);
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

TEST(StatusLamps, OnAndOffAtTheirThresholds) {
  PanelFixture f;
  f.Compose();
  Surface& face = f.p->Face;
  f.s.Pilot.BrakeOn = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_GT(CountIn(face, 35, 176, 0x00CC00), 20);
  f.s.Pilot.BrakeOn = 0;
  f.s.Pilot.WheelBrakeSetting = 0.5;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(CountIn(face, 35, 176, 0x00CC00), 0);
  EXPECT_GT(CountIn(face, 35, 176, 0x999999), 20);
  EXPECT_GT(CountIn(face, 75, 140, 0x00CC00), 20);
  EXPECT_EQ(CountIn(face, 35, 194, 0x999999), 0);  // no thrust-vector lamp without the capability

  // The gear lamp blinks while the gear moves, and is steady at its ends.
  f.s.Controls.GearValue = 1;
  f.s.Ground.GearExtension = 0.5;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  const Color first = f.v->GearLampColour;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_NE(f.v->GearLampColour, first);
  f.s.Ground.GearExtension = 1;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(f.v->GearLampColour, 0x00CC00u);
  f.s.Controls.GearValue = f.s.Ground.GearExtension = 0;
  DrawStatusLamps(*f.v, f.s, 1.0, face);
  EXPECT_EQ(f.v->GearLampColour, 0x999999u);

  // A light aircraft: the brake lamp alone, where the take-off lamp stands.
  PanelFixture g;
  g.Light();
  g.Compose();
  g.s.Pilot.BrakeOn = 1;
  const Color gearSpot = g.p->Face.Point(62, 148);
  DrawStatusLamps(*g.v, g.s, 1.0, g.p->Face);
  EXPECT_GT(CountIn(g.p->Face, 75, 140, 0x00CC00), 20);
  EXPECT_EQ(g.p->Face.Point(62, 148), gearSpot);
}

TEST(EngineGauges, FuelBarAndPowerCurveGuards) {
  PanelFixture f;
  f.Compose();
  for (int i = 0; i < 2; ++i) DrawInstrumentPanel(*f.v, f.s, f.a, f.o, *f.p);  // phase 2
  EXPECT_EQ(f.p->Face.Point(130, 165), kYellow);  // half a tank: from 120 to 160

  PanelFixture g;
  g.a.FuelCapacity = 0;  // no tank, no bar
  g.Compose();
  for (int i = 0; i < 2; ++i) DrawInstrumentPanel(*g.v, g.s, g.a, g.o, *g.p);
  EXPECT_NE(g.p->Face.Point(130, 165), kYellow);

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
    EXPECT_EQ(AnyPixel(h.p->Trace, vbBlack), pressure > 0) << pressure;
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

    Surface frame(CheckedRound<int>(640 * S), CheckedRound<int>(500 * S), 0xFFC080);
    f.v->Screen.PanelTop = CheckedRound<int>(250 * S);
    int16_t toggle = 0;
    DrawPanelMeters(*f.v, f.s, f.a, f.o, *f.p, frame, toggle);
    const int left = CheckedRound<int>(50 * S), top = f.v->Screen.PanelTop;
    EXPECT_EQ(frame.Point(left + 3, top + 3), 0xFFC080u);  // outside the instruments: the view
    EXPECT_EQ(frame.Point(left + CheckedRound<int>(20 * S), top + CheckedRound<int>(30 * S)),
              face.Point(CheckedRound<int>(20 * S), CheckedRound<int>(30 * S)));
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
    for (int y = 225; y < 250; ++y)
      for (int x = 375; x < 420; ++x)
        if (view.Point(x, y) == 0x0000FF) return true;
    return false;
  };
  EXPECT_TRUE(redAt(100.1));
  EXPECT_FALSE(redAt(100.3));  // the off half of the blink
  f.s.Body.ViewRollCos = 0.82;      // 35 degrees
  EXPECT_FALSE(redAt(100.1));
}

}  // namespace
}  // namespace zarv::view
