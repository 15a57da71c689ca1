// The joystick buttons in flight: which functions a button word triggers,
// the repeat guard, and the poll that feeds the flight loop.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flight/flight_seams.h"
#include "flightscreen/joystick_link.h"
#include "joystick_fixture.h"

namespace zarv::flightscreen {
namespace {

class JoyDispatchTest : public testing::JoystickTest {
 protected:
  void SetUp() override {
    JoystickTest::SetUp();
    aircraft::Aircraft().LaunchSpeed = 60;  // powered
    aircraft::Aircraft().TailplaneArm = 4;
    JoystickLink& link = Joystick();
    link.UiDeadline = &deadline_;
    link.Commands.TakeoffCommand = [this] { calls_.push_back("takeoff"); };
    link.Commands.FireGunBurst = [this] { calls_.push_back("gun"); };
    link.Commands.ToggleGear = [this] { calls_.push_back("gear"); };
    link.Commands.FlapUp = [this] { calls_.push_back("flapup"); };
    link.Commands.FlapDown = [this] { calls_.push_back("flapdown"); };
    link.Commands.ToggleFuelDump = [this] { calls_.push_back("dump"); };
  }
  // One press, past the guard.
  void Press(uint32_t buttons) {
    clock_.Advance(1000);
    flight::State().Pilot.JoyButtons = buttons;
    DispatchJoystickButtons();
  }
  void MapAll() {
    for (int i = 0; i < kJoyFunctionCount; ++i) JoyMap().Entries[static_cast<size_t>(i)] = 1 << i;
  }

