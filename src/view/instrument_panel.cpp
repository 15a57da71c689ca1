// One panel update: the fast dials on every call, the slow readouts in four
// phases, one per call (all of them while the aircraft rests in the water).
//
// Engine names of the panel and where the flight state keeps them:
//   fuel-flow factor        -> RatedFuelFlow (kg/s at rating)
//   fuel-flow divisor       -> 1 (flight/fuel.cpp)
//   spool fraction          -> RotorSpeedRatio
//   intake density ratio    -> ChargeDensityRatio
//   propeller gear ratio    -> GearRatio
//   maximum manifold press. -> ManifoldPressureMax
//   thrust fraction, jet
//   thrust fraction         -> Thrust / EngineRating
//   shaft-power factor      -> CompressibilityFactor (the propeller's
//                              tip-Mach factor the power balance applies
//                              to the same (2 Vs - V) T product)
//   main lift coefficient   -> WingLift (lift area, m^2)
//   drag coefficient        -> DragArea
//   take-off run factor     -> WheelBrakeSetting
#include "view/instrument_panel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "flight/flight_loop.h"
#include "flight/ground_contact.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/text.h"
#include "view/flight_data_listing.h"
#include "view/panel_drawing.h"
#include "view/panel_texts.h"

namespace zarv::view {
namespace {

using namespace panel;
using flight::FlightState;
using aircraft::AircraftData;


double ThrustFraction(const FlightState& s) {
  return s.Engine.EngineRating != 0 ? s.Engine.Thrust / s.Engine.EngineRating : 0.0;
}

// A needle from the design centre (cx, cy) by the design offset (dx, dy).
void Needle(Surface& f, double S, double cx, double cy, double dx, double dy, Color c) {
  f.LineStep(cx * S, cy * S, dx * S, dy * S, c);
}

// Up-referenced needle, clockwise angle theta, offsets rounded.
NeedleOffset UpNeedle(double theta, double len) {
  return {static_cast<double>(Nearest16(std::sin(theta) * len)),
          static_cast<double>(Nearest16(-std::cos(theta) * len))};
}
// Down-referenced needle of the engine dials.
NeedleOffset DownNeedle(double theta, double len) {
  return {static_cast<double>(Nearest16(-std::sin(theta) * len)),
          static_cast<double>(Nearest16(std::cos(theta) * len))};
}

double AirspeedTurns(PanelVariant variant, double ias) {
  switch (variant) {
    case PanelVariant::Engine: return ias * 0.0122;
    case PanelVariant::Light: return ias * 0.0628;
    case PanelVariant::PoweredLight: return ias / 3.6 * 0.0628;
  }
  return 0;
}

void DrawAirspeed(Surface& f, double S, PanelVariant variant, const FlightState& s) {
  RestoreFace(f, 540 * S, 4, 92 * S, 92 * S - 4, 114 * S, 54 * S + 4);
  f.SetDrawWidth(2);
  const double ias = std::sqrt(std::max(0.0, s.Air.AirDensity)) * s.Body.AirSpeed / 1.107;
  const double shortAngle = AirspeedTurns(variant, ias);
  const NeedleOffset sh = UpNeedle(shortAngle, 25);
  const NeedleOffset lo = UpNeedle(shortAngle * 10, 34);
  Needle(f, S, 160, 100, sh.dx, sh.dy, kYellow);
  Needle(f, S, 160, 100, lo.dx, lo.dy, kOrange);
  if (variant == PanelVariant::Engine && (s.Engine.EngineType == aircraft::EngineKind::Jet || s.Engine.EngineType == aircraft::EngineKind::Rocket)) {
    std::string mach = "M";
    mach += Format(std::sqrt(std::max(0.0, s.Air.MachSquared)), "##0.00");
    BoxedText(f, 143 * S, 99 * S, 35 * S, 13 * S, 143 * S, 100 * S, mach);
  }
}

void DrawEngineAltimeter(PanelView& v, Surface& f, double S, const FlightState& s, const AircraftData& a) {
  RestoreFace(f, 540 * S, 92 * S, 92 * S, 92 * S, 334 * S, 54 * S);
  double phi = 0;
  auto& hand = v.AltimeterHand;
  hand = {0, -34, 0, -25};
  // No logarithm of a non-positive pressure ratio: the hands park upright.
  if (a.SurfacePressure > 0) {
    const double h = std::log(1013 / a.SurfacePressure) * 7600 + s.Body.Altitude;
    if (h < 30480) {
      const double tl = 2 * kPi * h / 304.8, ts = 2 * kPi * h / 3048;
      hand = {std::sin(tl) * 34, -std::cos(tl) * 34, std::sin(ts) * 25, -std::cos(ts) * 25};
      phi = 2 * kPi * h / 30480;
    }
  }
  const double x0 = kAltitudeDialX + std::sin(phi) * 39, y0 = kAltitudeDialY - std::cos(phi) * 39;
  const PointI tri[3] = {
      {Px(x0 * S), Px(y0 * S)},
      {Px((x0 + 8 * std::sin(phi + 2.5)) * S), Px((y0 - 8 * std::cos(phi + 2.5)) * S)},
      {Px((x0 + 8 * std::sin(phi - 2.5)) * S), Px((y0 - 8 * std::cos(phi - 2.5)) * S)}};
  Polygon(f, tri, 3);
  Needle(f, S, kAltitudeDialX, kAltitudeDialY, hand[2], hand[3], kYellow);
  Needle(f, S, kAltitudeDialX, kAltitudeDialY, hand[0], hand[1], kOrange);
}

void DrawLightAltimeter(PanelView& v, Surface& f, double S, const FlightState& s) {
  RestoreFace(f, 540 * S, 92 * S, 92 * S, 92 * S, 334 * S, 54 * S);
  const double tl = 2 * kPi * s.Body.Altitude / 10, ts = 2 * kPi * s.Body.Altitude / 100;
  v.AltimeterHand = {std::sin(tl) * 34, -std::cos(tl) * 34, std::sin(ts) * 34, -std::cos(ts) * 34};
  Needle(f, S, kAltitudeDialX, kAltitudeDialY, v.AltimeterHand[2], v.AltimeterHand[3], kYellow);
  Needle(f, S, kAltitudeDialX, kAltitudeDialY, v.AltimeterHand[0], v.AltimeterHand[1], kOrange);
}

void DrawEngineDials(Surface& f, double S, const FlightState& s) {
  RestoreFace(f, 632 * S, 92 * S, 92 * S, 92 * S, 314 * S, 154 * S);
  f.SetDrawWidth(2);
  const bool jet = s.Engine.EngineType == aircraft::EngineKind::Jet;
  const NeedleOffset speed = DownNeedle(TachometerAngle(s, s.Engine.RotorSpeedRatio), jet ? 34 : 32);
  if (s.Engine.EngineType == aircraft::EngineKind::Piston && s.Engine.EngineRating < 200000) {
    const NeedleOffset gov = DownNeedle(TachometerAngle(s, s.Engine.GovernorSetting), 32);
    Needle(f, S, 360, 200, gov.dx, gov.dy, kGreen);
  }
  Needle(f, S, 360, 200, speed.dx, speed.dy, kYellow);

  RestoreFace(f, 632 * S, 0, 92 * S, 92 * S, 214 * S, 154 * S);
  const NeedleOffset man = DownNeedle(ManifoldAngle(s), 32);
  Needle(f, S, 260, 200, man.dx, man.dy, kYellow);

  f.SetDrawWidth(1);
  // Wide and tall enough for "150%" from where its text starts.
  BoxedText(f, 247 * S, 188 * S, 26 * S, 11 * S, 247 * S, 187 * S,
            ThrottleText(s.Engine.Throttle, s.Engine.AfterburnerLevel));
}

void DrawVerticalSpeed(PanelView& v, Surface& f, double S, PanelVariant variant, const FlightState& s,
                       const AircraftData& a) {
  if (variant == PanelVariant::Engine) {
    RestoreFace(f, 632 * S, 184 * S, 92 * S, 92 * S, 414 * S, 124 * S);
    f.SetDrawWidth(2);
    double dx, dy;
    if (s.Body.Altitude >= 30480) {
      dx = -34, dy = 0;
    } else if (std::fabs(s.Body.VelZ) < 30.48) {
      dx = Nearest16(-std::cos(s.Body.VelZ * 0.079) * 34);
      dy = Nearest16(-std::sin(s.Body.VelZ * 0.079) * 34);
    } else {
      dx = 23, dy = Nearest16(Sgn(s.Body.VelZ) * -25.25);
    }
    Needle(f, S, 460, 170, dx, dy, kYellow);
    BlackBox(f, 450 * S, 162 * S, 35 * S, 13 * S);
    if (s.Body.Altitude < 30480) FitText(f, 450 * S, 35 * S, 452 * S, 164 * S, Str(Int(std::fabs(s.Body.VelZ) / 0.3048 * 60)));
  }
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) {
    // The vertical speed shares the altimeter for this one update in four.
    RestoreFace(f, 540 * S, 92 * S, 92 * S, 92 * S, 334 * S, 54 * S);
    f.SetDrawWidth(2);
    double dx, dy;
    if (std::fabs(s.Body.VelZ) < 6) {
      dx = Nearest16(-std::cos(s.Body.VelZ * 0.4) * 34);
      dy = Nearest16(-std::sin(s.Body.VelZ * 0.4) * 34);
    } else {
      dx = 10, dy = Nearest16(Sgn(s.Body.VelZ) * -34.1);
    }
    Needle(f, S, kAltitudeDialX, kAltitudeDialY, dx, dy, kYellow);
    f.SetDrawWidth(1);
    BlackBox(f, 450 * S, 162 * S, 35 * S, 13 * S);
    FitText(f, 450 * S, 35 * S, 452 * S, 164 * S, Format(s.Body.VelZ, "0.0"));
  }
  (void)v;
}

void DrawFlapAndFuel(Surface& f, double S, const FlightState& s, const AircraftData& a) {
  RestoreFace(f, 540 * S, 184 * S, 92 * S, 92 * S, 114 * S, 154 * S);
  f.SetDrawWidth(2);
  if (a.FlapMax > 0) {
    const double phi = s.Controls.FlapAngle / a.FlapMax * 0.8;
    f.LineStep(152 * S, 190 * S, std::cos(phi) * 32 * S, -std::sin(phi) * 32 * S, kYellow);
  }
  f.SetDrawWidth(1);
  if (a.FuelCapacity > 0) {
    f.LineStep(160 * S - 40, 163 * S, s.Masses.FuelQuantity * 80 / a.FuelCapacity, 5 * S, kYellow, LineBox::BF);
  }
  PrintAt(f, 160 * S, 175 * S, "Fuel(lb)");
  PrintAt(f, 160 * S, 187 * S, Str(Int(s.Masses.FuelQuantity / 0.454)));
}

// Phase 1: housekeeping, the head-up texts and the distance window.
void RunPhase1(PanelView& v, Surface& f, double S, PanelVariant variant, const FlightState& s,
               const AircraftData& a) {
  DrawStatusLamps(v, s, S, f);
  v.FrameRateText = FrameRateText(flight::DrawnFramesPerSecond(s.Loop), s.Loop.FrameRate);
  v.Screen.ReadDisplayOptions();
  if (v.Screen.ScreenMode == 3) v.Screen.RequestAircraftSwap();
  v.Screen.CloseReplay();
  v.MuzzleSpeed = s.Engine.EngineType == aircraft::EngineKind::Piston ? 600 : 1100;
  DrawVerticalSpeed(v, f, S, variant, s, a);
  v.HudHeadingText = HeadingText(s.Body.Heading, s.Body.AirSpeed);
  if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
    v.HudSpeedText = Str(Int(s.Body.AirSpeed * 1.9438 + 0.5));
    if (s.Body.Altitude < 30480) {
      v.HudAltitudeText = Str(Int(s.View.EyeZ / 0.3048 + 0.5));
    } else {
      const double orbital = std::sqrt(s.Setup.EarthGm / (s.Setup.EarthRadius + s.Body.Altitude));
      v.HudAltitudeText = Str(Int((orbital - 500) * 1.9438 + 0.5));
    }
    v.HudAlphaText = PoweredAlphaText(s.Air.AngleOfAttack);
    const flight::FlightRecord* r = v.Screen.Record;
    // The newest ten samples; the record's count is the next row it writes.
    if (r != nullptr && r->RecordCount > 10) {
      double sum = 0;
      const int32_t newest = std::min<int32_t>(r->RecordCount - 1, static_cast<int32_t>(r->Samples.size()) - 1);
      for (int32_t i = newest; i > newest - 10 && i >= 0; --i) sum += r->Samples[i].LoadFactor;
      v.LoadSum = sum;
    }
    v.HudLoadText = PoweredLoadText(v.LoadSum);
    v.HomeBearing = HomeBearing(s.Body.PosX, s.Body.PosY);
    // From the window's top, where the first line's digits begin.
    BlackBox(f, 185 * S + 1, 36 * S + 1, 40 * S - 2, 21 * S - 3);
    FitText(f, 185 * S + 1, 40 * S - 2, 182 * S, 36 * S, PoweredDistanceText(s.Body.Distance));
    FitText(f, 185 * S + 1, 40 * S - 2, 182 * S, 46 * S, BearingText(v.HomeBearing));
  } else {
    v.HudAlphaText = Format((s.Setup.WingIncidenceRad + s.Air.AngleOfAttack) * kDegreesPerRadian, "##0.00") + "α";
    if (s.Body.AirSpeed <= 0.1 || s.Masses.DryMass == 0) {
      v.HudLoadText = Format(0, "0.000") + "Ｇ";
    } else {
      v.HudLoadText = Format(s.Air.NormalLoad / 9.8 * s.Masses.Mass / s.Masses.DryMass, "0.000") + "Ｇ";
    }
    BoxedText(f, 185 * S + 1, 42 * S + 1, 40 * S - 2, 14 * S - 3, 185 * S + 2, 41 * S + 2, LightDistanceText(s.Body.Distance));
  }
}

