#include "platform/devices/sound.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/devices/sound_mixer.h"
#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"

namespace zarv {

namespace {

using sound_detail::Voice;
using sound_detail::WavePcm;

constexpr int kDeviceRate = 44100;
constexpr int kBufferFrames = 1024;
constexpr int64_t kMaxFileBytes = int64_t{64} << 20;
constexpr int kMaxSeconds = 600;  // longer sounds are cut, not converted whole
constexpr uint32_t kFullVolume = 0xFFFFFFFFu;

struct SoundDevice {
  std::mutex api;  // guards everything below except what the callback touches
  SDL_AudioDeviceID dev = 0;
  bool subsystem = false;
  bool failed = false;  // no device: stay silent until ShutdownSound
  uint64_t nextId = 1;

  // Shared with the audio callback: the voice under SDL's audio lock, the
  // rest lock-free.
  Voice voice;
  std::atomic<uint32_t> volume{kFullVolume};
  std::atomic<uint64_t> activeId{0};
};

// Never destroyed: SDL's audio thread may still run while statics go away.
SoundDevice& Device() {
  static SoundDevice* device = new SoundDevice;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] { ShutdownSound(); });
  return *device;
}

void SDLCALL AudioCallback(void* user, Uint8* stream, int len) {
  auto& d = *static_cast<SoundDevice*>(user);
  sound_detail::MixVoice(d.voice, reinterpret_cast<int16_t*>(stream), size_t(len) / 4,
                         d.volume.load(std::memory_order_relaxed));
  if (!d.voice.active) d.activeId.store(0);
}

void CloseLocked(SoundDevice& d) {
  if (d.dev != 0) SDL_CloseAudioDevice(d.dev);  // joins the audio thread
  d.dev = 0;
  d.voice = Voice{};
  d.activeId.store(0);
  if (d.subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  d.subsystem = false;
}

// ALSA, which SDL loads, prints its failures to the terminal (eight lines
// where there is no sound card); an absent device is to stay silent.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

bool EnsureOpenLocked(SoundDevice& d) {
  if (d.dev != 0 && SDL_GetAudioDeviceStatus(d.dev) != SDL_AUDIO_STOPPED) return true;
  if (d.dev != 0) CloseLocked(d);  // lost device: try a fresh one once
  if (d.failed) return false;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl-C must keep ending the program
  snd_lib_error_set_handler(SilentAlsaError);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    d.failed = true;
    return false;
  }
  d.subsystem = true;
  SDL_AudioSpec want{};
  want.freq = kDeviceRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kBufferFrames;
  want.callback = AudioCallback;
  want.userdata = &d;
  SDL_AudioSpec have{};
  // No allowed changes: SDL converts to the hardware, the mixer always sees
  // 16-bit stereo at kDeviceRate.
  d.dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (d.dev == 0) {
    CloseLocked(d);
    d.failed = true;
    return false;
  }
  SDL_PauseAudioDevice(d.dev, 0);
  return true;
}

void StopLocked(SoundDevice& d) {
  if (d.dev == 0) return;
  Voice old;
  SDL_LockAudioDevice(d.dev);
  std::swap(old, d.voice);
  d.activeId.store(0);
  SDL_UnlockAudioDevice(d.dev);
  // `old` is freed here, outside the audio lock.
}

// Converts the wave to the mixer's format; empty on failure.
std::vector<int16_t> ConvertToDevice(const WavePcm& pcm) {
  const size_t frameBytes = size_t(pcm.channels) * size_t(pcm.bits / 8);
  const size_t maxBytes = std::min<size_t>(size_t(pcm.rate) * kMaxSeconds * frameBytes,
                                           (INT_MAX / frameBytes) * frameBytes);
  const size_t bytes = std::min(pcm.bytes, maxBytes);
  SDL_AudioStream* stream =
      SDL_NewAudioStream(pcm.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, Uint8(pcm.channels), pcm.rate,
                         AUDIO_S16SYS, 2, kDeviceRate);
  if (stream == nullptr) return {};
  std::vector<int16_t> out;
  if (SDL_AudioStreamPut(stream, pcm.data, int(bytes)) == 0 && SDL_AudioStreamFlush(stream) == 0) {
    const int available = SDL_AudioStreamAvailable(stream);
    if (available > 0) {
      out.resize(size_t(available) / sizeof(int16_t));
      const int got = SDL_AudioStreamGet(stream, out.data(), available);
      out.resize(got > 0 ? size_t(got) / 4 * 2 : 0);
    }
  }
  SDL_FreeAudioStream(stream);
  return out;
}

