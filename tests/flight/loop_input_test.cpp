// The loop's input step worked by hand: the joystick lever's numbers and
// which sound plays after a burst or a hit on the companion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flight/loop_input.h"
#include "platform/runtime/clock.h"
#include "program_test.h"

namespace zarv::flight {
namespace {

using aircraft::EngineKind;

// A powered aircraft 100 m up, the flight screen active with its sound on,
// on a pass that draws a frame and serves the sounds.
class LoopInputTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    SetClockSource(&clock_);
    a_.LaunchSpeed = 150;
    a_.EngineCount = 1;
    options_.SoundOn = 1;
    options_.FlightScreenActive = 1;
    seams_.PlaySound = [this](const std::string& path, unsigned flags) {
      played_.push_back(path + " " + std::to_string(flags));
    };
    seams_.UpdateWindSound = [this] { ++levels_; };
    Fresh();
  }
  void TearDown() override {
    ResetClockSource();
    ProgramTest::TearDown();
  }
  void Fresh() {
    *s_ = FlightState{};
    s_->Body.Altitude = 100;
    s_->Loop.DisplayDivisor = 2;
    s_->Pilot.MouseSteering = 1;
  }
  void Pass() { ProcessLoopInput(*s_, *record_, a_, options_, seams_); }

  ManualClock clock_{100000};
  std::unique_ptr<FlightState> s_ = std::make_unique<FlightState>();
  std::unique_ptr<FlightRecord> record_ = std::make_unique<FlightRecord>();
  aircraft::AircraftData a_;
  FlightOptions options_;
  FlightSeams seams_;
  std::vector<std::string> played_;
  int levels_ = 0;
};

// The lever reads 0..65535 from forward to back; its value in detent units
// is (1 + 1 - z / 32767) x 128 once the axis has reported, 128 before.
TEST_F(LoopInputTest, JoystickLeverValuesAtBothEndsAndAtTheDetent) {
  const struct {
    const char* name;
    EngineKind kind;
    double abMax;
    int32_t detent;
    uint32_t z;
    int32_t present;
    int16_t value;
    double throttle, afterburner;
  } cases[] = {
      {"never moved", EngineKind::Piston, 1, 10, 0, 0, 128, 0.5724490, 1.3},
      {"middle", EngineKind::Piston, 1, 10, 32767, 0, 128, 0.5724490, 1.3},
      {"three quarters back", EngineKind::Piston, 1, 10, 49150, 1, 64, 0.3112245, 1.3},
      {"back end: a tenth", EngineKind::Piston, 1, 10, 65535, 1, 0, 0.1, 1.3},
      {"front end: full", EngineKind::Piston, 1, 10, 0, 1, 256, 1.0, 1.3},
      {"rocket middle", EngineKind::Rocket, 1, 10, 32767, 1, 128, 0.5024490, 1.3},
      {"rocket back end: none", EngineKind::Rocket, 1, 10, 65535, 1, 0, 0.0, 1.3},
      {"half the detent", EngineKind::Jet, 1.6, 100, 52734, 1, 50, 0.525, 1.0},
      {"at the detent", EngineKind::Jet, 1.6, 100, 39935, 1, 100, 1.0, 1.0},
      {"1.1 detents: not above", EngineKind::Jet, 1.6, 100, 37375, 1, 110, 1.0, 1.0},
      {"just above", EngineKind::Jet, 1.6, 100, 37119, 1, 111, 1.0, 1 + 0.6 * 11 / 145},
      {"245: full afterburner", EngineKind::Jet, 1.6, 100, 2816, 1, 245, 1.0, 1.6},
      {"front end: held at full", EngineKind::Jet, 1.6, 100, 0, 1, 256, 1.0, 1.6},
  };
  options_.JoystickOn = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    s_->Engine.EngineType = c.kind;
    s_->Engine.AfterburnerMax = c.abMax;
    s_->Engine.AfterburnerLevel = 1.3;
    s_->Engine.Throttle = 0.5;
    s_->Pilot.ThrottleDetent = c.detent;
    s_->Pilot.JoyZpos = c.z;
    s_->Pilot.JoyAxisPresentZ = c.present;
    Pass();
    EXPECT_EQ(s_->Pilot.ThrottleAxisValue, c.value);
    EXPECT_NEAR(s_->Engine.Throttle, c.throttle, 1e-7);
    EXPECT_NEAR(s_->Engine.AfterburnerLevel, c.afterburner, 1e-12);
  }
}

