// Records of made-up flights for the chart and picker tests.
#pragma once

#include <memory>

#include "flight/flight_record.h"

namespace zarv::records::testing {

// n samples at 20 per second from time 0, flying out at 10 m/s, with the
// given constant height, pitch and lift coefficient.
inline std::unique_ptr<flight::FlightRecord> SteadyRecord(int n, double height = 5, double pitch = 5,
                                                         double lift = 1.0) {
  auto r = std::make_unique<flight::FlightRecord>();
  for (int i = 0; i < n; ++i) {
    flight::FlightSample& x = r->Samples[static_cast<size_t>(i)];
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
