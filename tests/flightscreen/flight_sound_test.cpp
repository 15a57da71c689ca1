// The flight screen's sound: the user's volume taken at the load and given
// back at the unload, the window's events, the wind level that follows the
// airspeed, and the wind loop heard through SDL's disk driver.
#include "flightscreen/flight_screen_fixture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "flight/flight_record.h"
#include "platform/devices/sound.h"
#include "platform/devices/sound_mixer.h"
#include "platform/ui/keys.h"
#include "platform/wave_image.h"
#include "replay/replay_form.h"

namespace zarv::flightscreen {
namespace {

using testing::FlightScreenTest;

uint32_t MixerVolume() {
  uint32_t v = 0;
  waveOutGetVolume(WAVE_MAPPER, &v);
  return v;
}

class FlightSoundTest : public FlightScreenTest {
 protected:
  void TearDown() override {
    FlightScreenTest::TearDown();
    ShutdownSound();  // the full volume of a new process for the next test
  }
  void OpenMarden(int16_t soundOn) {
    shell::CurrentSettings().SoundOn = soundOn;
    Open(flight::testing::SampleLines("Marden７"));
  }
};

TEST_F(FlightSoundTest, LoadTakesTheUsersVolumeAndUnloadGivesItBack) {
  const struct {
    int16_t soundOn;
    uint32_t user;
    int32_t base;
    uint32_t afterLoad;
  } cases[] = {
      {1, 0x80004000u, 24576, 0},            // sound on: muted until the loop sets the level
      {0, 0x80004000u, 24576, 0x80004000u},  // sound off: never touched
      {1, 0xFFFFFFFFu, 65535, 0},
      {1, 0, 0, 0},                          // a silent user stays silent
  };
  for (const auto& c : cases) {
    waveOutSetVolume(WAVE_MAPPER, c.user);
    OpenMarden(c.soundOn);
    FlightFrame& f = FlightScreenForm();
    EXPECT_EQ(f.Screen().SavedWaveVolume, c.user);
    EXPECT_EQ(f.Screen().BaseVolume, c.base);
    EXPECT_EQ(MixerVolume(), c.afterLoad);
    waveOutSetVolume(WAVE_MAPPER, 0x1234);  // a level set in flight
    f.Unload();
    EXPECT_EQ(MixerVolume(), c.user) << c.soundOn << " " << c.user;
  }
}

TEST_F(FlightSoundTest, WindowEventsKeepTheSizeAndHandTheVolumeBack) {
  std::ofstream(Path("wind.wav"), std::ios::binary) << zarv::testing::MakeWave({.frames = 2205});
  auto playing = [] { return sound_detail::CurrentSoundStatus().playing; };
  auto looping = [] { return sound_detail::CurrentSoundStatus().looping; };
  const uint32_t user = 0xC0008000u;
  waveOutSetVolume(WAVE_MAPPER, user);
  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  const double width = f.Width();
  flight::FlightState& s = flight::State();

  // In flight a resize (re)starts the wind loop, muted for the loop to raise;
  // minimised: silence at the user's volume; back in the normal state: the
  // wind loop again.
  s.Loop.FlightTime = 5;
  s.Body.Altitude = 20;
  shell::CurrentSettings().SoundOn = 1;  // the option box's value, taken back in flight
  f.SetWidth(width + 300);
  EXPECT_EQ(MixerVolume(), 0u);
  EXPECT_TRUE(playing() && looping());
  f.SetWindowState(vbMinimized);
  EXPECT_EQ(MixerVolume(), user);
  EXPECT_FALSE(playing());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotFlightFrame], 0);
  f.SetWindowState(vbNormal);
  EXPECT_EQ(MixerVolume(), 0u);
  EXPECT_TRUE(playing() && looping());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotFlightFrame], 1);

  // On the platform a resize keeps the size and the volume and stops the
  // sound.
  s.Loop.FlightTime = 0;
  waveOutSetVolume(WAVE_MAPPER, 0x100);
  f.SetWidth(width + 300);
  EXPECT_EQ(f.Width(), width);  // forced back
  EXPECT_EQ(MixerVolume(), 0x100u);
  EXPECT_FALSE(playing());
}

