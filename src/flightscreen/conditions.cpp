#include "flightscreen/conditions.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::flightscreen {
namespace {

const char* const kCrLf = "\r\n";

bool Light(const aircraft::AircraftData& a) { return aircraft::LaunchAtMost10(a.LaunchSpeed); }

void PlaceOnCourseLine(flight::FlightState& s) {
  s.Body.PosX = s.Body.StartRadius * std::sin(s.Body.Heading);
  s.Body.PosY = s.Body.StartRadius * std::cos(s.Body.Heading);
}

double Wrapped(double angle) { return angle - Int(angle / kPi / 2) * 2 * kPi; }

}  // namespace

int WrapDirectionBar(int v) {
  if (v == kDirectionBarMax) return 1;
  if (v == 0) return kDirectionBarMax - 1;
  return v;
}

std::string BankCaption(const aircraft::AircraftData& a) {
  return "バンク角 " + Format(a.LaunchBank * kDegreesPerRadian, "##0") + "°";
}

std::string HeadingCaption(const aircraft::AircraftData& a) {
  return "機首方位 " + Format(Wrapped(a.LaunchHeading) * kDegreesPerRadian, "000") + "°";
}

std::string WindDirectionCaption(const aircraft::AircraftData& a) {
  return "風向方位 " + Format(a.WindDirection * kDegreesPerRadian, "000") + "°";
}

std::string SpeedCaption(const aircraft::AircraftData& a) {
  if (Light(a)) return Format(a.LaunchSpeed, "#0.0") + kCrLf + "m/s";
  return Format(a.LaunchSpeed * 1.95, "#00") + kCrLf + "kt";
}

std::string WindSpeedCaption(const aircraft::AircraftData& a) {
  if (a.LaunchSpeed < 11) return Format(a.WindSpeed, "0.0") + "m/s";
  return Format(a.WindSpeed * 1.95, "0.0") + "kt";
}

std::string PressureCaption(const aircraft::AircraftData& a) {
  return Format(a.SurfacePressure, "###0") + kCrLf + "hPa";
}

std::string TemperatureCaption(const aircraft::AircraftData& a) {
  return Format(a.SurfaceTemperature, "#0.0") + kCrLf + "℃";
}

std::string ApplyBankBar(int v, aircraft::AircraftData& a) {
  a.LaunchBank = (v - 20) / kDegreesPerRadian;
  return BankCaption(a);
}

std::string ApplyHeadingBar(int v, aircraft::AircraftData& a, flight::FlightState& s, flight::FlightRecord& r) {
  a.LaunchHeading = v / 36.0 * kPi;
  s.Body.Heading = s.Body.TrackAngle = a.LaunchHeading;
  if (aircraft::StartsAboveSurface(a) && a.LaunchHeight < 120000) PlaceOnCourseLine(s);
  for (int i = 0; i <= 10; ++i) {
    r.Row(i).East = s.Body.PosX;
    r.Row(i).North = s.Body.PosY;
  }
  return HeadingCaption(a);
}

std::string ApplyWindDirectionBar(int v, aircraft::AircraftData& a) {
  a.WindDirection = v / 36.0 * kPi;
  if (a.WindDirection > 6.28) a.WindDirection = 0;
  return WindDirectionCaption(a);
}

std::string ApplyLaunchSpeedBar(int v, aircraft::AircraftData& a, flight::FlightState& s, flight::FlightRecord& r) {
  std::string caption;
  if (Light(a)) {
    a.LaunchSpeed = Int((80 - v) + 0.5) / 10;
    caption = Format(a.LaunchSpeed, "#0.0") + kCrLf + "m/s";
  } else if (a.LaunchHeight > 120000 && v == 0) {
    // Orbital speed at the launch height, less what the climb costs.
    a.LaunchSpeed = std::sqrt(s.Setup.EarthGm / (s.Setup.EarthRadius + a.LaunchHeight)) - 500 -
                    std::pow(a.LaunchHeight, 1.06) / 7700;
    caption = Format(a.LaunchSpeed, "#00") + kCrLf + "m/s";
  } else {
    a.LaunchSpeed = Int((80 - v) + 0.6) * 5 / 1.95;
    caption = Format(a.LaunchSpeed * 1.95, "#00") + kCrLf + "kt";
  }
  s.Body.StartRadius = std::max(10 - 1.25 * a.LaunchSpeed, -9.9);
  const bool highRocket = s.Engine.EngineType == aircraft::EngineKind::Rocket && a.LaunchHeight >= 80000;
  if (!highRocket && a.LaunchHeight < 120000) PlaceOnCourseLine(s);
  if (aircraft::StartsOutOnTheLake(a)) {
    s.Body.PosX = 70;
    s.Body.PosY = 80;
    r.RecordCount = 0;
    s.Loop.PassesThisSecond = 0;
  }
  return caption;
}

