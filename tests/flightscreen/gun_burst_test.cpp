// The gun burst: when it fires, what it arms for the rounds, the shot's
// sound levels, and what an impossible burst does instead.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "flightscreen/gun_burst.h"
#include "platform/runtime/sound_flags.h"

namespace zarv::flightscreen {
namespace {

class GunBurstTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s_.Reset();
    r_.Reset();
    companions_ = 500;
    panelOpen_ = false;
    s_.Body.Distance = 120;
    s_.Body.Altitude = 300;
    s_.Pilot.MouseSteering = 1;
    s_.Sound.TriggerTime = 0;
    s_.Loop.StepsSinceTrigger = 900;
    s_.Sound.HitFlag = 1;
    r_.RecordCount = 4321;
  }

  GunBurstContext Context() {
    GunBurstContext c{s_, r_, companions_, panelOpen_, target_, {}};
    c.Sound.ShootSound = shoot_;
    c.Sound.SoundOn = soundOn_;
    c.Sound.BaseVolume = base_;
    c.Sound.LeftChannelVolume = &left_;
    c.Sound.RightChannelVolume = &right_;
    c.Sound.SoundVolumeRatio = &ratio_;
    c.Sound.Play = [this](const std::string& file, unsigned flags) { played_.emplace_back(file, flags); };
    c.Sound.SetWaveVolume = [this](uint32_t v) { volumes_.push_back(v); };
    return c;
  }
  bool Fire(double now) {
    GunBurstContext c = Context();
    return FireGunBurst(c, now);
  }

  flight::FlightState s_;
  flight::FlightRecord r_;
  int32_t companions_ = 500;
  bool panelOpen_ = false;
  int16_t target_ = 0;
  std::string shoot_ = "/home/pilot/PData/shoot.wav";
  int16_t soundOn_ = 1;
  int32_t base_ = 40000, left_ = 0, right_ = 0;
  double ratio_ = 0;
  std::vector<std::pair<std::string, unsigned>> played_;
  std::vector<uint32_t> volumes_;
};

TEST_F(GunBurstTest, BurstArmsTheRoundsMarksTheRecordAndPlaysTheShot) {
  r_.LaunchMarkTenths = 20;
  ASSERT_TRUE(Fire(100.3));
  EXPECT_EQ(s_.Sound.HitFlag, 0);
  EXPECT_EQ(s_.Sound.TriggerTime, static_cast<double>(100.3f));  // kept as a single
  EXPECT_EQ(s_.Loop.StepsSinceTrigger, 0);
  EXPECT_EQ(target_, 30);
  EXPECT_EQ(r_.LaunchMarkSamples[3], 4321);  // the third burst
  EXPECT_EQ(s_.Sound.SoundRefresh, 1);
  ASSERT_EQ(played_.size(), 1u);
  EXPECT_EQ(played_[0].second, SND_ASYNC);
  // A gun other than a jet's plays at the user's level on both sides.
  EXPECT_EQ(left_, 40000);
  EXPECT_EQ(right_, 40000);
  EXPECT_DOUBLE_EQ(ratio_, 1.0);
  ASSERT_EQ(volumes_.size(), 1u);
  EXPECT_EQ(volumes_[0], 40000u * 65536u + 40000u);
}

TEST_F(GunBurstTest, JetShotIsLouderOnTheRightAndLimited) {
  s_.Engine.EngineType = aircraft::EngineKind::Jet;
  base_ = 50000;
  ASSERT_TRUE(Fire(10));
  EXPECT_EQ(left_, 33500);
  EXPECT_EQ(right_, 65535);
  EXPECT_NEAR(ratio_, 1.085, 1e-12);  // taken before the limit
  ASSERT_EQ(volumes_.size(), 1u);
  EXPECT_EQ(volumes_[0], 65535u * 65536u + 33500u);
}

TEST_F(GunBurstTest, SilentBurstStillFiresAndKeepsItsMark) {
  for (int variant = 0; variant < 3; ++variant) {
    SetUp();
    played_.clear();
    volumes_.clear();
    soundOn_ = variant == 0 ? 0 : 1;
    shoot_ = variant == 1 ? "a/shot.wav" : "/home/pilot/PData/shoot.wav";  // ten characters: too short
    base_ = variant == 2 ? 0 : 40000;
    r_.LaunchMarkTenths = 0;
    ASSERT_TRUE(Fire(50)) << variant;
    EXPECT_EQ(r_.LaunchMarkSamples[1], 4321) << variant;
    EXPECT_EQ(s_.Sound.SoundRefresh, 1) << variant;
    if (variant < 2) {
      EXPECT_TRUE(played_.empty()) << variant;
      EXPECT_TRUE(volumes_.empty()) << variant;
    } else {
      EXPECT_DOUBLE_EQ(ratio_, 0.0);  // no level to speak of
      EXPECT_EQ(left_, 0);
    }
  }
}

TEST_F(GunBurstTest, ImpossibleBurstOnlyTakesTheMouse) {
  struct Case {
    const char* name;
    std::function<void()> set;
  } cases[] = {
      {"no companion", [this] { companions_ = 0; }},
      {"two seconds not past", [this] { s_.Sound.TriggerTime = 48; }},
      {"keyboard steering", [this] { s_.Pilot.MouseSteering = 0; }},
      {"on the platform", [this] { s_.Body.Distance = 0; }},
      {"option panel open", [this] { panelOpen_ = true; }},
      {"in the water", [this] { s_.Body.Altitude = 0; }},
      {"magazine empty", [this] { r_.LaunchMarkTenths = 300; }},
  };
  for (const Case& c : cases) {
    SetUp();
    played_.clear();
    c.set();
    const double trigger = s_.Sound.TriggerTime;
    EXPECT_FALSE(Fire(50)) << c.name;
    EXPECT_EQ(s_.Pilot.MouseSteering, 1) << c.name;
    EXPECT_EQ(s_.Sound.TriggerTime, trigger) << c.name;
    EXPECT_EQ(s_.Loop.StepsSinceTrigger, 900) << c.name;
    EXPECT_EQ(s_.Sound.SoundRefresh, 0) << c.name;
    EXPECT_TRUE(played_.empty()) << c.name;
  }
  // Just past two seconds the next burst goes.
  SetUp();
  s_.Sound.TriggerTime = 47.9;
  EXPECT_TRUE(Fire(50));
}

TEST_F(GunBurstTest, ThirtiethBurstIsTheLast) {
  r_.LaunchMarkTenths = 290;
  ASSERT_TRUE(Fire(10));
  EXPECT_EQ(target_, 300);
  EXPECT_EQ(r_.LaunchMarkSamples[30], 4321);
  r_.LaunchMarkTenths = 300;
  EXPECT_FALSE(Fire(20));
}

}  // namespace
}  // namespace zarv::flightscreen