// The altitude less the nose's drop when pitched down, for the digits of a
// light aircraft.
double LowPointAltitude(const FlightState& s, const AircraftData& a) {
  if (s.Body.PitchAngle >= 0) return s.Body.Altitude;
  return s.Body.Altitude - std::fabs(std::sin(s.Body.PitchAngle)) * 0.25 * a.OverallLength;
}

void RunPhase2(Surface& f, double S, PanelVariant variant, const FlightState& s, const AircraftData& a) {
  BlackBox(f, 432 * S, 105 * S + 1, 40 * S - 2, 13 * S - 3);
  std::string alt;
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
    alt = s.Body.Altitude < 20 ? Format(s.Body.Altitude, "##0.00") + "m" : Format(LowPointAltitude(s, a), "###0") + "m";
  } else if (s.Body.Altitude < 609.6) {
    alt = Str(Int(s.Body.Altitude / 0.3048 + 0.5)) + "ft";
  } else if (s.Body.Altitude > 30480 && s.Air.SkinTemperature < 1073) {
    alt = Str(Int(s.Body.Altitude / 1000 + 0.5)) + "km";
  }
  if (!alt.empty()) FitText(f, 432 * S, 40 * S - 2, 432 * S, 105 * S, alt);

  // The whole window, from the row where the pressure's digits begin.
  const double px = 65 * S, pw = 43 * S - 1;
  BlackBox(f, px, 106 * S + 1, pw, 24 * S - 2);
  FitText(f, px, pw, 66 * S, 106 * S,
          s.Engine.EngineRating < 9000 ? Format(s.Air.DensityRatio * 1013, "##00") + "hPa"
                                : Format(s.Air.DensityRatio * 29.92, "#0.00") + "in");
  FitText(f, px, pw, 68 * S, 118 * S, SkinTemperatureText(s.Air.SkinTemperature));

  const double x = 213 * S, w = 40 * S - 2;
  BlackBox(f, x + 1, 65 * S + 1, w, 80 * S - 2);
  PrintAt(f, x + 1, 65 * S + 1, "ﾋﾟｯﾁ角");
  FitText(f, x + 1, w, x + 6, 77 * S + 1, AttitudeAngleText(s.Body.PitchAngle));
  PrintAt(f, x + 1, 93 * S + 1, "経路角");
  FitText(f, x + 1, w, x + 6, 105 * S + 1, AttitudeAngleText(s.Body.PathAngle));
  PrintAt(f, x + 1, 117 * S + 1, "揚抗比");
  if (s.Wing.WingLift > 0.1 && s.Body.Distance > 0 && s.Air.DynamicPressure > 10) {
    const double ld = (s.Wing.WingLift - std::sin(s.Air.AngleOfAttack) * s.Engine.Thrust / s.Air.DynamicPressure) / s.Tail.DragArea;
    FitText(f, x + 1, w, x + 6, 129 * S + 1, Format(ld, "#0.00"));
  }
  if (variant == PanelVariant::Engine) DrawFlapAndFuel(f, S, s, a);
}

