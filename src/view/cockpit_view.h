// One frame of the cockpit view: sky, sun, ground lines, shore and pylons of
// the race course, the companion and the scenery prism, the platform deck,
// the gun's rounds and the heat tint, composed off screen and copied onto
// the flight screen's surface in one block (shaken with the engine).
//
// Use (the flight screen):
//   CockpitView view;                         // one per flight screen
//   InitCockpitView(view, scale, fontScale, state, aircraft, programFolder);
//   view.Hooks.DrawPanelMeters = ...;         // the panel overlay, when built
//   view.Hooks.DrawHeadUpDisplay = ...;
//   each drawn frame (the flight loop's DrawFlightFrame seam, and the
//   redraw timer after the flight):
//     DrawCockpitFrame(view, state, aircraft, inputs, screenSurface);
//
// Order within the frame: horizon and ground, sun, ground lines (not while
// a screenshot is pending), elapsed time, shore and pylon projection and
// race timing, shore lines, pylons, companion and prism, platform deck,
// rounds, heat tint, screenshot, then Hooks.DrawPanelMeters and
// Hooks.DrawHeadUpDisplay on the view picture, the shake, the status line
// and the copy to the target.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/companion_record.h"
#include "flight/flight_state.h"
#include "flight/gun_rounds.h"
#include "platform/ui/surface.h"
#include "view/companion_draw.h"
#include "view/ground_lines.h"
#include "view/platform_deck.h"
#include "view/scenery.h"
#include "view/sky_ground.h"

namespace zarv::view {

// What the frame reads besides the flight state and the aircraft record:
// the screen-side options and the shared tables of other screens.
struct FrameInputs {
  const SkyTables* Sky = nullptr;  // required
  int16_t ShowObjects = 0;           // scenery lines, prism, deck lettering
  int16_t ShowPylonOrHangMeter = 0;  // pylons (powered aircraft)
  int16_t ShowVelocityVector = 0;
  int16_t WireframeView = 0;
  Color SurfaceColour = 0xBBAA22;  // below a light aircraft: SurfaceColourOf its record
  int32_t RecordCount = 0;         // the recorder's index
  // The clock of the flight state's gun marks (TriggerTime, LastHitTime) and
  // of the rounds' ShotTime, in seconds.
  double ClockSeconds = 0.0;
  const flight::CompanionData* Companion = nullptr;     // none: prism only
};

// The drawing of other parts of the view, called on the view picture in the
// frame's order (after the screenshot, before the shake and the copy).
struct FrameHooks {
  std::function<void(Surface& view)> DrawPanelMeters;
  std::function<void(Surface& view)> DrawHeadUpDisplay;
};

inline constexpr int kCourseSlots = 11;  // course indices 0..10 (next pylon + 2)

struct CockpitView {
  double ScreenScale = 1.0;
  double FontScale = 1.0;
  Surface Picture1;  // the view, 642 x 482 design pixels
  Surface Picture4;  // scratch for the heat tint, 660 x 480 design pixels
  SceneGeometry Scene;
  HorizonState Horizon;
  ScreenLines Lines;
  DeckState Deck;

  // Shore clipping values of the last projected segment.
  double ClipRatio1 = 0, ClipRatio2 = 0, ClipSlopeX = 0, ClipOffsetX = 0, ClipSlopeZ = 0,
         ClipOffsetZ = 0;

  // Race over the pylon course.
  int16_t NextPylon = 0;
  int32_t PylonCrossings = 0;
  std::array<double, 11> RaceTimes{};
  std::string RaceText;  // shown in the race timing box
  std::array<double, kCourseSlots> PylonAzimuth{}, PylonWidth{};

  std::array<double, flight::kGunRounds> ShotRadius{};
  int16_t FrameToggle = 0;
  int16_t ViewShake = 0;
  double ElapsedTime = 0.0;
  double ViewDepression = 0.0;
  std::string ElapsedCaption;  // the elapsed-time label
  std::string StatusLine;

  // Screenshots: the key sets the request; the next frame writes
  // camNNN.bmp into ScreenshotFolder (never over an existing file).
  int16_t ScreenshotRequest = 0;
  int32_t ScreenshotCounter = 0;
  std::string ScreenshotFolder;
  std::string LastScreenshot;  // path of the last file written ("" none)

  // The companion's drawing records (large: on the heap).
  std::unique_ptr<model::ModelScene> ModelScene = std::make_unique<model::ModelScene>();
  std::unique_ptr<model::PolygonList> PolygonList = std::make_unique<model::PolygonList>();
  model::ProjectionRecords Projection;
  CompanionReadout Readout;  // what the head-up display reads

  FrameHooks Hooks;
};

// The flight screen's load: sizes the pictures for the scale, fonts the
// view, fills the scene tables and starts the screenshot number at the
// lowest free one in screenshotFolder.
void InitCockpitView(CockpitView& view, double screenScale, double fontScale,
                     const flight::FlightState& s, const aircraft::AircraftData& a,
                     const std::string& screenshotFolder);

// One frame into view.Picture1 and then onto target at (0, ViewShake).
void DrawCockpitFrame(CockpitView& view, const flight::FlightState& s,
                      const aircraft::AircraftData& a, const FrameInputs& in, Surface& target);

// ---- pieces of the frame, for tests ----

// The view geometry of the flight state at a screen scale.
ViewGeometry ViewOf(const flight::FlightState& s, double screenScale);

// "経過時間 " caption of an elapsed time in seconds.
std::string ElapsedTimeCaption(double elapsed);

// Heat tint colour of a skin temperature (K); 0 at 700 K or less.
Color HeatTint(int16_t skinTemperature);

// Lowest n >= from with no "camNNN.bmp" in folder, and that file's name.
int32_t NextFreeScreenshot(const std::string& folder, int32_t from);
std::string ScreenshotName(int32_t n);
// Saves picture as the first camNNN.bmp in folder from counter on that does
// not exist yet, and moves counter past it: the cockpit view and the replay
// number their screenshots with one counter. The path, "" when not written.
std::string SaveScreenshot(const Surface& picture, const std::string& folder, int32_t& counter);

// The shore segment from world point p1 to p2 projected into entry i.
void ProjectShoreSegment(CockpitView& view, const flight::FlightState& s, double screenScale,
                         int i, double x1, double y1, double z1, double x2, double y2, double z2);

// Race timing and the projection of the next three pylons (powered aircraft).
void UpdatePylonRace(CockpitView& view, const flight::FlightState& s,
                     const aircraft::AircraftData& a, double eyeHeight);

// The view's vertical shake for this frame (updates FrameToggle).
int16_t ComputeViewShake(CockpitView& view, const flight::FlightState& s,
                         const aircraft::AircraftData& a);

// Draws the gun's rounds (when a burst or a hit is recent).
int DrawGunRounds(CockpitView& view, const flight::FlightState& s, const FrameInputs& in);

}  // namespace zarv::view
