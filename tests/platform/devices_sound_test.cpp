#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/devices/sound.h"
#include "platform/devices/sound_mixer.h"
#include "platform/runtime/files.h"
#include "program_test.h"
#include "wave_image.h"

namespace zarv {
namespace {

using sound_detail::CurrentSoundStatus;

using testing::MakeWave;
using testing::WaveSpec;

TEST(DevicesSoundWave, AcceptsPcmVariants) {
  sound_detail::WavePcm pcm;  // points into the image: keep images alive
  const std::string mono8 = MakeWave({});
  ASSERT_TRUE(sound_detail::ParseWave(mono8, pcm));
  EXPECT_EQ(pcm.channels, 1);
  EXPECT_EQ(pcm.rate, 22050);
  EXPECT_EQ(pcm.bits, 8);
  EXPECT_EQ(pcm.bytes, 100u);
  EXPECT_EQ(pcm.data[0], 0xC0);

  WaveSpec stereo16;
  stereo16.channels = 2;
  stereo16.bits = 16;
  stereo16.value = 0x1234;
  stereo16.extensible = true;
  stereo16.oddChunkFirst = true;  // padded odd chunk before "fmt "
  const std::string image16 = MakeWave(stereo16);
  ASSERT_TRUE(sound_detail::ParseWave(image16, pcm));
  EXPECT_EQ(pcm.channels, 2);
  EXPECT_EQ(pcm.bits, 16);
  EXPECT_EQ(pcm.bytes, 400u);
  EXPECT_EQ(pcm.data[0], 0x34);

  // A cut-off image (the loader may trim trailing bytes) plays what is
  // there, in whole frames.
  ASSERT_TRUE(sound_detail::ParseWave(std::string_view(image16).substr(0, image16.size() - 7), pcm));
  EXPECT_EQ(pcm.bytes, 392u);
}

TEST(DevicesSoundWave, RejectsWhatCannotPlay) {
  sound_detail::WavePcm pcm;
  const std::string good = MakeWave({});
  EXPECT_FALSE(sound_detail::ParseWave(std::string_view("RIFF\0\0\0\0WAVX", 12), pcm));
  EXPECT_FALSE(sound_detail::ParseWave(good.substr(0, 30), pcm));  // cut inside "fmt "
  EXPECT_FALSE(sound_detail::ParseWave(good.substr(0, 44), pcm));  // no sample data
  for (auto change : {+[](WaveSpec& w) { w.tag = 3; },  // float
                      +[](WaveSpec& w) { w.bits = 24; },
                      +[](WaveSpec& w) { w.channels = 3; },
                      +[](WaveSpec& w) { w.frames = 0; }}) {
    WaveSpec w;
    change(w);
    EXPECT_FALSE(sound_detail::ParseWave(MakeWave(w), pcm));
  }
}

TEST(DevicesSoundMixer, AppliesStereoGainLoopsAndEnds) {
  sound_detail::Voice v;
  v.samples = {1000, -1000, 32767, -32768, 20000, 20000};
  v.active = true;
  int16_t out[8 * 2];

  // Left at full, right at half: left in the low word.
  sound_detail::MixVoice(v, out, 2, 0x8000FFFFu);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -500);
  EXPECT_EQ(out[2], 32767);
  EXPECT_EQ(out[3], -16384);

  // One-shot: the last frame, then silence, then inactive.
  std::fill(std::begin(out), std::end(out), int16_t{7});
  sound_detail::MixVoice(v, out, 3, 0xFFFF0000u);
  EXPECT_EQ(out[0], 0);  // left muted
  EXPECT_EQ(out[1], 20000);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(out[5], 0);
  EXPECT_FALSE(v.active);