void PlotTraces(Surface& trace, const FlightState& s, const AircraftData& a) {
  if (s.Engine.Throttle > 0) {
    const double x = 60 * std::sqrt(std::max(0.0, s.Air.MachSquared));
    const double drag = (s.Airfoils.WingProfileDrag * s.Aero.MachFactor * a.WingArea + a.ParasiteDragArea * s.Aero.MachFactorTransonic) /
                        (a.WingArea * s.Airfoils.WingProfileDrag + a.ParasiteDragArea);
    trace.PSet(x, 150 - 50 * drag, 0x0000FF);
    trace.PSet(x, 150 - 2 * (100 * s.Aero.MachSpanTerm / (a.WingArea / a.WingSpan) + 25), 0xAA0000);
    trace.PSet(x, 150 - 50 * s.Aero.LiftSlopeMachFactor * s.Aero.LiftSlopeMachFactor, 0x00AA00);
  } else {
    const double x = s.Loop.FlightTime / 20;
    trace.PSet(x, 150 - s.Body.Altitude / 1400, 0x0000FF);
    trace.PSet(x, 150 - s.Body.AirSpeed / 50, 0x00AA00);
    trace.PSet(x, 150 - s.Body.PitchAngle * kDegreesPerRadian * 3, 0xAA0000);
    trace.PSet(x, 150 - s.Air.SkinTemperature / 30.0, 0x008080);
  }
}

