// The device dialog offscreen, with a virtual joystick where buttons or the
// lever matter: layouts, button capture, the value bars and what Done and
// Cancel keep.
#include "flightscreen/device_form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "joystick_fixture.h"
#include "platform/runtime/files.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"

namespace zarv::flightscreen {
namespace {

class DeviceDialogTest : public testing::JoystickTest {
 protected:
  void SetUp() override {
    JoystickTest::SetUp();
    Application::Ensure();
    Joystick().JoystickBoxValue = [this] { return box_; };
    Joystick().FlightScreenTopLeft = [] { return std::make_pair(0.0, 0.0); };
  }
  void TearDown() override {
    if (Device().Loaded()) Device().Unload();
    JoystickTest::TearDown();
  }
  // A jet: powered, PCAS, with afterburner and thrust vectoring.
  static void Fighter() {
    flight::FlightState& s = flight::State();
    s.Engine.EngineRating = 9000;
    s.Engine.AfterburnerMax = 2.5;
    s.Engine.TvcCapability = 2;
    aircraft::Aircraft().LaunchSpeed = 100;
  }
  static void Glider() {
    flight::State().Engine.EngineRating = 0;
    flight::State().Engine.AfterburnerMax = 1;
    aircraft::Aircraft().LaunchSpeed = 8;
  }
  DeviceForm& Open() {
    OpenDeviceDialog();
    return Device();
  }
  static void Tick() { Device().Timer1.OnTimer(); }
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < Device().List1.ListCount(); ++i) rows.push_back(Device().List1.List(i));
    return rows;
  }

  int box_ = 1;
};

TEST_F(DeviceDialogTest, LayoutsFollowTheJoystickBoxAndTheEngineRating) {
  Fighter();
  flight::State().Engine.EngineRating = 8999.9;
  aircraft::Aircraft().LaunchHeight = 1;
  DeviceForm& d = Open();
  EXPECT_EQ(d.Layout(), DeviceLayout::JoystickRatios);
  EXPECT_EQ(d.Caption(), "ｼﾞｮｲｽﾃｨｯｸのボタン、動作比率の設定");
  EXPECT_EQ(d.List1.ListCount(), 8);
  EXPECT_EQ(d.List1.List(0), "スタート");  // launched from 1 m up
  EXPECT_EQ(d.List1.List(6), "ﾛｰﾙ動作比率");
  d.Unload();
  // As the set-up leaves the height (0 or above 1 m): the first row starts
  // from above the surface and works the brakes on it.
  for (const auto& [height, row] : {std::pair{0.0, "Wheel Brakes on/off"}, {1.0001, "スタート"}, {15.0, "スタート"}}) {
    aircraft::Aircraft().LaunchHeight = height;
    Open();
    EXPECT_EQ(d.List1.List(0), row) << height;
    d.Unload();
  }
  aircraft::Aircraft().LaunchHeight = 0.5;

  flight::State().Engine.EngineRating = 9000;
  Open();
  EXPECT_EQ(d.Layout(), DeviceLayout::JoystickPcas);
  EXPECT_EQ(d.Caption(), "ｼﾞｮｲｽﾃｨｯｸのボタン、ＰＣＡＳの設定");
  EXPECT_EQ(d.FunctionRowCount(), 12);
  EXPECT_EQ(d.List1.List(1), "Joy <-> Key Change");
  EXPECT_EQ(d.List1.List(11), "TVC on/off");
  EXPECT_EQ(d.List1.List(12), "ﾋﾟｯﾁ動作比率");
  EXPECT_TRUE(d.Text1(11).Visible());
  EXPECT_TRUE(d.VScroll5.Visible());
  EXPECT_GT(d.GaugeLeft(), 0);
  d.Unload();

  // No thrust vectoring worth a row, a companion loaded: eleven rows, the gun.
  flight::State().Engine.TvcCapability = 1;
  flight::Companion().CompanionSampleCount = 300;
  Open();
  EXPECT_EQ(d.FunctionRowCount(), 11);
  EXPECT_EQ(d.List1.List(1), "Gun Fire");
  EXPECT_EQ(d.List1.ListCount(), 16);
  d.Unload();

  box_ = 0;
  Open();
  EXPECT_EQ(d.Layout(), DeviceLayout::MousePcas);
  EXPECT_EQ(d.Caption(), "ＰＣＡＳの設定");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"動翼動作速度Deg/Sec", "ﾋﾟｯﾁ応答特性", "ﾋﾟｯﾁ減衰特性"}));
  EXPECT_FALSE(d.Text2.Visible());
  EXPECT_FALSE(d.Label3.Visible());
  EXPECT_FALSE(d.VScroll1.Visible());
  EXPECT_TRUE(d.VScroll3.Visible());
  EXPECT_EQ(d.GaugeLeft(), 0);
  d.Unload();

  Glider();
  Open();
  EXPECT_EQ(d.Layout(), DeviceLayout::MouseRatios);
  EXPECT_EQ(d.Caption(), "マウスの動作比率の設定");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"動作比率水平尾翼", "動作比率垂直尾翼", "動翼動作速度Deg/Sec"}));
  EXPECT_TRUE(d.Label3.Visible());
}

