#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/devices/joystick.h"
#include "platform/devices/joystick_axis.h"
#include "program_test.h"

namespace zarv {
namespace {

// Uses SDL virtual joysticks; a real joystick on the machine would take
// index 0, so the tests then skip.
class DevicesJoystick : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    SDL_JoystickUpdate();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is connected";
  }
  void TearDown() override {
    ProgramTest::TearDown();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  // Attaches a virtual joystick and returns an open handle to set its state.
  static SDL_Joystick* Attach(int axes, int buttons) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, 0);
    return index < 0 ? nullptr : SDL_JoystickOpen(index);
  }
  static void Detach(SDL_Joystick* js) {
    const int index = 0;  // the only device
    SDL_JoystickClose(js);
    SDL_JoystickDetachVirtual(index);
  }
};

TEST_F(DevicesJoystick, NoJoystickLeavesRecordUnchanged) {
  JOYINFO info{1, 2, 3, 4};
  EXPECT_NE(joyGetPos(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.wXpos, 1u);
  EXPECT_EQ(info.wYpos, 2u);
  EXPECT_EQ(info.wZpos, 3u);
  EXPECT_EQ(info.wButtons, 4u);
  EXPECT_EQ(joyGetPos(1, &info), JOYERR_PARMS);
  EXPECT_EQ(joyGetPos(0, nullptr), JOYERR_PARMS);
  EXPECT_EQ(joyReleaseCapture(0), JOYERR_NOERROR);
}

TEST_F(DevicesJoystick, MapsAxesAndButtonsAndFollowsPlugging) {
  JOYINFO info;
  EXPECT_EQ(joyGetPos(0, &info), JOYERR_UNPLUGGED);  // nothing yet

  SDL_Joystick* js = Attach(3, 12);
  ASSERT_NE(js, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(js, 0, -32768);
  SDL_JoystickSetVirtualAxis(js, 1, 32767);
  SDL_JoystickSetVirtualAxis(js, 2, 0);
  SDL_JoystickSetVirtualButton(js, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(js, 3, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(js, 11, SDL_PRESSED);
  ASSERT_EQ(joyGetPos(0, &info), JOYERR_NOERROR);  // picked up after a failed poll
  EXPECT_EQ(info.wXpos, 0u);
  EXPECT_EQ(info.wYpos, 65535u);
  EXPECT_EQ(info.wZpos, kJoyAxisCentre);  // at rest
  EXPECT_EQ(info.wButtons, 0x809u);

  SDL_JoystickSetVirtualButton(js, 0, SDL_RELEASED);
  SDL_JoystickSetVirtualAxis(js, 0, 16384);
  ASSERT_EQ(joyGetPos(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.wXpos, 49152u);
  EXPECT_EQ(info.wButtons, 0x808u);

  // Pulled out: the last reading stays.
  Detach(js);
  EXPECT_EQ(joyGetPos(0, &info), JOYERR_UNPLUGGED);
  EXPECT_EQ(info.wXpos, 49152u);
  EXPECT_EQ(info.wButtons, 0x808u);

  // A stick without a throttle axis reads Z as 0; one without any axis
  // rests in the centre.
  js = Attach(2, 4);
  ASSERT_NE(js, nullptr) << SDL_GetError();
  ASSERT_EQ(joyGetPos(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.wXpos, kJoyAxisCentre);
  EXPECT_EQ(info.wZpos, 0u);
  EXPECT_EQ(info.wButtons, 0u);
  Detach(js);
  js = Attach(0, 1);
  ASSERT_NE(js, nullptr) << SDL_GetError();
  ASSERT_EQ(joyGetPos(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.wXpos, kJoyAxisCentre);
  EXPECT_EQ(info.wYpos, kJoyAxisCentre);
  Detach(js);
}

// The flight loop centres an axis by subtracting 32767 and reads the lever
// from 0..65535: the ends and the rest position must land exactly there.
TEST(JoystickAxisScaling, EndsCentreAndOrder) {
  EXPECT_EQ(ScaleJoystickAxis(-32768), 0u);
  EXPECT_EQ(ScaleJoystickAxis(0), 32767u);
  EXPECT_EQ(ScaleJoystickAxis(32767), 65535u);
  EXPECT_EQ(ScaleJoystickAxis(-1), 32766u);
  EXPECT_EQ(ScaleJoystickAxis(1), 32768u);
  EXPECT_EQ(ScaleJoystickAxis(-16384), 16384u);
  EXPECT_EQ(ScaleJoystickAxis(16384), 49152u);
  // Outside the raw range: held at the ends.
  EXPECT_EQ(ScaleJoystickAxis(-40000), 0u);
  EXPECT_EQ(ScaleJoystickAxis(40000), 65535u);
  // Never falling over the whole raw range, and no step above two.
  uint32_t last = ScaleJoystickAxis(-32768);
  for (int32_t raw = -32767; raw <= 32767; ++raw) {
    const uint32_t v = ScaleJoystickAxis(raw);
    ASSERT_GE(v, last) << raw;
    ASSERT_LE(v - last, 2u) << raw;
    last = v;
  }
}

}  // namespace
}  // namespace zarv