void RunPhase3(PanelView& v, PanelSurfaces& p, double S, const FlightState& s, const AircraftData& a, bool all) {
  Surface& f = p.Face;
  DrawStatusLamps(v, s, S, f);
  const double x = 287 * S, w = 40 * S - 2;
  BlackBox(f, x + 1, 65 * S + 1, w, 80 * S - 2);
  PrintAt(f, x + 1, 65 * S + 1, "重心");
  FitText(f, x + 1, w, x + 6, 77 * S + 1, Format(s.Masses.CentreOfGravity, "0.0") + "%");
  PrintAt(f, x + 1, 93 * S + 1, "風圧心");
  if (s.Masses.CentreOfPressure < 100) FitText(f, x + 1, w, x + 6, 105 * S + 1, Format(s.Masses.CentreOfPressure, "0.0") + "%");

  f.SetCurrentX(x + 1);
  f.SetCurrentY(117 * S + 1);
  if (s.Engine.EngineType == aircraft::EngineKind::Piston && aircraft::LaunchAbove10(a.LaunchSpeed) && a.EngineCount > 0) {
    std::rotate(v.ShaftPowerHistory.begin(), v.ShaftPowerHistory.begin() + 1, v.ShaftPowerHistory.end());
    v.ShaftPowerHistory.back() = ShaftPowerSample(s, a);
    double sum = 0;
    for (double h : v.ShaftPowerHistory) sum += h;
    v.ShaftPowerAverage = sum / 5;
    FitText(f, x + 1, w, x + 1, 117 * S + 1, Format(v.ShaftPowerAverage / 1000, "###0"));
    PrintAt(f, x + 1, 131 * S + 1, "shp");
    // The full-throttle power curve; no point without a surface pressure.
    if (s.Engine.Throttle == 1.0 && s.Body.Altitude > 0 && a.SurfacePressure > 0 && s.Engine.EngineRating != 0) {
      p.Trace.PSet((std::log(1013 / a.SurfacePressure) * 7600 + s.Body.Altitude) / 50,
                   150 - v.ShaftPowerAverage * 100 * 0.746 / s.Engine.EngineRating * a.EngineCount, p.Trace.ForeColor());
    }
  } else if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.Engine.Throttle > 0 && s.Engine.Thrust > 0) {
    const double power = (2 * s.Engine.SlipstreamSpeed - s.Body.AirSpeed) * s.Engine.Thrust;
    if (s.Engine.EngineRating > 20) {
      FitText(f, x + 1, w, x + 1, 117 * S + 1, Format(power, "###0") + "W");
      FitText(f, x + 1, w, x + 1, 129 * S + 1, Format(s.Engine.RotorSpeedRatio * 100, "###0") + "%");
    } else {
      FitText(f, x + 1, w, x + 1, 117 * S + 1, Format(power, "0.00") + "W");
      FitText(f, x + 1, w, x + 1, 129 * S + 1, Format(s.Engine.Throttle * 100, "###0") + "%");
    }
  } else {
    if (s.Engine.Throttle > 0) {
      f.Print("航係数");
      const double cln = s.Wing.WingLift - std::sin(s.Air.AngleOfAttack) * s.Engine.Thrust / s.Air.DynamicPressure;
      if (cln > 0.1) FitText(f, x + 1, w, x + 1, 129 * S + 1, Format(std::sqrt(cln) / s.Tail.DragArea, "0.000"));
    }
    PlotTraces(p.Trace, s, a);
  }
  WriteListingPages(v, s, all);
}

}  // namespace

