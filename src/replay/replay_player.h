// The replay's player: a recorded flight shown from a ground camera. This is
// the plain part of the replay screen (no forms): the opening, one frame's
// steps (frame rate, advance, sample lookup, sound levels, camera, readouts,
// background, model, shadow, ground line, poles, trail, zoom) and the
// playback commands. The screen (replay_form.h) runs the frames in its loop
// and turns keys, buttons and clicks into the commands below.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "model/polygon_list.h"
#include "model/polygon_shade.h"
#include "model/rotation.h"
#include "platform/ui/gdi.h"
#include "platform/ui/surface.h"
#include "view/scenery.h"

namespace zarv::replay {

// The fixed world points the cockpit view keeps (metres: X east, Y north,
// Z up): 0..25 the closed shore outline through the platform corners 1..4,
// 29..37 the feet and top heights of the marker poles; and its prisms.
struct ReplayScenery {
  static constexpr int kPoints = 40;
  std::array<double, kPoints> X{}, Y{}, Z{};
  model::SceneryPrismSet Prisms;
};
static_assert(ReplayScenery::kPoints == view::kSceneryPoints);

// The cockpit view's scene as the replay keeps it, the deck's corners
// turned with the flight's platform outline.
ReplayScenery SceneryOf(view::SceneGeometry scene, const flight::GroundState& ground);

// What the replay reads of the aircraft and its flight set-up.
struct ReplayAircraft {
  double LaunchSpeed = 1.0;        // m/s; above 10 a powered aircraft
  double LaunchHeight = 0.0;       // m
  double LaunchHeading = 0.0;      // rad
  double SurfaceTemperature = 0.0; // deg C
  double OverallLength = 0.0;      // m
  double WingSpan = 0.0;           // m
  double TailplaneArea = 0.0;      // m2, 0 = none
  double FinHalfSpacing = 0.0;     // m
  double FinTilt = 0.0;            // rad
  double TailEndHeight = 0.0;      // m above the body bottom
  double FuelCapacity = 0.0;       // kg
  double BodyHeight = 0.0;         // m (flight set-up)
  double TailEndArm = 0.0;         // m (flight set-up)
  double RestingHeight = 0.1;      // m (flight set-up)
  aircraft::EngineKind EngineType = aircraft::EngineKind::None;
  double EngineRating = 0.0;

  bool Powered() const { return aircraft::LaunchAbove10(LaunchSpeed); }
  static ReplayAircraft From(const aircraft::AircraftData& a, const flight::FlightState& s);
};

// How the frame picture maps to the screen.
struct ReplayGeometry {
  double ScreenScale = 1.0;     // 1.0, 1.25, 1.6
  int32_t ViewCentreX = 320;    // pixels
  double PixelsPerRadian = 573;
  static ReplayGeometry ForScale(double screenScale);
  int FrameWidth() const;   // 660 x scale
  int FrameHeight() const;  // 480 x scale
  double CentreY() const { return 240 * ScreenScale; }
};

// Sounds of the replay. Empty hooks are skipped: the probe's pictures are
// silent by design. The flight screen fills all three, checked when it has
// set itself up.
struct ReplaySounds {
  int16_t SoundOn = 0;
  std::string LoopSound, LaunchSound, BurnSound;  // wind (looped), launch, flight sound
  int32_t BaseWaveVolume = 0;
  int32_t CompanionSampleCount = 0;
  std::function<void(uint32_t)> SetWaveVolume;  // left low 16 bits, right high
  std::function<void(const std::string&, unsigned)> PlaySound;
  std::function<void()> PlayTransition;  // the short synchronous click
};

// Every value the replay keeps while it runs, grouped by concern.
struct ReplayState {
  // Playback.
  double Position = 0.0;   // samples, fractional; 0 or less ends the loop
  double Speed = 0.0;      // x real time: 0, 1, +-8, +-80
  int16_t Fps = 0;         // measured over five frames; 0 until then
  uint64_t FpsMarkTime = 0;  // ms
  uint64_t OpenTimeMs = 0;   // the monotonic clock when the replay opened
  uint64_t UiDeadlineMs = 0; // pop-up and fast-forward debounce

  // Camera (settings lines 31..33) and zoom (23, 26..28).
  double CameraX = 0.0, CameraY = 0.0;
  int16_t CameraHeightIndex = 0;
  double CameraHeight = 1.0;
  int16_t ZoomIndex = 0;
  double AutoZoomOffset = 0.0;
  bool ManualZoom = false;
  bool VortexLines = false;
  int16_t WireframeBackground = 0;
  std::string CameraHeightCaption;

  // View of the current frame.
  double ViewHeading = 0.0, ViewDepression = 0.0;
  double CameraDistance = 0.0;
  int32_t HorizonScreenY = 0;
  double ViewZoom = 1.0;

  // Drawn sample.
  int32_t Sample = 1;
  double DrawHeading = 0.0, DrawBank = 0.0, DrawPitch = 0.0, DrawAirspeed = 0.0;
  double InnerWingRise = 0.0, OuterWingRise = 0.0, TipRise = 0.0;
  double AirTemperature = 288.0;  // K, of the drawn sample's height
  double MachNumber = 0.0;

