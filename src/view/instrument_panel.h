// The instrument panel of the flight screen: its face composed once at load,
// its dials, readouts, lamps and listing pages refreshed by the flight loop
// on every second drawn frame, and its overlay on the cockpit view.
//
// The drawing only reads the flight state: the panel's share of the flight
// model (fuel burn, Mach factors, engine shake) is run by the flight loop
// itself (flight/fuel.h). The panel keeps its own phase counter, stepped in
// the same way, so that one panel update draws the phase the physics runs
// right after it.
//
// Layout: every position is designed for a 640 x 480 screen and multiplied
// by the screen scale S (1.0, 1.25, 1.6); terms written "px" stay unscaled.
//
// Usage:
//   PanelView view;  PanelSurfaces surfaces;
//   ComposePanelFace(...); LoadPanelMask(...); DrawSpeedTape(...); MakeBallImage(...)
//   per panel update: DrawInstrumentPanel(view, state, aircraft, options, surfaces)
//   per frame:        DrawPanelMeters(view, state, aircraft, options, surfaces, frame)
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "platform/ui/surface.h"

namespace zarv::view {

// The panel's pictures.
struct PanelSurfaces {
  Surface Face{1, 1, vbBlack};       // the panel face; clean dial faces at x >= 540 S
  Surface Mask{1, 1, vbWhite};       // the panel's silhouette, black on white
  Surface SpeedTape{30, 160, vbWhite};  // hang-glider meter scale
  Surface Ball{12, 12, vbBlack};     // balance ball
  Surface Trace{200, 160, vbBlack};  // trace plots (pixels of its own)
};

// The three small pages of flight data and the diagnostics box.
struct FlightDataPages {
  std::array<std::string, 10> Page1;
  std::array<std::string, 9> Page2;
  std::array<std::string, 8> Page3;
  std::string Diagnostics;
  bool Page1Visible = false;  // the data box option
  bool Page2Visible = false;  // by the display mode
  bool Page3Visible = false;
};

// The screen-side values and hooks the panel reads, set by the flight screen
// at load; a headless picture fills the hooks with ones that do nothing.
// ReadWaveVolume (developer mode only) may stay empty.
struct PanelScreen {
  double FontScale = 1.0;
  int16_t ScreenSizeChoice = 0;    // 0, 1, 2: 640, 800, 1024 wide
  std::string ProgramFolder;       // Temp/ lies below it
  bool DeveloperMode = false;
  int16_t ScreenMode = 0;          // 3: an aircraft swap waits
  int16_t ShowInstrumentPanel = 1;
  int16_t ShowPylonOrHangMeter = 0;
  int32_t PanelTop = 0;            // y of the overlay in the view picture
  const flight::FlightRecord* Record = nullptr;  // load factors for the HUD
  std::function<void()> ReadDisplayOptions;
  std::function<void()> RequestAircraftSwap;
  std::function<void()> CloseReplay;
  std::function<uint32_t()> ReadWaveVolume;  // developer mode: the screen keeps what it reads
};

// What the panel keeps from call to call for one flight. Reset() restores
// the load-time values.
struct PanelView {
  PanelScreen Screen;
  FlightDataPages Pages;
  std::string FrameRateText;       // caption of the frame-rate label

  int16_t Phase = 0;               // panel updates since the last phase 4
  std::array<double, 4> AltimeterHand{};  // long dx, dy, short dx, dy (design px)
  std::array<double, 5> ShaftPowerHistory{};
  double ShaftPowerAverage = 0;
  Color GearLampColour = 0;
  int16_t BallOffset = 0;
  bool HangMeterShown = false;    // the hang meter was drawn on the last frame

  // Texts and values the panel leaves for the head-up display.
  std::string HudHeadingText, HudSpeedText, HudAltitudeText, HudAlphaText, HudLoadText;
  double MuzzleSpeed = 0;
  double LoadSum = 0;
  double HomeBearing = 0;          // rad, 0..2 pi

  void Reset() { *this = PanelView{}; }
};

// The panel variant: an engine of 9000 W or N and more, else light (launch
// speed <= 10 m/s) or powered light.
enum class PanelVariant { Engine, Light, PoweredLight };
PanelVariant VariantOf(const flight::FlightState& s, const aircraft::AircraftData& a);

// ---- set-up at the flight screen's load ----
// The face: the cached background Temp/Panel<n>.bmp plus the aircraft's dial
// scales, captions, readout windows and cover, then the clean dial atlas.
// False when the background cannot be read (the rest is drawn on black).
bool ComposePanelFace(PanelSurfaces& p, const PanelScreen& screen, const flight::FlightState& s,
                      const aircraft::AircraftData& a, double scale);
// The mask Temp/Mask<n>.bmp, 650 S x 220 S. False when it cannot be read.
bool LoadPanelMask(PanelSurfaces& p, const PanelScreen& screen, double scale);
// The hang-glider meter's km/h tape, 30 x 160 px at every size.
void DrawSpeedTape(Surface& tape, double fontScale);
// A 12 x 12 ball on black.
void MakeBallImage(Surface& ball);

// ---- one panel update (every second drawn frame) ----
void DrawInstrumentPanel(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData& a,
                         const flight::FlightOptions& o, PanelSurfaces& p);

// ---- per frame: the panel over the view, the hang meter, the mark tracks ----
// `frameToggle` is the cockpit view's (CockpitView::FrameToggle): the hang
// meter sets it, and the view's shake turns it over again after this.
void DrawPanelMeters(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData& a,
                     const flight::FlightOptions& o, PanelSurfaces& p, Surface& frame, int16_t& frameToggle);

// The status lamps (also called by DrawInstrumentPanel).
void DrawStatusLamps(PanelView& v, const flight::FlightState& s, double scale, Surface& face);

// ---- pieces, exposed for the tests ----
// Needle offsets (design px) of the engine dials for angle theta clockwise
// from straight down.
struct NeedleOffset {
  double dx = 0, dy = 0;
};
NeedleOffset AirspeedLongHand(PanelVariant variant, double ias);
// The airspeed dial's unit caption on the face, at (X, Y) design px in font
// size FontSize: the unit of the scale the needle takes (VariantOf).
struct SpeedUnitCaption {
  const char* Text;
  double X, Y, FontSize;
};
SpeedUnitCaption AirspeedUnit(const flight::FlightState& s, const aircraft::AircraftData& a);
double TachometerAngle(const flight::FlightState& s, double spool);
double ManifoldAngle(const flight::FlightState& s);
double ShaftPowerSample(const flight::FlightState& s, const aircraft::AircraftData& a);
// Fuel flow as the readouts show it: never negative, 0 without a rated flow.
double ShownFuelFlow(const flight::FlightState& s);

}  // namespace zarv::view