  // Looping wraps round without a gap.
  v.active = true;
  v.loop = true;
  v.position = 2;
  sound_detail::MixVoice(v, out, 4, 0xFFFFFFFFu);
  EXPECT_EQ(out[0], 20000);
  EXPECT_EQ(out[2], 1000);
  EXPECT_EQ(out[4], 32767);
  EXPECT_EQ(out[6], 20000);
  EXPECT_TRUE(v.active);
}

TEST(DevicesSoundPath, MapsWindowsNamesBelowProgramFolder) {
  using sound_detail::MapSoundPath;
  EXPECT_EQ(MapSoundPath("\\PData\\wind.wav", "/opt/zarv"), "/opt/zarv/PData/wind.wav");
  EXPECT_EQ(MapSoundPath("wind.wav", "/opt/zarv/"), "/opt/zarv/wind.wav");
  EXPECT_EQ(MapSoundPath("/opt/zarv\\PData\\burn.wav", "/x"), "/opt/zarv/PData/burn.wav");
  EXPECT_EQ(MapSoundPath("", "/x"), "");
}

TEST(DevicesSoundVolume, PacksChannelsAndChecksArguments) {
  ShutdownSound();
  uint32_t v = 0;
  EXPECT_EQ(waveOutGetVolume(WAVE_MAPPER, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 0xFFFFFFFFu);
  EXPECT_EQ(waveOutSetVolume(WAVE_MAPPER, 0x12345678u), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutGetVolume(0, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 0x12345678u);
  EXPECT_EQ(waveOutSetVolume(3, 0), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveOutGetVolume(WAVE_MAPPER, nullptr), MMSYSERR_INVALPARAM);
  ShutdownSound();
  EXPECT_EQ(waveOutGetVolume(WAVE_MAPPER, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 0xFFFFFFFFu);
}

// Runs with SDL's given audio driver and a scratch folder for wave files.
class DevicesSound : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    UseDriver("dummy");
  }
  void TearDown() override {
    ProgramTest::TearDown();
    if (savedDriver_.empty()) unsetenv("SDL_AUDIODRIVER");
    else setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
  }
  void UseDriver(const char* name) {
    ShutdownSound();
    setenv("SDL_AUDIODRIVER", name, 1);
  }
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  static bool WaitUntilSilent(int ms) {
    for (int i = 0; i < ms / 5; ++i) {
      if (!CurrentSoundStatus().playing) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  static std::string SavedDriver() {
    const char* d = std::getenv("SDL_AUDIODRIVER");
    return d ? d : "";
  }
  std::string savedDriver_ = SavedDriver();
  std::filesystem::path dir_ = folder_;
};

TEST_F(DevicesSound, OneVoiceLoopsReplacesAndStops) {
  WaveSpec shortLoop;
  shortLoop.frames = 441;  // 20 ms at 22050
  const std::string loopFile = WriteFile("PData/loop.wav", MakeWave(shortLoop));

  ASSERT_EQ(sndPlaySoundA("\\PData\\loop.wav", SND_ASYNC | SND_LOOP), 1);
  auto s = CurrentSoundStatus();
  ASSERT_TRUE(s.deviceOpen);
  EXPECT_TRUE(s.looping);
  EXPECT_NEAR(double(s.lengthFrames), 882.0, 4.0);  // resampled to the device rate
  std::this_thread::sleep_for(std::chrono::milliseconds(80));
  EXPECT_TRUE(CurrentSoundStatus().playing);

  // A one-shot from memory replaces the loop and then ends by itself.
  WaveSpec once;
  once.channels = 2;
  once.bits = 16;
  once.rate = 44100;
  once.frames = 2205;
  once.value = 1000;
  ASSERT_EQ(sndPlaySoundA(MakeWave(once), SND_ASYNC | SND_MEMORY), 1);
  s = CurrentSoundStatus();
  EXPECT_FALSE(s.looping);
  EXPECT_EQ(s.lengthFrames, 2205u);
  EXPECT_TRUE(WaitUntilSilent(1000));

  // The empty image stops a loop at once; so does a null name.
  ASSERT_EQ(sndPlaySoundA(std::string(loopFile), SND_ASYNC | SND_LOOP), 1);
  EXPECT_EQ(sndPlaySoundA(std::string(), SND_MEMORY), 1);
  EXPECT_FALSE(CurrentSoundStatus().playing);
  ASSERT_EQ(sndPlaySoundA(loopFile.c_str(), SND_ASYNC | SND_LOOP), 1);
  sndPlaySoundA(nullptr, SND_ASYNC);
  EXPECT_FALSE(CurrentSoundStatus().playing);
}

TEST_F(DevicesSound, MemoryWithoutAsyncWaitsForTheEnd) {
  WaveSpec w;
  w.frames = 2205;  // 100 ms
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sndPlaySoundA(MakeWave(w), SND_MEMORY), 1);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 80);
  EXPECT_LT(ms, 1000);
  EXPECT_FALSE(CurrentSoundStatus().playing);
}

TEST_F(DevicesSound, BadSoundsAreSilentAndStopThePlayingOne) {
  const std::string loopFile = WriteFile("loop.wav", MakeWave({}));
  const std::string junk = WriteFile("junk.wav", "RIFF????WAVEjunkjunkjunk");

  ASSERT_EQ(sndPlaySoundA(loopFile.c_str(), SND_ASYNC | SND_LOOP), 1);
  EXPECT_EQ(sndPlaySoundA((dir_ / "missing.wav").string().c_str(), SND_ASYNC), 0);
  EXPECT_FALSE(CurrentSoundStatus().playing);

  ASSERT_EQ(sndPlaySoundA(loopFile.c_str(), SND_ASYNC | SND_LOOP), 1);
  EXPECT_EQ(sndPlaySoundA(junk.c_str(), SND_ASYNC), 0);
  EXPECT_FALSE(CurrentSoundStatus().playing);
  EXPECT_EQ(sndPlaySoundA(std::string("RIFF"), SND_MEMORY), 0);
  EXPECT_EQ(sndPlaySoundA(dir_.string().c_str(), SND_SYNC), 0);  // a folder
}

TEST_F(DevicesSound, NoAudioDeviceStaysSilent) {
  UseDriver("no-such-driver");
  WaveSpec w;
  w.frames = 22050;  // 1 s: a synchronous play must not wait for it
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sndPlaySoundA(MakeWave(w), SND_MEMORY), 0);
  EXPECT_EQ(sndPlaySoundA("\\PData\\wind.wav", SND_ASYNC | SND_LOOP), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_FALSE(CurrentSoundStatus().deviceOpen);
  EXPECT_EQ(waveOutSetVolume(WAVE_MAPPER, 0), MMSYSERR_NOERROR);
  uint32_t v = 1;
  EXPECT_EQ(waveOutGetVolume(WAVE_MAPPER, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 0u);
}

// A sound card that is not there is as quiet on the terminal as on the
// speakers: ALSA's own messages stay off it.
TEST_F(DevicesSound, NoSoundCardPrintsNothing) {
  UseDriver("alsa");
  const char* card = std::getenv("ALSA_CARD");
  const std::string savedCard = card ? card : "";
  setenv("ALSA_CARD", "ZarvNoSuchCard", 1);
  const std::filesystem::path errors = dir_ / "stderr.txt";
  std::fflush(stderr);
  const int savedErr = dup(2);
  const int file = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(file, 2);
  close(file);
  WaveSpec w;
  w.frames = 441;
  const int played = sndPlaySoundA(MakeWave(w), SND_ASYNC | SND_MEMORY);
  std::fflush(stderr);
  dup2(savedErr, 2);
  close(savedErr);
  if (savedCard.empty()) unsetenv("ALSA_CARD");
  else setenv("ALSA_CARD", savedCard.c_str(), 1);
  EXPECT_EQ(played, 0);
  EXPECT_EQ(ReadAllBytes(errors.string()), "");
}

// Through SDL's disk driver: the converted sound reaches the output with the
// stereo gain applied.
TEST_F(DevicesSound, OutputCarriesConvertedSoundWithGain) {
  const std::string out = (dir_ / "out.raw").string();
  std::filesystem::create_directories(dir_);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  UseDriver("disk");
  waveOutSetVolume(WAVE_MAPPER, 0x80004000u);  // left quarter, right half
  WaveSpec w;  // 8-bit mono at 22050: 0xC0 is +64/128 of full scale
  w.frames = 2205;
  sndPlaySoundA(MakeWave(w), SND_MEMORY);
  ShutdownSound();
  unsetenv("SDL_DISKAUDIOFILE");

  std::ifstream in(out, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 0u);
  const auto* frames = reinterpret_cast<const int16_t*>(bytes.data());
  size_t matching = 0;
  for (size_t i = 0; i + 1 < bytes.size() / 2; i += 2)
    if (std::abs(frames[i] - 4096) <= 41 && std::abs(frames[i + 1] - 2 * frames[i]) <= 2)
      ++matching;
  EXPECT_GT(matching, 3000u);  // about 4410 frames less the resampler's edges
}

}  // namespace
}  // namespace zarv
