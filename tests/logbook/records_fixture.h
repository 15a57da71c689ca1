// Shared pieces of the records tests: a scratch program folder, file bytes,
// and small records filled by hand.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "flight/flight_record.h"
#include "model/outline.h"
#include "platform/runtime/files.h"
#include "platform/runtime/cp932.h"
#include "program_test.h"

namespace zarv::records::testing {

inline std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// A record whose rows are all zero but for the time (0.05 s apart from t0).
inline std::unique_ptr<flight::FlightRecord> TimedRecord(int32_t lastRow, float t0 = 0) {
  auto r = std::make_unique<flight::FlightRecord>();
  r->RecordCount = lastRow;
  for (int32_t i = 0; i <= lastRow; ++i) r->Row(i).Time = t0 + 0.05f * static_cast<float>(i);
  return r;
}

// n samples at 20 per second from time 0, flying out at 10 m/s, with the
// given constant height, pitch and lift coefficient.
inline std::unique_ptr<flight::FlightRecord> SteadyRecord(int n, double height = 5, double pitch = 5,
                                                         double lift = 1.0) {
  auto r = std::make_unique<flight::FlightRecord>();
  for (int i = 0; i < n; ++i) {
    flight::FlightSample& x = r->Row(i);
    x.Time = static_cast<float>(i / 20.0);
    x.DistanceFlown = i * 0.5;
    x.Height = height;
    x.Airspeed = 8;
    x.Pitch = pitch;
    x.LiftCoefficient = lift;
    x.CentreOfGravityPct = 30;
    x.PressureCentre = 35;
  }
  r->RecordCount = n;
  r->RecordSampleCount = n;
  return r;
}

}  // namespace zarv::records::testing
