// Internals of the sound device shared with its tests: wave parsing, the
// one-voice mixer and a snapshot of the device state. Not for other folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zarv::sound_detail {

// PCM description and sample bytes of a RIFF WAVE image. `data` points into
// the parsed image.
struct WavePcm {
  int channels = 0;         // 1 or 2
  int rate = 0;             // frames per second
  int bits = 0;             // 8 (unsigned) or 16 (signed little-endian)
  const uint8_t* data = nullptr;
  size_t bytes = 0;         // whole frames only
};

// Accepts PCM (plain or WAVE_FORMAT_EXTENSIBLE), 8 or 16 bits, mono or
// stereo. A data chunk cut short is played as far as it goes; anything else
// unusable gives false.
bool ParseWave(std::string_view image, WavePcm& out);

// The single voice: interleaved 16-bit stereo at the device rate.
struct Voice {
  std::vector<int16_t> samples;
  size_t position = 0;  // in frames
  bool loop = false;
  bool active = false;
  uint64_t id = 0;
};

// Writes `frames` stereo frames of the voice into `out`, scaled by the packed
// volume (left low word, right high word), and silence after the end. A
// finished one-shot voice becomes inactive.
void MixVoice(Voice& voice, int16_t* out, size_t frames, uint32_t volume);

// Turns a Windows-style sound name into a path of this system.
std::string MapSoundPath(std::string_view name, const std::string& programFolder);

struct SoundStatus {
  bool deviceOpen = false;
  bool playing = false;
  bool looping = false;
  size_t lengthFrames = 0;
  size_t positionFrames = 0;
  int deviceRate = 0;
};
SoundStatus CurrentSoundStatus();

}  // namespace zarv::sound_detail