// A hit plays "burn.wav" once, marks the sound's start for the log and the
// replay, and the wind loop comes back 0.7 s after the hit.
TEST_F(LoopInputTest, AHitPlaysTheBurnSoundOnceThenTheWindLoopAgain) {
  const std::string burn = "/home/zarv/PData/burn.wav", wind = "/home/zarv/PData/wind.wav";
  auto hit = [&] {
    Fresh();
    s_->Sound.BurnSound = burn;
    s_->Sound.LoopSound = wind;
    s_->Sound.TriggerTime = Timer() - 0.3;
    s_->Sound.HitSoundTime = s_->Sound.LastHitTime = Timer() - 0.05;
    record_->RecordCount = 321;
    record_->SoundStartCount = 0;
    played_.clear();
    levels_ = 0;
  };
  hit();
  for (int i = 0; i < 6; ++i) {
    Pass();
    clock_.Advance(100);
  }
  EXPECT_EQ(played_, std::vector<std::string>{burn + " 1"});
  EXPECT_EQ(record_->SoundStartCount, 1);
  EXPECT_EQ(record_->SoundStartSamples[1], 321);
  EXPECT_EQ(levels_, 0);  // the hit's level stands meanwhile
  clock_.Advance(100);
  Pass();
  EXPECT_EQ(played_, (std::vector<std::string>{burn + " 1", wind + " 9"}));
  EXPECT_EQ(s_->Sound.HitSoundPlaying, 0);
  EXPECT_EQ(levels_, 2);

  // No hit sound for a light aircraft, with the sound off, with the flight
  // screen inactive or without a usable path: only the levels.
  for (int gate = 0; gate < 4; ++gate) {
    SCOPED_TRACE(gate);
    hit();
    a_.LaunchSpeed = gate == 0 ? 10 : 150;
    options_.SoundOn = gate == 1 ? 0 : 1;
    options_.FlightScreenActive = gate == 2 ? 0 : 1;
    if (gate == 3) s_->Sound.BurnSound = "burn.wav";
    Pass();
    EXPECT_TRUE(played_.empty());
    EXPECT_EQ(record_->SoundStartCount, 0);
    EXPECT_EQ(levels_, gate == 3 ? 0 : 1);
  }
}

// A burst that hits nothing: "shoot.wav" and the burst's level stand for
// 0.7 s, then the wind loop comes back once. Passes 25 ms apart from 10 ms
// after the trigger: the 28th, at 0.685 s, is the last inside.
TEST_F(LoopInputTest, ABurstsSoundStandsForItsTimeThenTheWindLoopAgain) {
  const std::string wind = "/home/zarv/PData/wind.wav";
  s_->Sound.BurnSound = "/home/zarv/PData/burn.wav";
  s_->Sound.LoopSound = wind;
  s_->Sound.TriggerTime = static_cast<float>(Timer());
  s_->Sound.SoundRefresh = 1;  // as the burst leaves it
  clock_.Advance(10);
  for (int i = 0; i < 28; ++i) {
    Pass();
    clock_.Advance(25);
  }
  EXPECT_TRUE(played_.empty());
  EXPECT_EQ(levels_, 0);
  Pass();
  EXPECT_EQ(played_, std::vector<std::string>{wind + " 9"});
  EXPECT_EQ(s_->Sound.SoundRefresh, 0);
  EXPECT_EQ(levels_, 2);
  clock_.Advance(25);
  Pass();
  EXPECT_EQ(played_.size(), 1u);  // once
  EXPECT_EQ(levels_, 3);
}

}  // namespace
}  // namespace zarv::flight