  // Readouts: Labels[1..19] hold the captions of Label1..Label19.
  std::array<std::string, 20> Labels{};
  int16_t ReadoutCycle = 0;
  bool ReadoutBarVisible = false;

  // Sound marks.
  int16_t SoundRefresh = 0;
  int16_t FlightSoundStarted = 0;

  // A screenshot of the next frame asked for (1).
  int16_t ScreenshotRequest = 0;

  // The heading of the flight, given back when the replay ends.
  double SavedHeading = 0.0;
  std::string Summary;  // the menu bar's summary line

  void Reset() { *this = ReplayState{}; }
};

// Marker-pole values kept from the far pass to the near pass of a frame.
struct PoleView {
  int32_t FootX = 0, FootY = 0, TopX = 0, TopY = 0;
  double Distance = 0.0, Azimuth = 0.0, Elevation = 0.0;
};

class ReplayPlayer {
 public:
  ReplayPlayer(flight::FlightRecord& record, const model::AirframeOutline& outline,
               flight::FlightState& flight, const ReplayAircraft& aircraft,
               const ReplayScenery& scenery, const ReplayGeometry& geometry);

  // The opening: keeps the flight's heading, makes a record of at least 3
  // samples, places the default camera when none is set, turns the platform
  // to the recorded heading and sets the start values (paused on sample 1).
  void Open(uint64_t nowMs);
  // The end of the replay, once: the flight gets back its heading, step
  // counter, frame-rate figure, skin temperature and drift angle, and its
  // once-a-second count starts afresh at nowMs. The replay's frames use
  // these for their own ends; a flight that goes on must not inherit them.
  void Close(uint64_t nowMs);

  // One frame into `picture` (660 x 480 x scale); `background` is the sky
  // bitmap, or nullptr for a plain one. nowMs is the end of the frame's wait.
  void DrawFrame(uint64_t nowMs, Surface& picture, const Surface* background);

  // Steps of the frame, public for the tests.
  void MeasureFrameRate(uint64_t nowMs);
  void Advance();
  void LookupSample();
  void SoundStep();
  void CameraStep();
  void Readouts();
  void Background(Surface& picture, const Surface* background);
  void PlaceModel();
  void Shadow(Surface& picture);
  void GroundLine(Surface& picture);
  void PolesFar(Surface& picture);
  void TrailPoints();
  void PrismCorners();
  void PaintModel(Surface& picture);
  void PolesNear(Surface& picture);
  void ZoomStep(uint64_t nowMs);

  // Camera height from the index (clamped into this class's table) and
  // its caption.
  void SetCameraHeight();
  // The default camera: 9 m from the origin, 0.3 rad left of the launch
  // heading, at about the launch height.
  void ResetCamera();

  // Playback commands (the buttons and keys).
  void Play();
  // Fast forward (+1) or rewind (-1); ignored within the debounce time.
  void FastWind(int sign, uint64_t nowMs);
  void StepForward();
  void StepBack();
  // Camera height up (+1) or down (-1).
  void ChangeCameraHeight(int step);
  // Page Up (+1) or Down (-1): manual zoom step or automatic offset.
  void ChangeZoom(int step);
  // A left click on the view: on or above the horizon resets the camera,
  // below it moves the camera to the pointed ground point.
  void ClickView(double x, double y);

  // Record access, every index held inside the record's samples.
  int32_t LastSample() const;  // N - 1
  int32_t Clamp(int64_t index) const;
  const flight::FlightSample& At(int64_t index) const;

  ReplayState State;
  ReplaySounds Sounds;
  ReplayScenery Scenery;  // the platform corners turned to the recorded heading
  model::ShadingInputs Shading;
  std::array<PoleView, 9> Poles{};
  // Shadow screen polygons of this frame, 0..5, and their point counts.
  std::array<std::array<PointI, 19>, 6> ShadowPoints{};
  std::array<int, 6> ShadowCounts{};
  int32_t PolygonsPainted = 0;

  flight::FlightRecord& Record;
  const model::AirframeOutline& Outline;
  flight::FlightState& Flight;
  ReplayAircraft Aircraft;
  ReplayGeometry Geometry;

 private:
  double RecordedHeading() const;  // nose heading of sample 5, rad

  // What the flight had before the replay borrowed it.
  struct FlightValues {
    int16_t StepCounter = 0;
    double FrameRate = 0.0;
    int16_t SkinTemperature = 0;
    double DriftAngle = 0.0;
  };
  FlightValues kept_;
  bool open_ = false;
};

// Camera-height table (m) of the aircraft class; the index is clamped.
double CameraHeightFor(bool powered, int index);
int CameraHeightRows(bool powered);
// The default camera height index from the launch height.
int16_t DefaultCameraIndex(bool powered, double launchHeight);

// The shadow's colour at height z (m): black on the water, lighter up to
// 10 m; black outlines over the wireframe background.
Color ShadowColour(double z, bool wireframe);

// Sample index of a fractional position: nearest, halves to even.
int32_t Whole(double x);

}  // namespace zarv::replay