  double deadline_ = 0;
  std::vector<std::string> calls_;
};

TEST_F(JoyDispatchTest, EachButtonItsFunctionOnAPoweredAircraft) {
  MapAll();
  flight::FlightState& s = flight::State();
  flight::Companion().CompanionSampleCount = 500;
  s.Engine.TvcCapability = 1;
  for (int i : {0, 1, 7, 8, 9, 10}) Press(1u << i);
  EXPECT_EQ(calls_, (std::vector<std::string>{"takeoff", "gun", "gear", "flapup", "flapdown", "dump"}));

  Press(1u << kJoyBrakeHold);
  EXPECT_EQ(s.Pilot.BrakeOn, 1);
  Press(1u << kJoyBrakeHold);
  EXPECT_EQ(s.Pilot.BrakeOn, 0);
  Press(1u << kJoyTvc);
  EXPECT_EQ(s.Engine.TvcOn, 1);
  Press(1u << kJoyTvc);
  EXPECT_EQ(s.Engine.TvcOn, 0);
  s.Engine.TvcCapability = 0;
  Press(1u << kJoyTvc);
  EXPECT_EQ(s.Engine.TvcOn, 0);  // nothing to switch on

  // Without a companion the steering button does nothing on a powered aircraft.
  flight::Companion().CompanionSampleCount = 0;
  calls_.clear();
  const int16_t steering = s.Pilot.MouseSteering;
  Press(1u << kJoySteeringOrGun);
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(s.Pilot.MouseSteering, steering);
}

TEST_F(JoyDispatchTest, LightAircraftSteeringToggleAndNoSystemCommands) {
  MapAll();
  aircraft::Aircraft().LaunchSpeed = 8;
  flight::FlightState& s = flight::State();
  s.Engine.TvcCapability = 1;
  s.Pilot.MouseSteering = 1;
  s.Controls.RudderDemand = 0.1;
  Press(1u << kJoySteeringOrGun);
  EXPECT_EQ(s.Pilot.MouseSteering, 0);
  EXPECT_EQ(s.Controls.RudderDemand, 0);
  Press(1u << kJoySteeringOrGun);
  EXPECT_EQ(s.Pilot.MouseSteering, 1);
  for (int i = kJoyGear; i <= kJoyTvc; ++i) Press(1u << i);
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(s.Engine.TvcOn, 0);
}

TEST_F(JoyDispatchTest, ChordsMatchWholeAndSharedMasksBothAct) {
  JoyMap().Entries[kJoyTakeoff] = 1;
  JoyMap().Entries[kJoyBrakeHold] = 2;
  JoyMap().Entries[kJoyGear] = 3;
  Press(3);
  EXPECT_EQ(calls_, std::vector<std::string>{"gear"});
  EXPECT_EQ(flight::State().Pilot.BrakeOn, 0);

  // Trim up and down on one button: snapped to the step grid, then back.
  JoyMap().Entries[kJoyTrimNoseUp] = 4;
  JoyMap().Entries[kJoyTrimNoseDown] = 4;
  flight::FlightState& s = flight::State();
  s.Controls.ElevatorCommand = 10.2 / 171.9;
  Press(4);
  EXPECT_DOUBLE_EQ(s.Controls.ElevatorCommand, 10 / 171.9);
}

TEST_F(JoyDispatchTest, TrimStepsFollowTheTailplaneSide) {
  JoyMap().Entries[kJoyTrimNoseUp] = 1;
  JoyMap().Entries[kJoyTrimNoseDown] = 2;
  JoyMap().Entries[kJoyFinTrimLeft] = 4;
  JoyMap().Entries[kJoyFinTrimRight] = 8;
  flight::FlightState& s = flight::State();
  Press(1);
  EXPECT_DOUBLE_EQ(s.Controls.ElevatorCommand, -1 / 171.9);  // tailplane behind the wing
  Press(2);
  Press(2);
  EXPECT_DOUBLE_EQ(s.Controls.ElevatorCommand, 1 / 171.9);
  aircraft::Aircraft().TailplaneArm = -2;  // canard
  s.Controls.ElevatorCommand = 0;
  Press(1);
  EXPECT_DOUBLE_EQ(s.Controls.ElevatorCommand, 1 / 171.9);
  Press(4);
  EXPECT_DOUBLE_EQ(s.Pilot.RudderCommand, 1 / 171.9);
  Press(8);
  Press(8);
  EXPECT_DOUBLE_EQ(s.Pilot.RudderCommand, -1 / 171.9);
}

TEST_F(JoyDispatchTest, HeldButtonRepeatsEveryThreeTenthsOfASecond) {
  JoyMap().Entries[kJoyTakeoff] = 1;
  flight::State().Pilot.JoyButtons = 1;
  // The flight loop calls on every step while the button is down: 1 s at 40 steps/s.
  for (int step = 0; step < 40; ++step) {
    DispatchJoystickButtons();
    clock_.Advance(25);
  }
  EXPECT_EQ(calls_.size(), 4u);
}

TEST_F(JoyDispatchTest, GuardsHoldEverythingOff) {
  JoyMap().Entries[kJoyTakeoff] = 1;
  // A take-off command from the keyboard 0.2 s ago.
  deadline_ = Timer() - 0.2;
  flight::State().Pilot.JoyButtons = 1;
  DispatchJoystickButtons();
  EXPECT_TRUE(calls_.empty());
  // A long task started half a second ago.
  clock_.Advance(1000);
  shell::Shell().TaskStartTime = Timer() - 0.5;
  DispatchJoystickButtons();
  EXPECT_TRUE(calls_.empty());
  // The device dialog is the active window.
  clock_.Advance(1000);
  shell::Shell().FormActiveFlags[shell::kSlotDevice] = 1;
  const double before = deadline_;
  DispatchJoystickButtons();
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(deadline_, before);  // a refused dispatch changes nothing
  shell::Shell().FormActiveFlags[shell::kSlotDevice] = 0;
  DispatchJoystickButtons();
  EXPECT_EQ(calls_.size(), 1u);
}

TEST_F(JoyDispatchTest, NoButtonChangesOnlyTheDeadline) {
  // Unassigned functions (0) never match, not even an empty button word.
  Press(0);
  EXPECT_TRUE(calls_.empty());
  EXPECT_FLOAT_EQ(static_cast<float>(deadline_), static_cast<float>(Timer()));
  EXPECT_EQ(flight::State().Pilot.BrakeOn, 0);
  EXPECT_EQ(flight::State().Controls.ElevatorCommand, 0);
}

TEST_F(JoyDispatchTest, WallClockJumpsDoNotHoldTheGuard) {
  JoyMap().Entries[kJoyTakeoff] = 1;
  clock_.SetNow(DateTime{2026, 12, 6, 23, 59, 59});
  Press(1);
  // Midnight passes: the wall clock starts again at 0, the guard does not care.
  clock_.SetNow(DateTime{2026, 12, 7, 0, 0, 0});
  clock_.Advance(400);
  DispatchJoystickButtons();
  EXPECT_EQ(calls_.size(), 2u);
}

TEST_F(JoyDispatchTest, SeamsPollAndDispatchThroughTheFlightState) {
  if (!Plug(3, 12)) GTEST_SKIP() << "no virtual joystick (or a real one is plugged in)";
  JoyMap().Entries[kJoyGear] = 1u << 4;
  flight::FlightSeams seams;
  FillJoystickSeams(seams);
  ASSERT_TRUE(seams.PollJoystick);
  ASSERT_TRUE(seams.DispatchJoystickButtons);
  flight::FlightState& s = flight::State();

  SetAxis(0, -32768);
  SetAxis(1, 0);
  SetAxis(2, 32767);
  Hold(1u << 4);
  seams.PollJoystick();
  EXPECT_EQ(s.Pilot.JoyXpos, 0u);
  EXPECT_EQ(s.Pilot.JoyYpos, 32767u);
  EXPECT_EQ(s.Pilot.JoyZpos, 65535u);
  EXPECT_EQ(s.Pilot.JoyButtons, 16u);
  clock_.Advance(1000);
  seams.DispatchJoystickButtons();
  EXPECT_EQ(calls_, std::vector<std::string>{"gear"});

  // Pulled out: the record keeps its last reading.
  Unplug();
  seams.PollJoystick();
  EXPECT_EQ(s.Pilot.JoyZpos, 65535u);
  EXPECT_EQ(s.Pilot.JoyButtons, 16u);
}

}  // namespace
}  // namespace zarv::flightscreen