PanelVariant VariantOf(const FlightState& s, const AircraftData& a) {
  if (s.Engine.EngineRating >= 9000) return PanelVariant::Engine;
  return aircraft::LaunchAtMost10(a.LaunchSpeed) ? PanelVariant::Light : PanelVariant::PoweredLight;
}

NeedleOffset AirspeedLongHand(PanelVariant variant, double ias) {
  return UpNeedle(AirspeedTurns(variant, ias) * 10, 34);
}

double TachometerAngle(const FlightState& s, double spool) {
  if (s.Engine.EngineType == aircraft::EngineKind::Jet) return spool / 1.1 * 7 - 2.108;
  const double d = (500.0 / 60) * s.Engine.GearRatio + s.Engine.RatedRpm;
  return (d != 0 ? spool * 3.5 * s.Engine.RatedRpm / d : 0.0) + 1.392;
}

double ManifoldAngle(const FlightState& s) {
  const int16_t m = s.Engine.ManifoldPressureMax;
  const int16_t r = CheckedRound<int16_t>(static_cast<double>(m) + 10);
  const double share = r != 0 ? 3.5 * m / r : 0.0;
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    return s.Engine.EngineSpeedRatio * s.Engine.ChargeDensityRatio * s.Engine.EngineSpeedRatio * share + 1.392;
  }
  return ThrustFraction(s) * share + 1.392;
}

