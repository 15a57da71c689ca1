// Opening and playback: the start values, the default camera, the record's
// ends, the speeds and the frame-rate measurement.
#include <gtest/gtest.h>

#include <cmath>

#include "replay/replay_fixture.h"
#include "program_test.h"

namespace zarv::replay {
namespace {

class ReplayOpening : public zarv::testing::ProgramTest {};
class ReplayPlayback : public zarv::testing::ProgramTest {};

using testing::ReplayFixture;

TEST_F(ReplayOpening, ShortRecordAndDefaultCamera) {
  ReplayFixture f(2);
  ReplayPlayer& p = f.Open(0.5, 0.5, 0);  // within 1 m of the origin, index 0: unset
  EXPECT_EQ(f.Record.RecordSampleCount, 3.0);
  EXPECT_EQ(p.State.Position, 1.0);
  // Launched due north: the camera 2.66 m left and 8.60 m ahead.
  EXPECT_NEAR(p.State.CameraX, -2.66, 0.005);
  EXPECT_NEAR(p.State.CameraY, 8.60, 0.005);
  EXPECT_EQ(p.State.CameraHeightIndex, 5);
  // The sample after the last one shown is put on the water.
  EXPECT_EQ(f.Record.Samples[3].Height, 0.0);
}

TEST_F(ReplayOpening, CountAtTheRecordsCapacityWritesNoSampleBeyondIt) {
  ReplayFixture f(10);
  const auto capacity = static_cast<double>(f.Record.Samples.size());
  f.Record.RecordSampleCount = capacity + 50;
  ReplayPlayer& p = f.Open(5, 5, 1);
  EXPECT_EQ(f.Record.RecordSampleCount, capacity - 1);
  EXPECT_EQ(f.Record.Samples[f.Record.Samples.size() - 1].Height, 0.0);
  EXPECT_EQ(p.LastSample(), static_cast<int32_t>(capacity) - 2);
  // Every index is held inside the samples that exist.
  EXPECT_EQ(p.Clamp(-7), 0);
  EXPECT_EQ(p.Clamp(1000000), p.LastSample());
}

TEST_F(ReplayPlayback, SpeedLimitsAtTheEndsOfTheRecord) {
  ReplayFixture f(400);
  ReplayPlayer& p = f.Open(5, 5, 1);
  // The drawn sample rounds halves to even.
  for (const auto& [position, sample] : {std::pair(2.5, 2), std::pair(3.5, 4)}) {
    p.State.Position = position;
    p.LookupSample();
    EXPECT_EQ(p.State.Sample, sample);
  }
  p.State.Position = 1;
  p.State.Fps = 20;
  p.State.Speed = 1;
  for (int i = 0; i < 20; ++i) p.Advance();
  EXPECT_NEAR(p.State.Position, 21.0, 1e-3);  // one real second, twenty samples
  p.State.Speed = 80;
  for (int i = 0; i < 10; ++i) p.Advance();
  EXPECT_EQ(p.State.Position, 399.0);
  EXPECT_EQ(p.State.Speed, 0.0);
  p.State.Speed = -80;
  for (int i = 0; i < 10; ++i) p.Advance();
  EXPECT_EQ(p.State.Position, 1.0);
  EXPECT_EQ(p.State.Speed, 0.0);
  // Stepping: forward past the end is caught by the next advance; back
  // from 1.5 goes to 0.5, which the advance puts back.
  p.State.Position = 399;
  p.StepForward();
  p.Advance();
  EXPECT_EQ(p.State.Position, 399.0);
  p.State.Position = 1.5;
  p.State.Speed = 1;
  p.StepBack();
  EXPECT_EQ(p.State.Position, 0.5);
  EXPECT_EQ(p.State.Speed, 0.0);
  p.Advance();
  EXPECT_EQ(p.State.Position, 1.0);
}

TEST_F(ReplayPlayback, FrameRateIsNeverMeasuredOverNoTime) {
  ReplayFixture f;
  f.Flight.Loop.StepCounter = 7;  // left so by the flight
  ReplayPlayer& p = f.Open(5, 5, 1);
  // Fast forward before the first measurement: the nominal rate.
  p.State.Speed = 8;
  p.Advance();
  EXPECT_NEAR(p.State.Position, 1 + 8.0, 1e-3);
  p.State.Speed = 0;
  p.MeasureFrameRate(0);  // the opening's own millisecond
  EXPECT_EQ(p.State.Fps, 0);
  p.MeasureFrameRate(250);
  EXPECT_EQ(p.State.Fps, 20);
  EXPECT_EQ(f.Flight.Loop.StepCounter, 0);
  // Five frames later, 100 ms apart: 10 frames per second.
  for (int i = 0; i < 5; ++i) p.Advance();
  p.MeasureFrameRate(750);
  EXPECT_EQ(p.State.Fps, 10);
}

TEST_F(ReplayPlayback, FastWindTogglesWithDebounce) {
  auto presses = [](int samples, int sign) {
    ReplayFixture f(samples);
    ReplayPlayer& p = f.Open(5, 5, 1);
    int clicks = 0;
    p.Sounds.PlayTransition = [&] { ++clicks; };
    p.Play();
    std::vector<double> speeds;
    for (int i = 0; i < 3; ++i) {
      p.FastWind(sign, 1000 + 200 * static_cast<uint64_t>(i));
      speeds.push_back(p.State.Speed);
    }
    // A press within 0.1 s of the last one is ignored.
    p.FastWind(sign, 1000 + 200 * 2 + 50);
    speeds.push_back(p.State.Speed);
    speeds.push_back(clicks);
    return speeds;
  };
  EXPECT_EQ(presses(301, +1), (std::vector<double>{8, 80, 8, 8, 2}));
  EXPECT_EQ(presses(300, +1), (std::vector<double>{8, 8, 8, 8, 1}));
  EXPECT_EQ(presses(301, -1), (std::vector<double>{-8, -80, -8, -8, 2}));
}

TEST_F(ReplayPlayback, LaunchSoundOnceAtItsMarkThenTheWind) {
  ReplayFixture f(400);
  ReplayPlayer& p = f.Open(0, 0, 1);
  std::vector<std::string> played;
  p.Sounds.SoundOn = 1;
  p.Sounds.LoopSound = "wind";
  p.Sounds.LaunchSound = "shoot";
  p.Sounds.PlaySound = [&](const std::string& s, unsigned) { played.push_back(s); };
  f.Record.LaunchMarkTenths = 10;
  f.Record.LaunchMarkSamples[1] = 30;
  p.State.Position = 33;
  p.State.Sample = 33;
  p.SoundStep();
  p.SoundStep();
  EXPECT_EQ(played, std::vector<std::string>{"shoot"});
  p.State.Position = 38;
  p.SoundStep();
  EXPECT_EQ(played, (std::vector<std::string>{"shoot", "wind"}));
}

}  // namespace
}  // namespace zarv::replay
