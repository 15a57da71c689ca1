#include "view/cockpit_view.h"

#include <algorithm>
#include <cmath>

#include "flight/flight_loop.h"
#include "model/rotation.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/ui/bmp.h"
#include "platform/ui/gdi.h"
#include "view/panel_texts.h"

namespace zarv::view {

namespace {


// Atn(a / b), with a zero depth taken as a right angle (0 for a point on
// the eye) rather than a division by zero.
double AngleOf(double a, double b) {
  if (b == 0) return a > 0 ? kPi / 2 : (a < 0 ? -kPi / 2 : 0.0);
  return std::atan(a / b);
}

void SetViewProjection(CockpitView& v, const flight::FlightState& s) {
  model::ViewSetup& vs = v.Projection.View;
  vs.EyeX = s.View.EyeX;
  vs.EyeY = s.View.EyeY;
  vs.EyeZ = s.View.EyeZ;
  vs.ViewHeadingSin = std::sin(-s.Body.Heading);
  vs.ViewHeadingCos = std::cos(-s.Body.Heading);
  vs.ViewDepressionSin = std::sin(v.ViewDepression);
  vs.ViewDepressionCos = std::cos(v.ViewDepression);
  vs.ViewRollSin = s.Body.ViewRollSin;
  vs.ViewRollCos = s.Body.ViewRollCos;
  vs.PixelsPerRadian = s.Pilot.PixelsPerRadian;
  vs.ViewZoom = 1.0;
}

bool LargeRaceClass(const flight::FlightState& s) {
  return !(s.Engine.EngineType == aircraft::EngineKind::Piston && s.Engine.EngineRating < 200000);
}

}  // namespace

ViewGeometry ViewOf(const flight::FlightState& s, double screenScale) {
  ViewGeometry g;
  g.ScreenScale = screenScale;
  g.PixelsPerRadian = s.Pilot.PixelsPerRadian;
  g.ViewCentreX = s.View.ViewCentreX;
  g.ViewCentreY = s.View.ViewCentreY;
  g.PitchAngle = s.Body.PitchAngle;
  g.PitchAngleSin = s.Body.PitchSin;
  g.PitchAngleCos = s.Body.PitchCos;
  g.BankAngle = s.Body.BankAngle;
  g.ViewRollSin = s.Body.ViewRollSin;
  g.ViewRollCos = s.Body.ViewRollCos;
  return g;
}

std::string ElapsedTimeCaption(double e) {
  if (e <= 60) return "経過時間 " + Format(std::fabs(e), "00.0") + "Sec   ";
  // Rounded to tenths first, so 119.96 s shows as 00:02:00.0, not 00:01:60.0.
  const double t = std::round(e * 10) / 10;
  return "経過時間 " + Format(Int(t / 3600), "00") + ":" +
         Format(Int(t / 60 - Int(t / 3600) * 60), "00") + ":" +
         Format(t - Int(t / 60) * 60, "00.0") + "   ";
}

Color HeatTint(int16_t skinTemperature) {
  if (skinTemperature <= 700) return 0;
  const double g = std::min((skinTemperature - 700) / 1000.0, 1.0);
  return RGB(CInt(255 * g), 0, CInt(127 * g));
}

std::string ScreenshotName(int32_t n) { return "cam" + Format(n, "000") + ".bmp"; }

int32_t NextFreeScreenshot(const std::string& folder, int32_t from) {
  int32_t n = std::max(from, 0);
  while (n < 100000 && FileExists(JoinPath(folder, ScreenshotName(n)))) ++n;
  return n;
}

std::string SaveScreenshot(const Surface& picture, const std::string& folder, int32_t& counter) {
  counter = NextFreeScreenshot(folder, counter);
  const std::string path = JoinPath(folder, ScreenshotName(counter));
  counter += 1;
  return SaveBmp(picture, path) ? path : std::string();
}

void InitCockpitView(CockpitView& v, double screenScale, double fontScale,
                     const flight::FlightState& s, const aircraft::AircraftData& a,
                     const std::string& screenshotFolder) {
  v.ScreenScale = screenScale;
  v.FontScale = fontScale;
  v.Picture1 = Surface(CLng(642 * screenScale), CLng(482 * screenScale), vbBlack);
  v.Picture4 = Surface(CLng(660 * screenScale), CLng(480 * screenScale), vbBlack);
  v.Picture1.SetFontName("ＭＳ ゴシック");
  v.Picture1.SetFontSize(11 * fontScale * screenScale);
  v.Picture1.SetFontBold(true);
  v.Picture1.SetFontTransparent(true);
  InitSceneGeometry(s.Masses.DryMass, a.LaunchSpeed, a.EngineCount, v.Scene);
  v.ClipRatio1 = 0;
  v.ScreenshotFolder = screenshotFolder;
  v.ScreenshotCounter = NextFreeScreenshot(screenshotFolder, 0);
}

void ProjectShoreSegment(CockpitView& v, const flight::FlightState& s, double screenScale, int i,
                         double x1, double y1, double z1, double x2, double y2, double z2) {
  (void)screenScale;
  const double hs = std::sin(-s.Body.Heading), hc = std::cos(-s.Body.Heading);
  const double cp = s.Body.PitchCos, sp = s.Body.PitchSin;
  struct End {
    double x, y, z;
  };
  auto turn = [&](double px, double py, double pz) {
    const double dx = px - s.View.EyeX, dy = py - s.View.EyeY, dz = pz - s.View.EyeZ;
    const double x = dy * hs + dx * hc;
    const double y = dy * hc - dx * hs;
    return End{x, cp * y + sp * dz, cp * dz - sp * y};
  };
  End e1 = turn(x1, y1, z1), e2 = turn(x2, y2, z2);
  if (e1.y < e2.y) std::swap(e1, e2);
  // An end exactly at zero depth counts as just behind the eye.
  if (e1.y == 0) e1.y = -1e-9;
  if (e2.y == 0) e2.y = -1e-9;
  v.ClipRatio1 = e1.x / std::fabs(e1.y);
  v.ClipRatio2 = e2.x / std::fabs(e2.y);
  v.ClipSlopeX = (e1.x - e2.x + 0.01) / (e1.y - e2.y + 0.01);
  v.ClipOffsetX = e2.x - e2.y * v.ClipSlopeX;
  v.ClipSlopeZ = (e1.z - e2.z + 0.01) / (e1.y - e2.y + 0.01);
  v.ClipOffsetZ = e2.z - e2.y * v.ClipSlopeZ;
  auto toEdge = [&](End& e, double ratio) {
    const double den = 2 * Sgn(ratio) - v.ClipSlopeX;
    e.y = den == 0 ? 1.0 : std::fabs(v.ClipOffsetX / den);
    e.x = e.y * v.ClipSlopeX + v.ClipOffsetX;
    e.z = e.y * v.ClipSlopeZ + v.ClipOffsetZ;
  };
  if (std::fabs(v.ClipRatio1) < 1.5 && e1.y > 0 && std::fabs(v.ClipRatio2) < 1.5 && e2.y > 0) {
    // both ends in view
  } else if (std::fabs(v.ClipRatio1) < 2 && e1.y > 0) {
    toEdge(e2, v.ClipRatio2);
  } else if (v.ClipSlopeX == 0 || -v.ClipOffsetX / v.ClipSlopeX <= 0) {
    e1 = e2 = End{0, 1, 0};
  } else {
    toEdge(e1, v.ClipRatio1);
    toEdge(e2, v.ClipRatio2);
  }
  const double p = s.Pilot.PixelsPerRadian, c = s.Body.ViewRollCos, n = s.Body.ViewRollSin;
  auto screen = [&](const End& e, int32_t& sx, int32_t& sy) {
    const double az = AngleOf(e.x, e.y), el = AngleOf(e.z, e.y);
    sx = CLng(s.View.ViewCentreX + p * (az * c - el * n));
    sy = CLng(s.View.ViewCentreY - p * (el * c + az * n));
  };
  const auto k = static_cast<std::size_t>(i);
  screen(e1, v.Lines.X1[k], v.Lines.Y1[k]);
  screen(e2, v.Lines.X2[k], v.Lines.Y2[k]);
}

void UpdatePylonRace(CockpitView& v, const flight::FlightState& s,
                     const aircraft::AircraftData& a, double eyeHeight) {
  (void)a;
  const bool large = LargeRaceClass(s);
  const int lastPylon = large ? 8 : 6;
  const double lapMiles = large ? 9.187 : 3.108;
  const double raceMiles = large ? 55.122 : 18.648;
  auto& g = v.Scene;
  const auto next = static_cast<std::size_t>(std::clamp<int>(v.NextPylon, 0, 8));

  if (std::fabs(v.PylonAzimuth[next]) > 1.57) {
    if (next == 0 && std::fabs(std::cos(s.Body.TrackAngle)) > 0.9 && v.PylonCrossings < 9) {
      if (v.PylonCrossings < 7 && s.Body.GroundSpeed > 0) {
        const double t = s.Loop.FlightTime - (s.View.EyeY - g.SceneryY[kCourseFirst]) / s.Body.GroundSpeed /
                                            std::cos(s.Body.TrackAngle);
        const auto n = static_cast<std::size_t>(v.PylonCrossings);
        v.RaceTimes[n] = n == 0 ? t : t - v.RaceTimes[10];
        v.RaceTimes[10] = t;
        // Each crossing adds its line; the box shows the whole race.
        v.RaceText += Right("      " + Format(v.RaceTimes[n], "##0.00"), 7) + "Sec";
        if (n > 0)
          v.RaceText += Right("      " + Format(lapMiles / v.RaceTimes[n] * 3600, "##0.00"), 8) + "mph";
        v.RaceText += "\r\n";
        if (n == 6) {
          v.RaceTimes[10] = v.RaceTimes[10] - v.RaceTimes[0];
          v.RaceText += Right("      " + Format(v.RaceTimes[10], "##0.00"), 7) + "Sec" +
                        Right("      " + Format(raceMiles / v.RaceTimes[10] * 3600, "##0.00"), 8) +
                        "mph";
        }
      }
      v.PylonCrossings += 1;
    }
    v.NextPylon = static_cast<int16_t>(v.NextPylon + 1);
    if (v.NextPylon > lastPylon) v.NextPylon = 0;
  }

  const double q = Sgn(s.Body.PitchCos);
  const double p = s.Pilot.PixelsPerRadian;
  for (int k = v.NextPylon; k <= v.NextPylon + 2; ++k) {
    const auto pi = static_cast<std::size_t>(kCourseFirst + k);
    const auto ki = static_cast<std::size_t>(k);
    const double dx = g.SceneryX[pi] - s.View.EyeX, dy = g.SceneryY[pi] - s.View.EyeY;
    const double r = std::sqrt(dy * dy + dx * dx);
    if (r == 0) continue;  // right above the pylon: no bearing this frame
    double b = AngleOf(dx, dy);
    if (dy < 0) {
      b += kPi;
    } else if (dx < 0) {
      b += kFullTurn;
    }
    double rel = b - s.Air.HeadingValue;
    rel -= Int(rel / kPi / 2) * 2 * kPi;
    if (rel > kPi) rel -= kFullTurn;
    const double eB = std::atan((-s.Body.Altitude - eyeHeight) / r) - s.Body.PitchAngle;
    const double eT = std::atan((g.SceneryZ[pi] - s.Body.Altitude - eyeHeight) / r) - s.Body.PitchAngle;
    if (std::fabs(rel) < 1.5) {
      const double c = s.Body.ViewRollCos, n = s.Body.ViewRollSin;
      v.Lines.X1[pi] = CLng(s.View.ViewCentreX + q * p * (rel * c - eB * n));
      v.Lines.Y1[pi] = CLng(s.View.ViewCentreY + q * p * (-rel * n - eB * c));
      v.Lines.X2[pi] = CLng(s.View.ViewCentreX + q * p * (rel * c - eT * n));
      v.Lines.Y2[pi] = CLng(s.View.ViewCentreY + q * p * (-rel * n - eT * c));
    }
    v.PylonAzimuth[ki] = rel;
    // Capped so that the pen width stays a 16-bit value however close.
    v.PylonWidth[ki] = std::min(g.SceneryZ[pi] / 15 / r * p, 32000.0);
  }
}

int16_t ComputeViewShake(CockpitView& v, const flight::FlightState& s,
                         const aircraft::AircraftData& a) {
  if (v.FrameToggle == 1) {
    v.FrameToggle = 0;
  } else {
    v.FrameToggle = s.Loop.SpeedMode == 1 ? 1 : 0;
  }
  // The flight model's names: the ground run's support acceleration is the
  // take-off run value, the wing's stall ratio the buffet factor.
  const double groundRun = s.Air.SupportAccel;
  const double buffet = s.Wing.StallRatio;
  const double toggle = v.FrameToggle;
  if (aircraft::LaunchAtMost10(a.LaunchSpeed) && s.Body.CourseDistance < 0) return 0;
  if (groundRun > 0 && aircraft::LaunchAtLeast10(a.LaunchSpeed) && s.Body.GroundSpeed < 200 && s.Body.Altitude > 0) {
    return CInt(toggle * s.Body.GroundSpeed * v.ScreenScale / (s.Controls.LiftOffSpeed + 1) * 2.5 -
                std::fabs(s.Air.NormalLoad) * s.Air.NormalLoad / 400);
  }
  int32_t shake = CInt(toggle * std::fabs(s.Air.NormalLoad) * s.Air.NormalLoad / 1700);
  if (std::abs(shake) > 2) shake = 2 * Sgn(shake);
  if (buffet < 3) shake = CInt((buffet - 1) * toggle * s.Air.DynamicPressure / 200 + shake);
  if (std::abs(shake) > 4) shake = 4 * Sgn(shake);
  return static_cast<int16_t>(shake);
}

int DrawGunRounds(CockpitView& v, const flight::FlightState& s, const FrameInputs& in) {
  // The gun's marks in the flight state: the burst clock is TriggerTime,
  // the burst's step count StepsSinceTrigger, the hit clock LastHitTime; the
  // rounds are the state's gun group (a round's hit time is RoundHitTime).
  const double now = in.ClockSeconds;
  if (!flight::GunRoundsActive(s, in.RecordCount, now)) return 0;
  Surface& pic = v.Picture1;
  pic.SetFillColor(0x0080FF);
  const flight::GunState& r = s.Gun;
  int drawn = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(flight::kGunRounds); ++i) {
    const double speed =
        std::sqrt(r.RoundVelY[i] * r.RoundVelY[i] + r.RoundVelX[i] * r.RoundVelX[i] + r.RoundVelZ[i] * r.RoundVelZ[i]);
    if (!(speed < 100 || s.Loop.StepsSinceTrigger > 2 * static_cast<int>(i))) continue;
    if (r.RoundDistance[i] <= 4) continue;
    double radius;
    if (speed < 100) {
      const double age = now - r.RoundHitTime[i];
      const double r0 = 10 * age / (3 * std::pow(std::fabs(age), 3) + 1);
      radius = (r0 - 0.36) * s.Pilot.PixelsPerRadian * v.ScreenScale / (r.RoundDistance[i] + 1);
    } else {
      radius = v.ScreenScale * 150 / r.RoundDistance[i];
    }
    v.ShotRadius[i] = std::fabs(radius);
    // A shrunk (zero or negative) radius draws nothing.
    if (!(radius > 0.175)) continue;
    const double x = r.RoundScreenX[i], y = r.RoundScreenY[i];
    if (radius <= 0.35) {
      pic.PSet(x, y, Color{0x00FFFF});
    } else if (radius <= 0.7) {
      pic.PSet(x, y, Color{0x00FFFF});
      pic.PSet(x + 1, y, Color{0x00FFFF});
      pic.PSet(x, y + 1, Color{0x00FFFF});
      pic.PSet(x + 1, y + 1, Color{0x00FFFF});
    } else {
      pic.Circle(x, y, radius, Color{0x00FFFF});
    }
    ++drawn;
  }
  return drawn;
}

