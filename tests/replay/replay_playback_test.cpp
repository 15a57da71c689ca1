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

TEST_F(ReplayOpening, ShortRecordDefaultCameraPlatformAndHeading) {
  ReplayFixture f(2);
  f.Flight.Body.Heading = 1.25;
  ReplayPlayer& p = f.Open(0.5, 0.5, 0);  // within 1 m of the origin, index 0: unset
  EXPECT_EQ(f.Record.RecordSampleCount, 3.0);
  EXPECT_EQ(p.State.Position, 1.0);
  EXPECT_EQ(p.State.Speed, 0.0);
  EXPECT_EQ(p.State.ViewZoom, 1.0);
  // Launched due north: the camera 2.66 m left and 8.60 m ahead; the deck
  // 10 m square ahead of the origin.
  EXPECT_NEAR(p.State.CameraX, -2.66, 0.005);
  EXPECT_NEAR(p.State.CameraY, 8.60, 0.005);
  EXPECT_EQ(p.State.CameraHeightIndex, 5);
  const double corners[][2] = {{-5, 0}, {-5, 10}, {5, 10}, {5, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(p.Scenery.X[static_cast<std::size_t>(i + 1)], corners[i][0], 0.002) << i;
    EXPECT_NEAR(p.Scenery.Y[static_cast<std::size_t>(i + 1)], corners[i][1], 0.002) << i;
  }
  // The sample after the last one shown is put on the water.
  EXPECT_EQ(f.Record.Samples[3].Height, 0.0);
  // The recorded heading stands for the replay; the flight gets its own back.
  EXPECT_EQ(f.Flight.Body.Heading, 0.0);
  p.Close(0);
  EXPECT_EQ(f.Flight.Body.Heading, 1.25);
}

// Launched due east (the nose heading of sample 5): the flight's heading
// is 90 / 57.3 for the replay, the camera 8.60 m east and 2.66 m north, the
// deck 10 m out to the east.
TEST_F(ReplayOpening, TheRecordedHeadingTurnsTheCameraAndThePlatform) {
  ReplayFixture f(100);
  for (int i = 0; i < 100; ++i) f.Record.Row(i).HeadingDeg = 90;
  f.Flight.Body.Heading = 0.5;
  ReplayPlayer& p = f.Open(0, 0, 0);
  EXPECT_NEAR(f.Flight.Body.Heading, 90 / 57.3, 1e-12);
  EXPECT_NEAR(p.State.CameraX, 8.60, 0.005);
  EXPECT_NEAR(p.State.CameraY, 2.66, 0.005);
  const double corners[][2] = {{0, 5}, {10, 5}, {10, -5}, {0, -5}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(p.Scenery.X[static_cast<std::size_t>(i + 1)], corners[i][0], 0.002) << i;
    EXPECT_NEAR(p.Scenery.Y[static_cast<std::size_t>(i + 1)], corners[i][1], 0.002) << i;
  }
}

// A saved camera is kept; an unset one gets the band of the launch height,
// each band with its lower bound.
TEST_F(ReplayOpening, SavedCameraKeptAndDefaultIndexBands) {
  ReplayFixture f;
  ReplayPlayer& p = f.Open(0.5, 0.5, 2);
  EXPECT_EQ(p.State.CameraX, 0.5);
  EXPECT_EQ(p.State.CameraHeightIndex, 2);
  const struct {
    bool powered;
    double height;
    int16_t index;
  } bands[] = {{false, 1.49, 0}, {false, 1.5, 1}, {false, 3, 2},   {false, 5, 3},    {false, 7, 4},
               {false, 9.5, 5},  {false, 10, 5},  {false, 13, 6},  {false, 17.5, 7}, {false, 25, 8},
               {false, 44.9, 8}, {false, 45, 9},  {true, 2.9, 0},  {true, 3, 1},     {true, 10, 2},
               {true, 249, 2},   {true, 250, 3}};
  for (const auto& b : bands) EXPECT_EQ(DefaultCameraIndex(b.powered, b.height), b.index) << b.height;
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
  p.State.Position = 1.0;
  p.StepBack();  // at the first sample: nothing
  EXPECT_EQ(p.State.Position, 1.0);
  p.State.Position = 1.5;
  p.State.Speed = 1;
  p.StepBack();
  EXPECT_EQ(p.State.Position, 0.5);
  EXPECT_EQ(p.State.Speed, 0.0);
  p.Advance();
  EXPECT_EQ(p.State.Position, 1.0);
}

// A step moves one sample and pauses, with the click of the transition
// sound; nothing moves once the replay has ended (position 0 or less), and
// a step back needs a position above the first sample.
TEST_F(ReplayPlayback, StepsMoveOneSampleEachWay) {
  const struct {
    bool forward;
    double from, speed, to, speedAfter;
    int clicks;
  } cases[] = {
      {true, 100, 1, 101, 0, 1},   {true, 100.5, -8, 101.5, 0, 1}, {true, 1, 0, 2, 0, 1},
      {true, 0, 0, 0, 0, 0},       {true, -0.5, 1, -0.5, 1, 0},    {false, 100, 1, 99, 0, 1},
      {false, 2, 8, 1, 0, 1},      {false, 1, 1, 1, 1, 0},         {false, -0.5, 1, 0, 1, 0},
  };
  ReplayFixture f(400);
  ReplayPlayer& p = f.Open(5, 5, 1);
  int clicks = 0;
  p.Sounds.PlayTransition = [&] { ++clicks; };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.forward ? "forward from " : "back from ") << c.from);
    clicks = 0;
    p.State.Position = c.from;
    p.State.Speed = c.speed;
    if (c.forward) {
      p.StepForward();
    } else {
      p.StepBack();
    }
    EXPECT_EQ(p.State.Position, c.to);
    EXPECT_EQ(p.State.Speed, c.speedAfter);
    EXPECT_EQ(clicks, c.clicks);
  }
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

TEST_F(ReplayPlayback, SoundLevelsAndMarks) {
  ReplayFixture f(400);
  ReplayPlayer& p = f.Open(0, 0, 1);
  std::vector<uint32_t> volumes;
  std::vector<std::string> played;
  p.Sounds.SoundOn = 1;
  p.Sounds.BaseWaveVolume = 40000;
  p.Sounds.LoopSound = "wind";
  p.Sounds.LaunchSound = "shoot";
  p.Sounds.SetWaveVolume = [&](uint32_t v) { volumes.push_back(v); };
  p.Sounds.PlaySound = [&](const std::string& s, unsigned) { played.push_back(s); };
  f.Record.LaunchMarkTenths = 10;
  f.Record.LaunchMarkSamples[1] = 30;
  p.State.Position = 33;
  p.State.Sample = 33;
  p.SoundStep();  // paused: both channels all but silent
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0], 0x00010001u);
  EXPECT_EQ(played, std::vector<std::string>{"shoot"});
  p.SoundStep();  // the mark plays once
  EXPECT_EQ(played.size(), 1u);
  p.State.Position = 38;
  p.SoundStep();  // past the mark the wind comes back
  EXPECT_EQ(played, (std::vector<std::string>{"shoot", "wind"}));
  // Fast forward is as silent as a pause.
  p.State.Speed = 8;
  p.SoundStep();
  EXPECT_EQ(volumes.back(), 0x00010001u);
  // Switched off: nothing is touched.
  p.Sounds.SoundOn = 0;
  p.SoundStep();
  EXPECT_EQ(volumes.size(), 4u);
  EXPECT_EQ(played.size(), 2u);
}

}  // namespace
}  // namespace zarv::replay