// The sound switch is held off for the first second of the flight and then
// taken back from its box; the wind loop it restarts begins muted, also
// when a window event gave the user's volume back meanwhile (the
// companion's progress dialog during the load does), and the flight loop
// raises it.
TEST_F(FlightSoundTest, TheSoundSwitchRestartsTheWindMuted) {
  std::ofstream(Path("wind.wav"), std::ios::binary) << zarv::testing::MakeWave({.frames = 2205});
  const uint32_t user = 0xC0008000u;
  waveOutSetVolume(WAVE_MAPPER, user);
  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  flight::FlightState& s = flight::State();
  ASSERT_EQ(shell::CurrentSettings().SoundOn, 0);  // held until the flight's first second
  waveOutSetVolume(WAVE_MAPPER, user);             // as a deactivation leaves it
  s.Loop.FlightTime = 2;
  s.Body.Altitude = 20;
  f.ReadDisplayOptions();
  EXPECT_EQ(shell::CurrentSettings().SoundOn, 1);
  EXPECT_TRUE(sound_detail::CurrentSoundStatus().playing && sound_detail::CurrentSoundStatus().looping);
  EXPECT_EQ(MixerVolume(), 0u);
}

// The replay opened in the air, played and closed: the flight goes on with
// its wind loop, also once the panel has unloaded the closed replay.
TEST_F(FlightSoundTest, TheWindGoesOnWithTheFlightAfterTheReplay) {
  std::ofstream(Path("wind.wav"), std::ios::binary) << zarv::testing::MakeWave({.frames = 2205});
  int frames = 0;
  FlightFrame::SetReplayWait([&](uint64_t deadline) {
    const uint64_t now = timeGetTime();
    if (deadline > now) Advance(static_cast<int>(deadline - now));
    ++frames;
    int key = frames == 8 ? vbKeyReturn : frames == 20 ? vbKeyEscape : 0;
    if (key != 0) replay::Vedeo().Form_KeyDown(key, 0);
  });
  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  Advance(200);
  Key(vbKeyReturn);
  bool opened = false;
  int heard = 0, silent = 0;
  auto yield = f.Screen().Seams.DoEvents;
  f.Screen().Seams.DoEvents = [&] {
    yield();
    const flight::FlightState& s = flight::State();
    if (!opened && s.Loop.FlightTime > 2) {
      opened = true;
      ASSERT_TRUE(sound_detail::CurrentSoundStatus().looping);
      Key(vbKeyF6);
    } else if (opened && s.Body.Altitude > 0 && !replay::Vedeo().Loaded()) {
      const sound_detail::SoundStatus now = sound_detail::CurrentSoundStatus();
      ++(now.playing && now.looping ? heard : silent);
    }
  };
  f.Timer2_Timer();
  EXPECT_EQ(frames, 20);
  EXPECT_GT(heard, 5);
  EXPECT_EQ(silent, 0);
  EXPECT_LT(flight::State().Body.Altitude, 0);
}

TEST_F(FlightSoundTest, WindLevelRisesWithTheAirspeed) {
  waveOutSetVolume(WAVE_MAPPER, 0xFFFFFFFFu);
  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  struct Heard {
    double airspeed;
    uint32_t level;
  };
  std::vector<Heard> heard;
  auto draw = f.Screen().Seams.DrawFlightFrame;
  f.Screen().Seams.DrawFlightFrame = [&] {
    draw();
    const flight::FlightState& s = flight::State();
    if (s.Body.Altitude > 0.5 && s.Body.Distance > 0) heard.push_back({s.Body.AirSpeed, MixerVolume() & 0xFFFF});
  };
  Advance(200);
  Key(13);
  f.Timer2_Timer();
  ASSERT_GT(heard.size(), 20u);
  std::sort(heard.begin(), heard.end(), [](const Heard& a, const Heard& b) { return a.airspeed < b.airspeed; });
  const size_t third = heard.size() / 3;
  double slow = 0, fast = 0;
  for (size_t i = 0; i < third; ++i) {
    slow += heard[i].level;
    fast += heard[heard.size() - 1 - i].level;
  }
  EXPECT_GT(fast, 2 * slow);
  EXPECT_GT(fast / static_cast<double>(third), 1000);  // audible, not a trace
  EXPECT_EQ(MixerVolume(), 0xFFFFFFFFu);  // the end of the flight gave the volume back
}