double ShaftPowerSample(const FlightState& s, const AircraftData& a) {
  if (a.EngineCount <= 0) return 0;
  return (2 * s.Engine.SlipstreamSpeed - s.Body.AirSpeed) * s.Engine.CompressibilityFactor * s.Engine.Thrust / 0.746 / a.EngineCount;
}

double ShownFuelFlow(const FlightState& s) {
  // An engine without a rated flow shows none.
  if (s.Engine.RatedFuelFlow <= 0 || !(s.Instruments.FuelFlow > 0)) return 0;
  return s.Instruments.FuelFlow;
}

void DrawStatusLamps(PanelView& v, const FlightState& s, double S, Surface& f) {
  auto lamp = [&](double x, double y, bool on, Color colour) {
    f.Line(x, y, x + 30 * S - 1, y + 10 * S - 1, on ? kLampOn : colour, LineBox::BF);
  };
  f.SetForeColor(vbWhite);
  if (s.Engine.EngineRating < 9000) {
    lamp(75 * S, 140 * S, s.Pilot.BrakeOn > 0, kLampOff);
    PrintAt(f, 75 * S - 1, 140 * S - 1, "BkHld");
    return;
  }
  if (s.Ground.GearExtension == s.Controls.GearValue && s.Ground.GearExtension > 0) {
    v.GearLampColour = kLampOn;
  } else if (s.Ground.GearExtension == 0) {
    v.GearLampColour = kLampOff;
  } else {
    v.GearLampColour = v.GearLampColour == kLampOn ? kLampOff : kLampOn;
  }
  f.Line(35 * S, 140 * S, 35 * S + 30 * S - 1, 140 * S + 10 * S - 1, v.GearLampColour, LineBox::BF);
  if (!(s.Engine.EngineType == aircraft::EngineKind::Piston && s.Engine.EngineRating < 200000)) PrintAt(f, 37 * S, 140 * S - 1, "Gear");
  lamp(75 * S, 140 * S, s.Pilot.WheelBrakeSetting > 0, kLampOff);
  PrintAt(f, 75 * S, 140 * S - 1, "Break");
  lamp(35 * S, 158 * S, s.Pilot.CasOn > 0, kLampOff);
  PrintAt(f, 38 * S, 158 * S - 1, "CAS");
  lamp(35 * S, 176 * S, s.Pilot.BrakeOn > 0, kLampOff);
  PrintAt(f, 36 * S - 1, 176 * S - 1, "BkHld");
  lamp(75 * S, 176 * S, s.Pilot.PitchHoldOn > 0, kLampOff);
  PrintAt(f, 76 * S, 176 * S - 1, "PtHld");
  if (s.Engine.TvcCapability > 0) {
    lamp(35 * S, 194 * S, s.Engine.TvcOn > 0, kLampOff);
    PrintAt(f, 38 * S, 194 * S - 1, "TVC");
  }
}

