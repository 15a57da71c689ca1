#include "replay/replay_player.h"

#include <algorithm>
#include <cmath>

#include "flight/launch_run.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/sound_flags.h"
#include "platform/runtime/text.h"

namespace zarv::replay {

using aircraft::LaunchAbove10;

namespace {

constexpr std::array<double, 10> kLightHeights{1, 2, 4, 6, 8, 11, 15, 20, 30, 60};
constexpr std::array<double, 14> kPoweredHeights{1,    5,    15,    500,   1500,  3000,  4500,
                                                 6000, 9000, 12000, 15000, 20000, 25000, 30000};

}  // namespace

int32_t Whole(double x) { return CLng(x); }

int CameraHeightRows(bool powered) {
  return powered ? static_cast<int>(kPoweredHeights.size()) : static_cast<int>(kLightHeights.size());
}

double CameraHeightFor(bool powered, int index) {
  const int i = std::clamp(index, 0, CameraHeightRows(powered) - 1);
  return powered ? kPoweredHeights[static_cast<std::size_t>(i)]
                 : kLightHeights[static_cast<std::size_t>(i)];
}

int16_t DefaultCameraIndex(bool powered, double h) {
  if (powered) {
    if (h < 3) return 0;
    if (h < 10) return 1;
    if (h < 250) return 2;
    return 3;
  }
  constexpr std::array<double, 9> bounds{1.5, 3, 5, 7, 9.5, 13, 17.5, 25, 45};
  int16_t i = 0;
  while (i < 9 && h >= bounds[static_cast<std::size_t>(i)]) ++i;
  return i;
}

ReplayAircraft ReplayAircraft::From(const aircraft::AircraftData& a, const flight::FlightState& s) {
  ReplayAircraft r;
  r.LaunchSpeed = a.LaunchSpeed;
  r.LaunchHeight = a.LaunchHeight;
  r.LaunchHeading = a.LaunchHeading;
  r.SurfaceTemperature = a.SurfaceTemperature;
  r.OverallLength = a.OverallLength;
  r.WingSpan = a.WingSpan;
  r.TailplaneArea = a.TailplaneArea;
  r.FinHalfSpacing = a.FinHalfSpacing;
  r.FinTilt = a.FinTilt;
  r.TailEndHeight = a.TailEndHeight;
  r.FuelCapacity = a.FuelCapacity;
  r.BodyHeight = s.Setup.BodyHeight;
  r.TailEndArm = s.Setup.TailEndArm;
  r.RestingHeight = s.Setup.GearHeight;
  r.EngineType = s.Engine.EngineType;
  r.EngineRating = s.Engine.EngineRating;
  return r;
}

ReplayGeometry ReplayGeometry::ForScale(double screenScale) {
  ReplayGeometry g;
  g.ScreenScale = screenScale;
  g.ViewCentreX = CLng(320 * screenScale);
  g.PixelsPerRadian = 573 * screenScale;
  return g;
}

int ReplayGeometry::FrameWidth() const { return CLng(660 * ScreenScale); }
int ReplayGeometry::FrameHeight() const { return CLng(480 * ScreenScale); }

ReplayPlayer::ReplayPlayer(flight::FlightRecord& record, const model::AirframeOutline& outline,
                           flight::FlightState& flight, const ReplayAircraft& aircraft,
                           const ReplayScenery& scenery, const ReplayGeometry& geometry)
    : Scenery(scenery),
      Record(record),
      Outline(outline),
      Flight(flight),
      Aircraft(aircraft),
      Geometry(geometry) {
  Shading.SetSun(180 / kDegreesPerRadian, 70 / kDegreesPerRadian);
}

// ------------------------------------------------------------ record access

int32_t ReplayPlayer::LastSample() const {
  const auto capacity = static_cast<int64_t>(Record.Samples.size());
  const int64_t n = CLng(Record.RecordSampleCount);
  return static_cast<int32_t>(std::clamp<int64_t>(n - 1, 0, std::max<int64_t>(capacity - 1, 0)));
}

int32_t ReplayPlayer::Clamp(int64_t index) const {
  return static_cast<int32_t>(std::clamp<int64_t>(index, 0, LastSample()));
}

const flight::FlightSample& ReplayPlayer::At(int64_t index) const {
  return Record.Samples[static_cast<std::size_t>(Clamp(index))];
}

double ReplayPlayer::RecordedHeading() const { return At(5).HeadingDeg / kDegreesPerRadian; }

// ---------------------------------------------------------------- opening

void ReplayPlayer::ResetCamera() {
  const double a = RecordedHeading() - 0.3;
  State.CameraX = 9.0 * std::sin(a);
  State.CameraY = 9.0 * std::cos(a);
  State.CameraHeightIndex = DefaultCameraIndex(Aircraft.Powered(), Aircraft.LaunchHeight);
  SetCameraHeight();
}

void ReplayPlayer::Open(uint64_t nowMs) {
  ReplayState& st = State;
  st.SavedHeading = Flight.Body.Heading;
  kept_ = {Flight.Loop.StepCounter, Flight.Loop.FrameRate, Flight.Air.SkinTemperature, Flight.Air.DriftAngle};
  open_ = true;
  st.OpenTimeMs = nowMs;
  if (Record.RecordSampleCount < 3) {
    st.Summary.clear();
    Record.RecordSampleCount = 3.0;
  }
  // The sample after the last one shown lies on the water; a count beyond
  // the record's capacity is cut to it.
  const auto capacity = static_cast<double>(Record.Samples.size());
  if (Record.RecordSampleCount > capacity - 1) Record.RecordSampleCount = capacity - 1;
  const bool unset = std::abs(st.CameraX) < 1 && std::abs(st.CameraY) < 1 && st.CameraHeightIndex == 0;
  if (unset) ResetCamera();
  SetCameraHeight();

  const double h = RecordedHeading();
  Flight.Body.Heading = h;
  const int32_t n = CLng(Record.RecordSampleCount);
  if (n >= 0 && n < static_cast<int64_t>(Record.Samples.size())) {
    Record.Row(n).Height = 0.0;
  }

  // The platform deck, 10 m by 10 m, along the recorded heading.
  std::array<double, 5> east{}, north{};
  flight::DeckOutline(h, east, north);
  for (std::size_t i = 1; i <= 4; ++i) {
    Scenery.X[i] = east[i];
    Scenery.Y[i] = north[i];
  }

  st.ViewZoom = 1.0;
  st.Speed = 0.0;
  st.FpsMarkTime = nowMs;
  Flight.Loop.PassesThisSecond = 0;
  st.Fps = 0;
  st.Position = 1.0;
  if (Aircraft.Powered()) {
    st.Labels[11] = "GH " + Format(0, "#0.00") + "G";
    st.Labels[12] = "GV " + Format(0, "#0.0") + "G";
  } else {
    st.Labels[11] = "Acc " + Format(0, "###0") + "gal";
    st.Labels[12] = "G " + Format(0, "0.000") + "G";
  }
  st.SoundRefresh = 0;
  st.FlightSoundStarted = 0;
}

void ReplayPlayer::Close(uint64_t nowMs) {
  if (!open_) return;
  open_ = false;
  Flight.Body.Heading = State.SavedHeading;
  flight::LoopTiming& loop = Flight.Loop;
  loop.StepCounter = kept_.StepCounter;
  loop.FrameRate = kept_.FrameRate;
  Flight.Air.SkinTemperature = kept_.SkinTemperature;
  Flight.Air.DriftAngle = kept_.DriftAngle;
  // The replay added its waits up without end and left its own frame marks:
  // the flight's next once-a-second figure counts from here.
  loop.TimeMark = static_cast<int64_t>(nowMs);
  loop.PassesThisSecond = 0;
  loop.WaitMs = loop.BusyMs = 0;
  loop.LastTick = loop.NextFrameTime = nowMs;
}

// ------------------------------------------------------------ the frame

void ReplayPlayer::DrawFrame(uint64_t nowMs, Surface& picture, const Surface* background) {
  MeasureFrameRate(nowMs);
  Advance();
  LookupSample();
  SoundStep();
  CameraStep();
  Readouts();
  Background(picture, background);
  if (State.Position >= 1) {
    PlaceModel();
    Shadow(picture);
    GroundLine(picture);
    PolesFar(picture);
  }
  TrailPoints();
  PrismCorners();
  PaintModel(picture);
  if (State.Position >= 1) PolesNear(picture);
  ZoomStep(nowMs);
}

void ReplayPlayer::MeasureFrameRate(uint64_t nowMs) {
  flight::LoopTiming& loop = Flight.Loop;
  loop.NextFrameTime = nowMs;
  if (loop.StepCounter < 5) return;
  // A window of no time measures nothing; the next frame tries again.
  if (nowMs <= State.FpsMarkTime) return;
  loop.StepCounter = 0;
  const double window = static_cast<double>(nowMs - State.FpsMarkTime);
  State.Fps = CheckedTruncate<int16_t>(5000 / window + 0.5, true);
  State.FpsMarkTime = nowMs;
  if (State.Fps < 1) State.Fps = 1;
  const double x = 1000.0 / State.Fps - static_cast<double>(loop.WaitMs);
  if (x != 0) loop.FrameRate = 1000 / x / 24;
}

void ReplayPlayer::Advance() {
  // Until the first measurement the nominal 20 frames per second stand in.
  const double fps = State.Fps > 0 ? State.Fps : 20;
  State.Position = State.Position + State.Speed * 20 / (fps + 0.0001);
  const double last = Record.RecordSampleCount - 1;
  if (State.Position > last) {
    State.Position = last;
    State.Speed = 0;
  }
  if (State.Position < 1) {
    State.Position = 1;
    State.Speed = 0;
  }
  if (Flight.Loop.StepCounter < 32000) ++Flight.Loop.StepCounter;
  Flight.Loop.TimeMark = 20;
}

void ReplayPlayer::LookupSample() {
  ReplayState& st = State;
  st.Sample = Clamp(Whole(st.Position));
  const flight::FlightSample& s = At(st.Sample);
  model::ModelScene& sc = model::Scene();
  sc.ModelPosX = s.East;
  sc.ModelPosY = s.North;
  st.CameraDistance = std::sqrt((sc.ModelPosY - st.CameraY) * (sc.ModelPosY - st.CameraY) +
                                (sc.ModelPosX - st.CameraX) * (sc.ModelPosX - st.CameraX));
  sc.ModelPosZ = s.Height;
  st.DrawHeading = s.HeadingDeg / kDegreesPerRadian;
  st.DrawBank = s.Bank / kDegreesPerRadian;
  st.DrawPitch = s.Pitch / kDegreesPerRadian;
  st.DrawAirspeed = s.Airspeed;
  const auto& wx = Outline.WingX;
  st.InnerWingRise = std::sin(s.InnerWingDeflection / kDegreesPerRadian) * (wx(3, 0) - wx(2, 0));
  st.OuterWingRise = st.InnerWingRise + std::sin(s.OuterWingDeflection / kDegreesPerRadian) * (wx(5, 0) - wx(4, 0));
  st.TipRise = st.OuterWingRise + std::sin(s.WingTipDeflection / kDegreesPerRadian) * (wx(7, 0) - wx(6, 0));
  sc.AfterburnerGlow = s.AfterburnerOpening / 100.0;
  Flight.Air.SkinTemperature = s.AirframeTemperature;
  Shading.SkinTemperature = s.AirframeTemperature;
}

void ReplayPlayer::SoundStep() {
  ReplaySounds& snd = Sounds;
  if (snd.SoundOn != 1) return;
  ReplayState& st = State;
  const flight::FlightSample& s = At(st.Sample);
  const double base = snd.BaseWaveVolume;
  int64_t left = 1, right = 1;
  if (st.Speed == 1) {
    double x = s.Track / kDegreesPerRadian - st.ViewHeading;
    if (x < 0) {
      x = x + kFullTurn;
    } else if (x > kFullTurn) {
      x = x - kFullTurn;
    }
    const double p = 0.9 * std::sin(2 * x);
    const double d = st.CameraDistance;
    if (Aircraft.EngineRating >= 9000) {
      const double r = d < 300 ? 300 : d;
      const double k = std::sqrt(Aircraft.EngineRating) * 200 / (r * r);
      right = CLng(std::sqrt(k * (1 + p)) * s.WindNoiseVolume * base);
      left = CLng(std::sqrt(k * (1 - p)) * s.WindNoiseVolume * base);
      const int64_t cap = CLng(1.5 * base);
      right = std::min(right, cap);
      left = std::min(left, cap);
    } else {
      const double b = (s.HeadingDeg + 90) / kDegreesPerRadian;
      const double px = s.East + 20 * std::sin(b), py = s.North + 20 * std::cos(b);
      const double d1 = std::hypot(px - st.CameraX, py - st.CameraY);
      const double sp = (d1 + d + 20) / 2;
      const double q = sp * (sp - d1) * (sp - 20) * (sp - d);
      const double area = q > 0 ? std::sqrt(q) : 0;
      double r = 2 * area / 20;
      if (d > 10) r = d - 10;
      if (r < 2) r = 2;
      right = CLng(std::sqrt((1 + p) * 20 / (r * r)) * s.WindNoiseVolume * base);
      left = CLng(std::sqrt((1 - p) * 20 / (r * r)) * s.WindNoiseVolume * base);
      const int64_t cap = CLng(0.8 * base);
      right = std::min(right, cap);
      left = std::min(left, cap);
    }
  }
  left = std::clamp<int64_t>(left, 0, 65535);
  right = std::clamp<int64_t>(right, 0, 65535);
  if (snd.SetWaveVolume) snd.SetWaveVolume(static_cast<uint32_t>(left) | (static_cast<uint32_t>(right) << 16));

  // The last launch mark and flight-sound mark not after the position.
  int i = std::max(0, static_cast<int>(CLng(Record.LaunchMarkTenths / 10.0)));
  i = std::min(i, flight::kMarkCount - 1);
  while (i >= 1 && Record.LaunchMarkSamples[static_cast<std::size_t>(i)] > st.Position) --i;
  int j = std::clamp<int>(Record.SoundStartCount, 0, flight::kMarkCount - 1);
  while (j >= 1 && Record.SoundStartSamples[static_cast<std::size_t>(j)] > st.Position) --j;
  const double L = Record.LaunchMarkSamples[static_cast<std::size_t>(i)];
  const double F = Record.SoundStartSamples[static_cast<std::size_t>(j)];
  auto play = [&](const std::string& file, unsigned flags) {
    if (snd.PlaySound) snd.PlaySound(file, flags);
  };
  if (L < st.Position && st.Position < L + 7 && st.SoundRefresh == 0 && st.Position > 20) {
    st.SoundRefresh = 1;
    play(snd.LaunchSound, SND_ASYNC);
  }
  if (F < st.Position && st.Position < F + 7 && st.FlightSoundStarted == 0 && snd.CompanionSampleCount > 0) {
    st.FlightSoundStarted = 1;
    play(snd.BurnSound, SND_ASYNC);
  }
  if (st.FlightSoundStarted == 0) {
    if (L + 7 < st.Position && st.SoundRefresh == 1) {
      st.SoundRefresh = 0;
      play(snd.LoopSound, SND_ASYNC | SND_LOOP);
    }
  } else if (F + 7 < st.Position) {
    st.SoundRefresh = 0;
    st.FlightSoundStarted = 0;
    play(snd.LoopSound, SND_ASYNC | SND_LOOP);
  }
}

// ------------------------------------------------------------- commands

void ReplayPlayer::Play() {
  if (State.Position <= 0) return;
  State.Speed = 1;
  if (Sounds.SoundOn == 1 && Sounds.PlaySound) Sounds.PlaySound(Sounds.LoopSound, SND_ASYNC | SND_LOOP);
}

void ReplayPlayer::FastWind(int sign, uint64_t nowMs) {
  if (!(State.UiDeadlineMs < nowMs)) return;
  const double fast = 8.0 * sign;
  if (State.Position > 0 && State.Speed != fast) {
    State.Speed = fast;
    if (Sounds.PlayTransition) Sounds.PlayTransition();
  } else if (State.Position > 0 && Record.RecordSampleCount > 300) {
    State.Speed = 80.0 * sign;
  }
  State.UiDeadlineMs = nowMs + 100;
}

void ReplayPlayer::StepForward() {
  if (State.Position <= 0) return;
  State.Speed = 0;
  State.Position = State.Position + 1;
  if (Sounds.PlayTransition) Sounds.PlayTransition();
}

void ReplayPlayer::StepBack() {
  if (State.Position > 1) {
    State.Speed = 0;
    State.Position = State.Position - 1;
    if (Sounds.PlayTransition) Sounds.PlayTransition();
  }
  if (State.Position < 0) State.Position = 0;
}

void ReplayPlayer::ChangeCameraHeight(int step) {
  if (State.ViewZoom >= 1.0) {
    const int rows = CameraHeightRows(Aircraft.Powered());
    State.CameraHeightIndex = static_cast<int16_t>(std::clamp(State.CameraHeightIndex + step, 0, rows - 1));
  }
  SetCameraHeight();
}

void ReplayPlayer::ChangeZoom(int step) {
  if (State.ManualZoom) {
    State.ZoomIndex = static_cast<int16_t>(std::clamp(State.ZoomIndex + step, 0, 10));
  } else {
    State.AutoZoomOffset = std::clamp(State.AutoZoomOffset + step, -1.0, 3.0);
  }
}

void ReplayPlayer::ClickView(double x, double y) {
  ReplayState& st = State;
  if (y <= st.HorizonScreenY) {
    ResetCamera();
    return;
  }
  const double zoom = st.ViewZoom > 0 ? st.ViewZoom : 1.0;
  const double d = (y - Geometry.CentreY()) / zoom / Geometry.PixelsPerRadian + st.ViewDepression;
  // A ray past straight down meets the water behind the camera (g below 0).
  // The camera moves no more than 1,000,000 m either way.
  double g = st.CameraHeight / std::tan(d);
  if (std::isnan(g)) g = 1000000;
  g = std::clamp(g, -1000000.0, 1000000.0);
  const double a = (x - Geometry.ViewCentreX) / zoom / Geometry.PixelsPerRadian + st.ViewHeading;
  st.CameraX = st.CameraX + g * std::sin(a);
  st.CameraY = st.CameraY + g * std::cos(a);
  SetCameraHeight();
}

ReplayScenery SceneryOf(view::SceneGeometry scene, const flight::GroundState& ground) {
  view::SetDeckCorners(ground.PlatformOutlineX, ground.PlatformOutlineY, scene);
  ReplayScenery r;
  r.X = scene.SceneryX;
  r.Y = scene.SceneryY;
  r.Z = scene.SceneryZ;
  r.Prisms = scene.Prisms;
  return r;
}

}  // namespace zarv::replay