TEST_F(DeviceDialogTest, CapturesTheWholeButtonWordIntoTheSelectedFunctionRow) {
  if (!Plug()) GTEST_SKIP() << "no virtual joystick (or a real one is plugged in)";
  Fighter();
  DeviceForm& d = Open();
  d.List1.SetListIndex(3);
  Hold(0b11);  // buttons 1 and 2 together
  Tick();
  EXPECT_EQ(d.Text2.Text(), " 3");
  EXPECT_EQ(d.Text1(3).Text(), "3");

  // A value row selected: nothing captured.
  d.List1.SetListIndex(12);
  Hold(0b100);
  Tick();
  EXPECT_EQ(d.Text2.Text(), " 4");
  for (int i = 0; i < kJoyFunctionCount; ++i) EXPECT_NE(d.Text1(i).Text(), "4") << i;
  // Clearing on a value row does nothing; on a function row it unassigns.
  d.Command3.SetValue(true);
  EXPECT_EQ(d.Text1(3).Text(), "3");
  d.List1.SetListIndex(3);
  d.Command3.SetValue(true);
  EXPECT_EQ(d.Text1(3).Text(), "0");
  // Letting go does not clear a code.
  d.List1.SetListIndex(0);
  Hold(0b1000);
  Tick();
  Hold(0);
  Tick();
  EXPECT_EQ(d.Text1(0).Text(), "8");
  EXPECT_EQ(d.Text2.Text(), " 0");
}

TEST_F(DeviceDialogTest, DoneStoresMapLeverAndEditsAndWritesTheFile) {
  if (!Plug()) GTEST_SKIP() << "no virtual joystick (or a real one is plugged in)";
  Fighter();
  JoyMap().Entries[12] = 77;  // reserved entries travel unchanged
  DeviceForm& d = Open();
  d.List1.SetListIndex(7);
  Hold(1u << 5);
  SetAxis(2, 0);  // lever at mid travel: reading 128
  Tick();
  EXPECT_EQ(d.Lever(), 128);
  EXPECT_EQ(flight::State().Pilot.JoyAxisPresentZ, 1);
  EXPECT_NEAR(d.LeverFraction(), (128 / 245.0 + 0.05 - 0.1) / 0.9, 1e-12);
  d.VScroll3.SetValue(10);  // 200 deg/s on a PCAS aircraft
  d.Command1.SetValue(true);

  EXPECT_FALSE(d.Loaded());
  EXPECT_EQ(JoyMap().Entries[kJoyGear], 32);
  EXPECT_EQ(JoyMap().Detent(), 128);
  EXPECT_EQ(flight::State().Pilot.ThrottleDetent, 128);
  EXPECT_EQ(aircraft::Aircraft().SurfaceRate, 200);
  EXPECT_EQ(options_.JoystickOn, 1);
  JoyButtonMap stored;
  ASSERT_TRUE(ReadJoyFile(JoyFile(), stored));
  EXPECT_EQ(stored.Entries, JoyMap().Entries);
  EXPECT_EQ(stored.Entries[12], 77);

  // The lever pushed to its far end reads 0: stored as the lowest detent.
  Open();
  SetAxis(2, 32767);
  Tick();
  EXPECT_EQ(d.Lever(), 0);
  d.Command1.SetValue(true);
  EXPECT_EQ(JoyMap().Detent(), 10);
  EXPECT_EQ(flight::State().Pilot.ThrottleDetent, 10);
}