std::string ApplyWindSpeedBar(int v, aircraft::AircraftData& a) {
  if (Light(a)) {
    a.WindSpeed = 4 - v / 2.0;
    return Format(a.WindSpeed, "#0.0") + kCrLf + "m/s";
  }
  a.WindSpeed = (8 - v) * 5 / 1.95;
  return Format(a.WindSpeed * 1.95, "#00") + kCrLf + "kt";
}

std::string ApplyPressureBar(int v, aircraft::AircraftData& a) {
  a.SurfacePressure = 1050 - v;
  return PressureCaption(a);
}

std::string ApplyTemperatureBar(int v, aircraft::AircraftData& a) {
  a.SurfaceTemperature = -v / 2.0;
  return TemperatureCaption(a);
}

std::string ApplyPitchBar(int v, aircraft::AircraftData& a) {
  a.LaunchPitch = (25 - v) / 114.6;
  return Format(a.LaunchPitch * kDegreesPerRadian, "#0.0") + kCrLf + "DEG";
}

int PitchBarFor(double launchPitch) {
  return std::clamp<int>(CInt(std::clamp(25 - 114.6 * launchPitch, -1000.0, 1000.0)), 0, kPitchBarMax);
}

BarPositions BarsForConditions(const aircraft::AircraftData& a, double engineRating) {
  BarPositions b;
  const double v = a.LaunchSpeed;
  if (v < 1 || (engineRating >= 9000 && v <= 49 / 1.95)) {
    b.Speed = kSpeedBarMax;
  } else if (Light(a)) {
    b.Speed = CInt(80 - 10 * v);
    b.SpeedCaption = Format(v, "#0.0") + kCrLf + "m/s";
  } else if (v < 700) {
    b.Speed = CInt(std::max(80 - v * 1.95 / 5, -1000.0));
    b.SpeedCaption = Format(v * 1.95, "#00") + kCrLf + "kt";
  } else {
    b.Speed = 0;
    b.SpeedCaption = Format(v, "#00") + kCrLf + "m/s";
  }
  b.Speed = std::clamp(b.Speed, 0, kSpeedBarMax);
  const double w = a.WindSpeed;
  if (Light(a)) {
    b.Wind = w < 4.01 ? CInt(8.001 - 2 * w) : 8;
  } else if (w < 0) {
    b.Wind = 8;
  } else if (w < 45 / 1.95) {
    b.Wind = CInt(8.001 - w * 1.95 / 5);
  } else {
    b.Wind = 0;
  }
  b.Wind = std::clamp(b.Wind, 0, kWindBarMax);
  b.Pressure = std::clamp<int>(CInt(1050 - a.SurfacePressure), 0, kPressureBarMax);
  b.Temperature = std::clamp<int>(CInt(-2 * a.SurfaceTemperature), kTemperatureBarMin, kTemperatureBarMax);
  b.Bank = std::fabs(a.LaunchBank) * kDegreesPerRadian <= 20 ? CInt(a.LaunchBank * kDegreesPerRadian + 20) : (Sgn(a.LaunchBank) + 1) * 20;
  if (a.LaunchHeading < kFullTurn) b.Heading = CInt(Wrapped(a.LaunchHeading) * 11.459);
  if (a.WindDirection < kFullTurn) b.WindDirection = CInt(Wrapped(a.WindDirection) * 11.459);
  return b;
}

}  // namespace zarv::flightscreen

namespace zarv::flightscreen {

aircraft::AircraftData SyncedThroughBars(const aircraft::AircraftData& from, const flight::FlightState& state) {
  aircraft::AircraftData a = from;
  flight::FlightState s = state;
  auto record = std::make_unique<flight::FlightRecord>();
  // Every bar's handler runs, also for a bar already at its place (as the
  // screen's load does).
  ApplyPitchBar(PitchBarFor(a.LaunchPitch), a);
  const BarPositions p = BarsForConditions(a, s.Engine.EngineRating);
  ApplyLaunchSpeedBar(p.Speed, a, s, *record);
  ApplyWindSpeedBar(p.Wind, a);
  ApplyPressureBar(p.Pressure, a);
  ApplyTemperatureBar(p.Temperature, a);
  ApplyBankBar(p.Bank, a);
  if (p.Heading) ApplyHeadingBar(WrapDirectionBar(*p.Heading), a, s, *record);
  if (p.WindDirection) ApplyWindDirectionBar(WrapDirectionBar(*p.WindDirection), a);
  return a;
}

}  // namespace zarv::flightscreen