// The level the loop sets reaches the wave output (the 1 + sin(beta) side
// in the low half) and, as its ratio, the recorded sample that the log's
// wind-noise column and the replay take. A light aircraft at 10 m/s with a
// slipstream of 11 m/s, slipping 0.3 rad: W = 0.243189, worked by hand.
TEST_F(FlightSoundTest, TheLevelGoesToTheWaveAndToTheRecord) {
  waveOutSetVolume(WAVE_MAPPER, 0x9C409C40u);  // 40000 a side
  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  shell::CurrentSettings().SoundOn = 1;
  flight::FlightState& s = flight::State();
  aircraft::AircraftData& a = aircraft::Aircraft();
  a.ParasiteDragArea = 0.1;
  a.WingArea = 10;
  s.Body.Altitude = 100;
  s.Body.CourseDistance = 50;
  s.Body.AirSpeed = 10;
  s.Engine.SlipstreamSpeed = 11;
  s.Air.Sideslip = 0.3;
  s.Air.TotalDragArea = 0.3;
  s.Air.AirDensity = 1.0;
  s.Masses.DryMass = 500;
  f.Screen().Seams.UpdateWindSound();
  EXPECT_EQ(MixerVolume(), 6853u * 65536 + 12602);
  EXPECT_NEAR(f.Screen().SoundVolumeRatio, 0.1215945, 1e-7);
  s.Loop.StepCounter = 0;
  flight::Record().RecordCount = 5;
  flight::RecordFlightSample(s, flight::Record(), a, f.Screen().Options);
  EXPECT_NEAR(flight::Record().Row(5).WindNoiseVolume, 0.1215945, 1e-7);
}

// The flight screen played through SDL's disk driver: what would reach the
// speaker is the wind loop, faint on the platform and loud in flight.
TEST_F(FlightSoundTest, WindLoopIsHeardLouderInFlightThanOnThePlatform) {
  const std::string raw = Path("out.raw");
  const int amplitude = 20000;
  std::ofstream(Path("wind.wav"), std::ios::binary)
      << zarv::testing::MakeWave({.channels = 1, .rate = 22050, .bits = 16, .frames = 11025, .value = amplitude});
  struct DiskDriver {
    std::string before;
    explicit DiskDriver(const std::string& file) {
      if (const char* d = std::getenv("SDL_AUDIODRIVER")) before = d;
      ShutdownSound();  // the next sound opens the device anew
      setenv("SDL_AUDIODRIVER", "disk", 1);
      setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }
    ~DiskDriver() {
      ShutdownSound();
      if (before.empty()) unsetenv("SDL_AUDIODRIVER");
      else setenv("SDL_AUDIODRIVER", before.c_str(), 1);
      unsetenv("SDL_DISKAUDIOFILE");
    }
  } driver(raw);

  OpenMarden(1);
  FlightFrame& f = FlightScreenForm();
  // Listening pauses the loop in a frame for a moment of real time; the
  // bytes the driver wrote meanwhile carry the level the loop had set.
  auto fileSize = [&] { return static_cast<size_t>(std::filesystem::file_size(raw)); };
  struct Window {
    size_t from = 0, to = 0;
  };
  auto listen = [&] {
    Window w;
    w.from = fileSize() + 16384;  // past what was mixed before the pause
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((w.to = fileSize()) < w.from + 32768 && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return w;
  };
  Window platform, flying;
  auto draw = f.Screen().Seams.DrawFlightFrame;
  f.Screen().Seams.DrawFlightFrame = [&] {
    draw();
    flight::FlightState& s = flight::State();
    // The sound option takes effect after the first second on the platform.
    if (platform.to == 0 && s.Loop.FlightTime > 1.5) {
      platform = listen();
      Advance(200);
      Key(13);
    } else if (flying.to == 0 && s.Body.Distance > 0 && s.Body.AirSpeed > 7 && s.Body.Altitude > 1) {
      flying = listen();
      s.Loop.FlightEnded = true;
    }
  };
  f.Timer2_Timer();
  f.Unload();
  ShutdownSound();  // closes the file

  std::ifstream in(raw, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto rms = [&](const Window& w) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = w.from & ~size_t{3}; i + 2 <= std::min(w.to, bytes.size()); i += 2, ++n) {
      int16_t sample = 0;
      std::memcpy(&sample, bytes.data() + i, 2);
      sum += static_cast<double>(sample) * sample;
    }
    return n > 0 ? std::sqrt(sum / static_cast<double>(n)) : -1.0;
  };
  ASSERT_GT(platform.to, platform.from);
  ASSERT_GT(flying.to, flying.from);
  const double quiet = rms(platform), loud = rms(flying);
  EXPECT_GT(quiet, 0);
  EXPECT_LT(quiet, amplitude * 0.02);
  EXPECT_GT(loud, amplitude * 0.05);
  EXPECT_GT(loud, 10 * quiet);
}

}  // namespace
}  // namespace zarv::flightscreen