TEST_F(DeviceDialogTest, WithoutAfterburnerTheDetentStaysAsItWas) {
  if (!Plug()) GTEST_SKIP() << "no virtual joystick (or a real one is plugged in)";
  Fighter();
  flight::State().Engine.AfterburnerMax = 1;
  JoyMap().SetDetent(150);
  DeviceForm& d = Open();
  EXPECT_EQ(d.Label2.Caption(), "");
  EXPECT_FALSE(d.Text1(kJoyTvc).Visible());
  SetAxis(2, 0);
  Tick();
  EXPECT_EQ(d.Lever(), 128);  // the gauge still follows the lever
  d.Command1.SetValue(true);
  EXPECT_EQ(JoyMap().Detent(), 150);
  EXPECT_NE(ReadAllBytes(JoyFile()).find(" 150\r\n"), std::string::npos);
}

TEST_F(DeviceDialogTest, NoJoystickReadsNothingAndTheLeverRestsAtTheBottom) {
  Fighter();
  DeviceForm& d = Open();
  d.List1.SetListIndex(0);
  Tick();
  EXPECT_EQ(d.Text2.Text(), " 0");
  EXPECT_EQ(d.Text1(0).Text(), "0");
  EXPECT_EQ(d.Lever(), 256);
  EXPECT_DOUBLE_EQ(d.LeverFraction(), 1.0);
}

TEST_F(DeviceDialogTest, BarsRoundTheValuesOnOpening) {
  Fighter();
  aircraft::AircraftData& a = aircraft::Aircraft();
  a.PitchRatio = 1.234;
  a.RollRatio = 4.0;  // off the bar's scale: held at its end, the value kept
  a.SurfaceRate = 30;
  a.PitchResponse = 2.46;
  DeviceForm& d = Open();
  EXPECT_EQ(d.Text3.Text(), "1.23");
  EXPECT_DOUBLE_EQ(a.PitchRatio, 3.0 - 177 / 100.0);
  EXPECT_EQ(d.VScroll2.Value(), 0);
  EXPECT_EQ(a.RollRatio, 4.0);
  EXPECT_EQ(d.VScroll3.Value(), 52);
  EXPECT_EQ(d.SurfaceRateEdit(), 32);
  EXPECT_EQ(d.Text5.Text(), "32");
  EXPECT_EQ(d.Text6.Text(), "2.5");
  EXPECT_EQ(a.SurfaceRate, 30);  // only Done commits the edit copies

  // The ratio bars act at once.
  d.VScroll2.SetValue(250);
  EXPECT_DOUBLE_EQ(a.RollRatio, 0.5);
  EXPECT_EQ(d.Text4.Text(), "0.50");
}

TEST_F(DeviceDialogTest, FixedTailSurfacesDisableTheirBars) {
  Glider();
  box_ = 0;
  aircraft::Aircraft().TailplaneFixed = 1;
  DeviceForm& d = Open();
  EXPECT_FALSE(d.VScroll1.Enabled());
  EXPECT_TRUE(d.VScroll2.Enabled());
  EXPECT_TRUE(d.VScroll3.Enabled());
  d.Unload();
  aircraft::Aircraft().FinFixed = 1;
  Open();
  EXPECT_FALSE(d.VScroll2.Enabled());
  EXPECT_FALSE(d.VScroll3.Enabled());
}

