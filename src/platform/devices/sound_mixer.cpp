#include "platform/devices/sound_mixer.h"

#include <algorithm>
#include <cstring>

namespace zarv::sound_detail {

namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

bool ParseWave(std::string_view image, WavePcm& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(image.data());
  const size_t size = image.size();
  if (size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
    return false;

  // The RIFF length is not trusted: the image may have been cut or padded.
  bool haveFormat = false;
  WavePcm pcm;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint8_t* chunk = p + pos;
    const size_t declared = Le32(chunk + 4);
    const size_t body = pos + 8;
    const size_t available = std::min(declared, size - body);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (available < 16) return false;
      const uint8_t* f = p + body;
      uint16_t tag = Le16(f);
      if (tag == kFormatExtensible) {
        // The sub-format GUID starts with the plain format tag.
        if (available < 40) return false;
        tag = Le16(f + 24);
      }
      if (tag != kFormatPcm) return false;
      pcm.channels = Le16(f + 2);
      pcm.rate = static_cast<int>(std::min<uint32_t>(Le32(f + 4), 1u << 20));
      pcm.bits = Le16(f + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return false;
      pcm.data = p + body;
      pcm.bytes = available;
      break;
    }
    if (declared > size - body) break;  // cut inside a chunk before the data
    pos = body + declared + (declared & 1);  // chunks are word-aligned
  }
  if (!haveFormat || pcm.data == nullptr) return false;
  if (pcm.channels < 1 || pcm.channels > 2) return false;
  if (pcm.bits != 8 && pcm.bits != 16) return false;
  if (pcm.rate < 1000) return false;
  const size_t frameBytes = size_t(pcm.channels) * size_t(pcm.bits / 8);
  pcm.bytes -= pcm.bytes % frameBytes;
  if (pcm.bytes == 0) return false;
  out = pcm;
  return true;
}

void MixVoice(Voice& voice, int16_t* out, size_t frames, uint32_t volume) {
  const int64_t gainLeft = volume & 0xFFFFu;
  const int64_t gainRight = volume >> 16;
  const size_t length = voice.samples.size() / 2;
  size_t done = 0;
  if (voice.active && length == 0) voice.active = false;
  while (voice.active && done < frames) {
    if (voice.position >= length) {
      if (!voice.loop) {
        voice.active = false;
        break;
      }
      voice.position = 0;
    }
    const size_t n = std::min(frames - done, length - voice.position);
    const int16_t* src = voice.samples.data() + voice.position * 2;
    int16_t* dst = out + done * 2;
    for (size_t i = 0; i < n; ++i) {
      dst[2 * i] = static_cast<int16_t>(src[2 * i] * gainLeft / 65535);
      dst[2 * i + 1] = static_cast<int16_t>(src[2 * i + 1] * gainRight / 65535);
    }
    voice.position += n;
    done += n;
    if (voice.position >= length && !voice.loop) voice.active = false;
  }
  std::fill(out + done * 2, out + frames * 2, int16_t{0});
}

std::string MapSoundPath(std::string_view name, const std::string& programFolder) {
  if (name.empty()) return {};
  std::string path(name);
  const bool belowProgram = path.front() == '\\' || (path.front() != '/');
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!belowProgram) return path;
  size_t start = path.find_first_not_of('/');
  if (start == std::string::npos) return {};
  std::string base = programFolder;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base + "/" + path.substr(start);
}

}  // namespace zarv::sound_detail