void DrawInstrumentPanel(PanelView& v, const FlightState& s, const AircraftData& a,
                         const flight::FlightOptions& o, PanelSurfaces& p) {
  if (v.Phase < INT16_MAX) ++v.Phase;
  if (s.Body.Altitude <= -10) return;
  const double S = o.ScreenScale;
  Surface& f = p.Face;
  const PanelVariant variant = VariantOf(s, a);

  DrawAirspeed(f, S, variant, s);
  // Both altimeters run for a light aircraft with an engine: the light
  // one, drawn last, stands.
  if (variant == PanelVariant::Engine) DrawEngineAltimeter(v, f, S, s, a);
  if (aircraft::LaunchAtMost10(a.LaunchSpeed)) DrawLightAltimeter(v, f, S, s);
  if (variant == PanelVariant::Engine) DrawEngineDials(f, S, s);
  f.SetFontSize(9 * S * v.Screen.FontScale);

  const bool all = flight::AtRestInWater(s.Body, s.Ground, s.Loop);
  if (v.Phase == 1 || all) RunPhase1(v, f, S, variant, s, a);
  if (v.Phase == 2 || all) RunPhase2(f, S, variant, s, a);
  if (v.Phase == 3 || all) RunPhase3(v, p, S, s, a, all);
  if (v.Phase == 4 || all) {
    WriteListingPage3(v, s, a);
    v.Phase = 0;
  }
}

}  // namespace zarv::view
