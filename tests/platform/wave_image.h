// Wave file images for the sound tests, made to measure: PCM of any channel
// count, rate and width, every sample one value, optionally an extensible
// format block or a chunk before the format.
#pragma once

#include <cstdint>
#include <string>

namespace zarv::testing {

inline void Put16(std::string& s, unsigned v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

struct WaveSpec {
  int channels = 1, rate = 22050, bits = 8, frames = 100;
  unsigned tag = 1;
  bool extensible = false;
  bool oddChunkFirst = false;
  int value = 0xC0;  // every sample; 8-bit is unsigned
};

inline std::string MakeWave(const WaveSpec& w) {
  std::string fmt;
  Put16(fmt, w.extensible ? 0xFFFE : w.tag);
  Put16(fmt, unsigned(w.channels));
  Put32(fmt, uint32_t(w.rate));
  const unsigned block = unsigned(w.channels * w.bits / 8);
  Put32(fmt, uint32_t(w.rate) * block);
  Put16(fmt, block);
  Put16(fmt, unsigned(w.bits));
  if (w.extensible) {
    Put16(fmt, 22);
    Put16(fmt, unsigned(w.bits));
    Put32(fmt, 3);
    Put16(fmt, w.tag);
    fmt += std::string(14, '\x10');  // rest of the sub-format GUID
  }
  std::string body = "WAVE";
  if (w.oddChunkFirst) body += std::string("LIST") + std::string("\3\0\0\0abc\0", 8);
  body += "fmt ";
  Put32(body, uint32_t(fmt.size()));
  body += fmt;
  body += "data";
  Put32(body, uint32_t(w.frames) * block);
  for (int i = 0; i < w.frames * w.channels; ++i) {
    if (w.bits == 8) body += char(w.value);
    else Put16(body, unsigned(w.value));
  }
  std::string image = "RIFF";
  Put32(image, uint32_t(body.size()));
  return image + body;
}

}  // namespace zarv::testing
