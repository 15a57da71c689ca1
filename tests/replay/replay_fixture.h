// A replay over a hand-made record: straight-line samples, a zero outline
// (the camera aims at the model position) and an empty scenery, so that the
// camera, readout and playback numbers can be worked out by hand.
#pragma once

#include <memory>

#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "model/polygon_list.h"
#include "model/rotation.h"
#include "replay/replay_player.h"

namespace zarv::replay::testing {

struct ReplayFixture {
  flight::FlightRecord Record;
  model::AirframeOutline Outline;
  flight::FlightState Flight;
  ReplayAircraft Aircraft;
  ReplayScenery Scenery;
  std::unique_ptr<ReplayPlayer> Player;

  explicit ReplayFixture(int samples = 400, double launchSpeed = 5) {
    Aircraft.LaunchSpeed = launchSpeed;
    Aircraft.LaunchHeight = 10;
    Aircraft.OverallLength = 5;
    Aircraft.WingSpan = 10;
    Aircraft.SurfaceTemperature = 15;
    Record.RecordSampleCount = samples;
    for (int i = 0; i < samples; ++i) {
      flight::FlightSample& s = Record.Row(i);
      s.Time = static_cast<float>(i * 0.05);
      s.North = i * 0.5;  // 10 m/s due north
      s.Height = 10;
      s.Airspeed = 10;
      s.HeadingDeg = 0;
      s.LoadFactor = 1;
    }
  }

  // A player opened at time 0 with the camera given (index not 0, so kept).
  ReplayPlayer& Open(double cameraX = 0, double cameraY = 0, int16_t index = 1) {
    Player = std::make_unique<ReplayPlayer>(Record, Outline, Flight, Aircraft, Scenery,
                                            ReplayGeometry::ForScale(1.0));
    Player->State.CameraX = cameraX;
    Player->State.CameraY = cameraY;
    Player->State.CameraHeightIndex = index;
    Player->Open(0);
    return *Player;
  }

  // Puts the camera at (x, y) on height index `index`.
  void Camera(double x, double y, int16_t index) {
    Player->State.CameraX = x;
    Player->State.CameraY = y;
    Player->State.CameraHeightIndex = index;
    Player->SetCameraHeight();
  }

  // The sample lookup and camera step for the drawn position.
  void Aim(double position) {
    Player->State.Position = position;
    Player->LookupSample();
    Player->CameraStep();
  }
};

}  // namespace zarv::replay::testing
