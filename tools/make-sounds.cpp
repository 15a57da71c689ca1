// Writes the program's own wave files: 16-bit mono PCM, made from noise
// and tones here so that nothing is taken from elsewhere.
//   wind.wav    airflow noise, loopable (its ends are cross-faded)
//   burn.wav    engine / rocket burn rumble
//   shoot.wav   a gun burst of ten rounds
//   soundn.wav  a short two-tone transition chime
// Usage: zarv-make-sounds FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/runtime/files.h"
#include "platform/runtime/process.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

struct Noise {
  uint32_t state = 12345;
  double Next() {  // uniform in -1..1
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
  }
};

// Built whole in memory and saved as every file of ours is: a write that
// fails (a full disk, a file-size limit) leaves the old file or none.
bool WriteWave(const std::string& path, const std::vector<double>& samples) {
  std::string bytes;
  auto u32 = [&](uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFFu));
  };
  auto u16 = [&](uint16_t v) {
    bytes.push_back(static_cast<char>(v & 0xFFu));
    bytes.push_back(static_cast<char>(v >> 8));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  bytes.append("RIFF");
  u32(36 + dataBytes);
  bytes.append("WAVEfmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  bytes.append("data");
  u32(dataBytes);
  for (double s : samples) {
    const double clipped = s > 1 ? 1 : (s < -1 ? -1 : s);
    u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(clipped * 32000))));
  }
  return zarv::AtomicWriteBytes(path, bytes);
}

std::vector<double> Wind() {
  const int n = kRate * 2, fade = kRate / 5;
  Noise noise;
  std::vector<double> out(static_cast<size_t>(n + fade));
  double lp1 = 0, lp2 = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    lp1 += 0.08 * (noise.Next() - lp1);
    lp2 += 0.3 * (lp1 - lp2);
    const double swell = 1.0 + 0.25 * std::sin(2 * kPi * static_cast<double>(i) / n);  // one swell per loop
    out[i] = 2.2 * lp2 * swell;
  }
  // Cross-fade the tail into the head so the loop has no click.
  for (int i = 0; i < fade; ++i) {
    const double w = static_cast<double>(i) / fade;
    out[static_cast<size_t>(i)] = out[static_cast<size_t>(i)] * w + out[static_cast<size_t>(n + i)] * (1 - w);
  }
  out.resize(static_cast<size_t>(n));
  return out;
}

std::vector<double> Burn() {
  const int n = kRate;
  Noise noise;
  noise.state = 777;
  std::vector<double> out(static_cast<size_t>(n));
  double lp = 0;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    lp += 0.05 * (noise.Next() - lp);
    const double env = std::min(t / 0.02, 1.0) * std::exp(-2.5 * t);
    out[static_cast<size_t>(i)] = env * (3.0 * lp + 0.3 * std::sin(2 * kPi * 55 * t));
  }
  return out;
}

std::vector<double> Shoot() {
  const int n = kRate / 2;
  Noise noise;
  noise.state = 4242;
  std::vector<double> out(static_cast<size_t>(n));
  double lp = 0;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double sinceRound = std::fmod(t, 0.05);  // ten rounds in half a second
    lp += 0.35 * (noise.Next() - lp);
    const double env = std::exp(-sinceRound / 0.008);
    out[static_cast<size_t>(i)] = env * (1.6 * lp + 0.4 * std::sin(2 * kPi * 120 * sinceRound));
  }
  return out;
}

std::vector<double> Chime() {
  const int n = kRate * 3 / 10;
  std::vector<double> out(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double a = std::min(t / 0.005, 1.0) * std::exp(-12 * t);
    const double b = t > 0.08 ? std::exp(-12 * (t - 0.08)) : 0.0;
    out[static_cast<size_t>(i)] = 0.45 * a * std::sin(2 * kPi * 880 * t) + 0.45 * b * std::sin(2 * kPi * 1320 * t);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  zarv::PrepareProcess();
  if (argc != 2) {
    std::fprintf(stderr, "usage: zarv-make-sounds FOLDER\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = WriteWave(dir + "/wind.wav", Wind()) && WriteWave(dir + "/burn.wav", Burn()) &&
                  WriteWave(dir + "/shoot.wav", Shoot()) && WriteWave(dir + "/soundn.wav", Chime());
  if (!ok) std::fprintf(stderr, "zarv-make-sounds: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