TEST_F(DeviceDialogTest, DoneWithTheBoxUntickedWritesNoFile) {
  Glider();
  box_ = 0;
  options_.JoystickOn = 1;
  JoyMap().Entries[kJoyTakeoff] = 4;
  aircraft::Aircraft().PitchResponse = 5;
  DeviceForm& d = Open();
  d.VScroll4.SetValue(80);
  d.Command1.SetValue(true);
  EXPECT_FALSE(std::filesystem::exists(JoyFile()));
  EXPECT_EQ(JoyMap().Entries[kJoyTakeoff], 4);
  EXPECT_DOUBLE_EQ(aircraft::Aircraft().PitchResponse, 2.0);
  EXPECT_EQ(options_.JoystickOn, 0);
}

TEST_F(DeviceDialogTest, DoneThatCannotWriteTheFileSaysSo) {
  Glider();
  JoyMap().Entries[kJoyTakeoff] = 4;
  ASSERT_TRUE(MakeDir(JoyFile() + "/in the way"));  // nothing can be written there
  ClearMessageBoxCalls();
  SetMessageBoxResponder([](const MsgBoxCall&) { return vbOK; });
  DeviceForm& d = Open();
  d.Command1.SetValue(true);
  SetMessageBoxResponder(nullptr);
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "ジョイスティックの設定を保存できませんでした。\r\n" + JoyFilePath());
  EXPECT_FALSE(d.Loaded());
  EXPECT_EQ(JoyMap().Entries[kJoyTakeoff], 4);  // the map stays in use for this run
}

TEST_F(DeviceDialogTest, CancelKeepsEverythingAndActiveFlagsFollowTheDialog) {
  Fighter();
  aircraft::Aircraft().SurfaceRate = 120;
  JoyMap().Entries[kJoyFlapsUp] = 2;
  DeviceForm& d = Open();
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotDevice], 1);
  EXPECT_EQ(options_.DeviceDialogActive, 1);
  d.Text1(kJoyFlapsUp).SetText("16");
  d.VScroll3.SetValue(0);
  d.Command2.SetValue(true);
  EXPECT_FALSE(d.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotDevice], 0);
  EXPECT_EQ(options_.DeviceDialogActive, 0);
  EXPECT_EQ(JoyMap().Entries[kJoyFlapsUp], 2);
  EXPECT_EQ(aircraft::Aircraft().SurfaceRate, 120);
  EXPECT_FALSE(std::filesystem::exists(JoyFile()));

  // A typed code that is no number unassigns the function.
  Open();
  d.Text1(kJoyFlapsUp).SetText("x1");
  d.Command1.SetValue(true);
  EXPECT_EQ(JoyMap().Entries[kJoyFlapsUp], 0);
}

TEST_F(DeviceDialogTest, ClosesWhenAnotherWindowTakesTheFocus) {
  Glider();
  DeviceForm& d = Open();
  DoEvents();
  ASSERT_TRUE(d.Loaded());
  Form other;
  other.Show();
  for (int i = 0; i < 50 && d.Loaded(); ++i) DoEvents();
  EXPECT_FALSE(d.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotDevice], 0);
  other.Unload();
}

TEST_F(DeviceDialogTest, ReadoutShowsTheElevatorAndTheFinOfALightAircraft) {
  Glider();
  aircraft::Aircraft().TailplaneArm = -1.5;  // canard: the sign turns
  flight::State().Controls.ElevatorDemand = 0.1;
  flight::State().Controls.RudderAngle = -0.05;
  DeviceForm& d = Open();
  Tick();
  EXPECT_EQ(d.Label3.Caption(), "-5.7°\r\n-2.9");
  d.Unload();
  aircraft::Aircraft().FinFixed = 1;
  Open();
  EXPECT_EQ(d.Label3.Caption(), "-5.7°\r\n");
}

}  // namespace
}  // namespace zarv::flightscreen