bool ReadFile(const std::string& path, std::string& out) {
  bool ok = false;
  out = ReadAllBytes(path, &ok, kMaxFileBytes);
  return ok && !out.empty();
}

void WaitUntilEnded(SoundDevice& d, uint64_t id, size_t frames) {
  // Bounded by the sound's length, so a stalled device cannot hang the caller.
  const Uint64 deadline = SDL_GetTicks64() + frames * 1000 / kDeviceRate + 1000;
  while (d.activeId.load() == id && SDL_GetTicks64() < deadline) SDL_Delay(2);
  // The last samples were mixed, not yet heard: allow one device buffer.
  SDL_Delay(kBufferFrames * 1000 / kDeviceRate);
}

// image: the wave bytes, already read; an empty image only stops.
int Play(const std::string& image, unsigned flags) {
  SoundDevice& d = Device();
  uint64_t id = 0;
  size_t frames = 0;
  {
    std::lock_guard lock(d.api);
    StopLocked(d);
    if (image.empty()) return 1;
    WavePcm pcm;
    if (!EnsureOpenLocked(d) || !sound_detail::ParseWave(image, pcm)) return 0;
    Voice next;
    next.samples = ConvertToDevice(pcm);
    frames = next.samples.size() / 2;
    if (frames == 0) return 0;
    // A synchronous loop would never return: it plays once.
    next.loop = (flags & SND_LOOP) != 0 && (flags & SND_ASYNC) != 0;
    next.active = true;
    next.id = id = d.nextId++;
    SDL_LockAudioDevice(d.dev);
    std::swap(next, d.voice);
    d.activeId.store(id);
    SDL_UnlockAudioDevice(d.dev);
  }
  if ((flags & SND_ASYNC) == 0) WaitUntilEnded(d, id, frames);
  return 1;
}

int PlayFile(const std::string& name, unsigned flags) {
  if (name.empty()) return Play({}, flags);
  std::string image;
  if (!ReadFile(sound_detail::MapSoundPath(name, ProgramFolder()), image)) {
    Play({}, flags);  // a failed start still ends the previous sound
    return 0;
  }
  return Play(image, flags);
}

}  // namespace

int sndPlaySoundA(const char* fileNameOrNull, unsigned flags) {
  return sndPlaySoundA(std::string(fileNameOrNull ? fileNameOrNull : ""), flags);
}

int sndPlaySoundA(const std::string& waveImageOrFileName, unsigned flags) {
  if ((flags & SND_MEMORY) != 0) return Play(waveImageOrFileName, flags);
  return PlayFile(waveImageOrFileName, flags);
}

unsigned waveOutGetVolume(int device, uint32_t* volume) {
  if (device != WAVE_MAPPER && device != 0) return MMSYSERR_BADDEVICEID;
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  *volume = Device().volume.load();
  return MMSYSERR_NOERROR;
}

unsigned waveOutSetVolume(int device, uint32_t volume) {
  if (device != WAVE_MAPPER && device != 0) return MMSYSERR_BADDEVICEID;
  Device().volume.store(volume);
  return MMSYSERR_NOERROR;
}

void ShutdownSound() {
  SoundDevice& d = Device();
  std::lock_guard lock(d.api);
  CloseLocked(d);
  d.failed = false;
  d.volume.store(kFullVolume);
}

namespace sound_detail {

SoundStatus CurrentSoundStatus() {
  SoundDevice& d = Device();
  std::lock_guard lock(d.api);
  SoundStatus s;
  if (d.dev == 0) return s;
  s.deviceOpen = true;
  s.deviceRate = kDeviceRate;
  SDL_LockAudioDevice(d.dev);
  s.playing = d.voice.active;
  s.looping = d.voice.loop;
  s.lengthFrames = d.voice.samples.size() / 2;
  s.positionFrames = d.voice.position;
  SDL_UnlockAudioDevice(d.dev);
  return s;
}

}  // namespace sound_detail

}  // namespace zarv