void DrawCockpitFrame(CockpitView& v, const flight::FlightState& s,
                      const aircraft::AircraftData& a, const FrameInputs& in, Surface& target) {
  const double sc = v.ScreenScale;
  Surface& pic = v.Picture1;
  const ViewGeometry geometry = ViewOf(s, sc);
  SetDeckCorners(s.Ground.PlatformOutlineX, s.Ground.PlatformOutlineY, v.Scene);

  // Sky, horizon and ground.
  HorizonInputs hi;
  hi.View = geometry;
  hi.Altitude = s.Body.Altitude;
  hi.LaunchSpeed = a.LaunchSpeed;
  hi.SurfaceColour = in.SurfaceColour;
  hi.WireframeView = in.WireframeView;
  hi.Sky = in.Sky;
  DrawHorizonAndGround(hi, v.Horizon, pic);

  // The sun, far along its direction.
  v.ViewDepression = -s.Body.PitchAngle;
  SetViewProjection(v, s);
  pic.SetFillColor(0x00FFFF);
  v.Projection.Work = {std::sin(v.Scene.SunAzimuth) * 9999999.0, std::cos(v.Scene.SunAzimuth) * 9999999.0,
                       std::tan(v.Scene.SunElevation) * 9999999.0};
  v.Projection.Project();
  pic.Circle(s.View.ViewCentreX + v.Projection.Result.ProjX, s.View.ViewCentreY + v.Projection.Result.ProjY,
             5 * sc, Color{0x00FFFF});

  // Ground lines (a pending screenshot is taken without them).
  if (v.ScreenshotRequest == 0) {
    GroundLineInputs gi;
    gi.View = geometry;
    gi.Altitude = s.Body.Altitude;
    gi.CourseDistance = s.Body.CourseDistance;
    gi.TrackOdometer = s.Loads.LowFlightDistance;  // distance flown below 213 m
    gi.EyeHeight = a.EyeHeight;
    gi.LaunchSpeed = a.LaunchSpeed;
    gi.HorizonRefX = v.Horizon.HorizonRefX;
    gi.HorizonRefY = v.Horizon.HorizonRefY;
    DrawGroundLines(gi, v.Lines, pic);
  }

  // Elapsed time.
  v.ElapsedTime = s.Loop.FlightTime - s.Ground.LaunchTime;
  v.ElapsedCaption = ElapsedTimeCaption(v.ElapsedTime);

  // Shore and pylon projection, above -10 m only.
  const bool pylons = in.ShowPylonOrHangMeter == 1 && aircraft::LaunchAbove10(a.LaunchSpeed);
  if (s.Body.Altitude > -10) {
    if (in.ShowObjects == 1) {
      const auto& g = v.Scene;
      for (std::size_t i = kShoreFirst; i <= kShoreLast; ++i) {
        ProjectShoreSegment(v, s, sc, static_cast<int>(i), g.SceneryX[i - 1], g.SceneryY[i - 1],
                            g.SceneryZ[i - 1], g.SceneryX[i], g.SceneryY[i], g.SceneryZ[i]);
      }
    }
    if (pylons) UpdatePylonRace(v, s, a, a.EyeHeight);
  }

  // Shore lines.
  const Color shore = in.WireframeView == 0 ? in.Sky->SkyColourTable[5] - 0x200020 : 0x88FF44;
  pic.SetForeColor(shore);
  if (in.WireframeView == 0) pic.SetFillColor(shore);
  if (in.ShowObjects != 0) {
    for (std::size_t i = kShoreFirst; i <= kShoreLast; ++i)
      pic.Line(v.Lines.X1[i], v.Lines.Y1[i], v.Lines.X2[i], v.Lines.Y2[i]);
  }

  // Pylons.
  if (pylons) {
    for (int k = v.NextPylon; k <= v.NextPylon + 2; ++k) {
      const auto ki = static_cast<std::size_t>(k);
      if (std::fabs(v.PylonAzimuth[ki]) < 0.7) {
        const auto e = static_cast<std::size_t>(kCourseFirst + k);
        pic.SetDrawWidth(CInt(v.PylonWidth[ki] + 1));
        pic.Line(v.Lines.X1[e], v.Lines.Y1[e], v.Lines.X2[e], v.Lines.Y2[e], Color{0xFFFFFF});
      }
    }
    pic.SetDrawWidth(1);
  }

  // Companion and scenery prism.
  {
    static const flight::CompanionData kNoCompanion;
    CompanionDrawSettings cs;
    cs.RecordCount = in.RecordCount;
    cs.ShowObjects = in.ShowObjects;
    cs.LaunchSpeed = a.LaunchSpeed;
    cs.TailplaneArea = a.TailplaneArea;
    cs.ViewCentreX = s.View.ViewCentreX;
    cs.ViewCentreY = s.View.ViewCentreY;
    cs.ScreenScale = sc;
    cs.ViewHeading = s.Body.Heading;
    cs.ViewDepression = v.ViewDepression;
    cs.Shading = v.Scene.Shading;
    DrawAircraftModel(in.Companion ? *in.Companion : kNoCompanion, cs, v.Scene.Prisms, *v.ModelScene,
                      v.Projection, *v.PolygonList, v.Readout, pic);
  }

  // Platform deck and lettering, ahead of an aircraft at its start (back
  // behind the line after a flight it is not on the deck's centre line).
  if (s.Body.Distance < 0 && !s.Ground.StartLeft) {
    DeckInputs di;
    di.View = geometry;
    di.LaunchHeight = a.LaunchHeight;
    di.LaunchSpeed = a.LaunchSpeed;
    di.Distance = s.Body.Distance;
    di.Altitude = s.Body.Altitude;
    di.EyeHeight = a.EyeHeight;
    di.ShowObjects = in.ShowObjects;
    DrawLaunchPlatform(di, v.Deck, pic);
  }

  // Rounds of the gun.
  DrawGunRounds(v, s, in);

  // Heat tint.
  if (s.Air.SkinTemperature > 700 && in.WireframeView == 0) {
    const int32_t w = CLng(660 * sc), h = CLng(480 * sc);
    v.Picture4.Line(0, 0, w, h, HeatTint(s.Air.SkinTemperature), LineBox::BF);
    BitBlt(pic, 0, 0, w, h, v.Picture4, 0, 0, SRCPAINT);
  }

  // Screenshot: the next free number, never over an existing file.
  if (v.ScreenshotRequest == 1) {
    const std::string path = SaveScreenshot(pic, v.ScreenshotFolder, v.ScreenshotCounter);
    if (!path.empty()) v.LastScreenshot = path;
  }
  v.ScreenshotRequest = 0;

  // The panel overlay and the head-up display.
  v.Hooks.DrawPanelMeters(pic);
  v.Hooks.DrawHeadUpDisplay(pic);

  // Shake.
  v.ViewShake = ComputeViewShake(v, s, a);

  // Status line.
  pic.SetFontSize(v.FontScale * 8);
  pic.SetFontBold(false);
  pic.SetForeColor(0x00FF00);
  pic.SetCurrentX(490 * sc);
  pic.SetCurrentY(3 * sc);
  v.StatusLine = Format(std::fabs(v.ElapsedTime), "000.0") + "Sec  " +
                 FrameRateText(flight::DrawnFramesPerSecond(s.Loop), s.Loop.FrameRate);
  pic.Print(v.StatusLine);
  pic.SetFontSize(v.FontScale * 11);
  pic.SetFontBold(true);

  // The form's drawing state, then the one copy.
  target.SetForeColor(0x000000);
  if (in.ShowVelocityVector != 0) target.SetFillStyle(vbFSTransparent);
  BitBlt(target, 0, v.ViewShake, CLng(660 * sc), CLng(485 * sc), pic, 0, 0, SRCCOPY);
}

}  // namespace zarv::view
