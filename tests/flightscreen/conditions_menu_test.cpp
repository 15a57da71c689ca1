// The condition bars, the unload's field comparison, the menu and the
// set-up's derived values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "aircraft/aircraft_file.h"
#include "flight/flight_record.h"
#include "flight/loop_fixture.h"
#include "flightscreen/conditions.h"
#include "flightscreen/flight_menu.h"
#include "flightscreen/screen_setup.h"
#include "flightscreen/unload_fields.h"

namespace zarv::flightscreen {
namespace {

struct Bars {
  aircraft::AircraftData a;
  flight::FlightState s;
  std::unique_ptr<flight::FlightRecord> r = std::make_unique<flight::FlightRecord>();
};

TEST(ConditionBars, WrapClampAndUnits) {
  EXPECT_EQ(WrapDirectionBar(73), 1);
  EXPECT_EQ(WrapDirectionBar(0), 72);
  EXPECT_EQ(WrapDirectionBar(36), 36);

  Bars b;
  b.a.LaunchSpeed = 5;
  EXPECT_EQ(ApplyWindDirectionBar(72, b.a), "風向方位 000°");  // a full turn is north, 0
  EXPECT_EQ(b.a.WindDirection, 0);
  EXPECT_EQ(ApplyLaunchSpeedBar(70, b.a, b.s, *b.r), "1.0\r\nm/s");
  EXPECT_DOUBLE_EQ(b.s.Body.StartRadius, 8.75);
  EXPECT_EQ(ApplyTemperatureBar(-100, b.a), "50.0\r\n℃");
  EXPECT_EQ(ApplyPressureBar(350, b.a), "700\r\nhPa");
  EXPECT_EQ(ApplyBankBar(15, b.a), "バンク角 -5°");

  Bars p;
  p.a.LaunchSpeed = 50;
  p.a.LaunchHeight = 300;
  EXPECT_EQ(ApplyLaunchSpeedBar(70, p.a, p.s, *p.r), "50\r\nkt");
  EXPECT_NEAR(p.a.LaunchSpeed, 25.64, 0.01);
  EXPECT_DOUBLE_EQ(p.s.Body.StartRadius, -9.9);
  p.s.Body.Heading = 1.0;
  ApplyHeadingBar(18, p.a, p.s, *p.r);  // 90 degrees: the start on the course line
  EXPECT_NEAR(p.s.Body.PosX, -9.9, 1e-9);
  EXPECT_DOUBLE_EQ(p.r->Samples[10].East, p.s.Body.PosX);

  Bars orbit;
  orbit.a.LaunchSpeed = 50;
  orbit.a.LaunchHeight = 200000;
  orbit.s.Setup.EarthGm = 6.67e-11 * 5.981e24;
  ApplyLaunchSpeedBar(0, orbit.a, orbit.s, *orbit.r);
  EXPECT_NEAR(orbit.a.LaunchSpeed,
              std::sqrt(orbit.s.Setup.EarthGm / (6378140 + 200000.0)) - 500 - std::pow(200000.0, 1.06) / 7700, 1e-6);
}

// Each bar at both ends of its range gives the written end values.
TEST(ConditionBars, BothEndsOfEveryBar) {
  Bars b;
  b.a.LaunchSpeed = 5;
  b.a.LaunchHeight = 10;
  EXPECT_EQ(ApplyTemperatureBar(kTemperatureBarMin, b.a), "50.0\r\n℃");
  EXPECT_EQ(b.a.SurfaceTemperature, 50);
  EXPECT_EQ(ApplyTemperatureBar(kTemperatureBarMax, b.a), "-20.0\r\n℃");
  EXPECT_EQ(b.a.SurfaceTemperature, -20);
  EXPECT_EQ(ApplyPressureBar(0, b.a), "1050\r\nhPa");
  EXPECT_EQ(b.a.SurfacePressure, 1050);
  EXPECT_EQ(ApplyPressureBar(kPressureBarMax, b.a), "700\r\nhPa");
  EXPECT_EQ(b.a.SurfacePressure, 700);
  EXPECT_EQ(ApplyBankBar(0, b.a), "バンク角 -20°");
  EXPECT_DOUBLE_EQ(b.a.LaunchBank, -20 / 57.3);
  EXPECT_EQ(ApplyBankBar(kBankBarMax, b.a), "バンク角 20°");
  EXPECT_DOUBLE_EQ(b.a.LaunchBank, 20 / 57.3);
  EXPECT_EQ(ApplyPitchBar(0, b.a), "12.5\r\nDEG");
  EXPECT_DOUBLE_EQ(b.a.LaunchPitch, 25 / 114.6);
  EXPECT_EQ(ApplyPitchBar(kPitchBarMax, b.a), "-15.0\r\nDEG");
  EXPECT_DOUBLE_EQ(b.a.LaunchPitch, -30 / 114.6);
  EXPECT_EQ(ApplyWindSpeedBar(0, b.a), "4.0\r\nm/s");
  EXPECT_EQ(ApplyWindSpeedBar(kWindBarMax, b.a), "0.0\r\nm/s");
  EXPECT_EQ(b.a.WindSpeed, 0);
  EXPECT_EQ(ApplyLaunchSpeedBar(0, b.a, b.s, *b.r), "8.0\r\nm/s");
  EXPECT_DOUBLE_EQ(b.s.Body.StartRadius, 0);
  EXPECT_EQ(ApplyLaunchSpeedBar(kSpeedBarMax, b.a, b.s, *b.r), "1.0\r\nm/s");

  Bars p;
  p.a.LaunchSpeed = 50;
  p.a.LaunchHeight = 300;
  EXPECT_EQ(ApplyWindSpeedBar(0, p.a), "40\r\nkt");
  EXPECT_EQ(ApplyWindSpeedBar(kWindBarMax, p.a), "00\r\nkt");
  EXPECT_EQ(ApplyLaunchSpeedBar(0, p.a, p.s, *p.r), "400\r\nkt");
  EXPECT_DOUBLE_EQ(p.s.Body.StartRadius, -9.9);  // the platform's far end, as for any powered speed
  EXPECT_EQ(ApplyLaunchSpeedBar(kSpeedBarMax - 1, p.a, p.s, *p.r), "55\r\nkt");
}

// The synchronisation puts values beyond a bar's range at that end of it,
// at either end.
TEST(ConditionBars, SynchronisationHoldsEveryBarWithinItsRange) {
  aircraft::AircraftData a;
  a.LaunchSpeed = 5;
  a.SurfaceTemperature = 60;
  a.SurfacePressure = 1100;
  a.LaunchBank = -0.5;
  BarPositions p = BarsForConditions(a, 0);
  EXPECT_EQ(p.Temperature, kTemperatureBarMin);
  EXPECT_EQ(p.Pressure, 0);
  EXPECT_EQ(p.Bank, 0);
  a.SurfaceTemperature = -30;
  a.SurfacePressure = 600;
  a.LaunchBank = 0.5;
  p = BarsForConditions(a, 0);
  EXPECT_EQ(p.Temperature, kTemperatureBarMax);
  EXPECT_EQ(p.Pressure, kPressureBarMax);
  EXPECT_EQ(p.Bank, kBankBarMax);
  // Just inside the ends.
  a.SurfaceTemperature = 49.5;
  a.SurfacePressure = 1049;
  a.LaunchBank = 19 / 57.3;
  p = BarsForConditions(a, 0);
  EXPECT_EQ(p.Temperature, kTemperatureBarMin + 1);
  EXPECT_EQ(p.Pressure, 1);
  EXPECT_EQ(p.Bank, kBankBarMax - 1);
  a.SurfaceTemperature = -19.5;
  a.SurfacePressure = 701;
  a.LaunchBank = -19 / 57.3;
  p = BarsForConditions(a, 0);
  EXPECT_EQ(p.Temperature, kTemperatureBarMax - 1);
  EXPECT_EQ(p.Pressure, kPressureBarMax - 1);
  EXPECT_EQ(p.Bank, 1);

  // The pitch bar: 12.5 degrees up at 0, 15 down at its end, and beyond.
  EXPECT_EQ(PitchBarFor(12.5 / 57.3), 0);
  EXPECT_EQ(PitchBarFor(1.0), 0);
  EXPECT_EQ(PitchBarFor(-15 / 57.3), kPitchBarMax);
  EXPECT_EQ(PitchBarFor(-1.0), kPitchBarMax);

  // Speeds: a light aircraft's 8 m/s and more at the fast end, 1 m/s at the
  // slow end; a powered one's 700 m/s and more at the fast end, 49 knots and
  // less at the slow end for a PCAS aircraft.
  a.LaunchSpeed = 8;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, 0);
  a.LaunchSpeed = 10;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, 0);
  a.LaunchSpeed = 1;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, kSpeedBarMax);
  a.LaunchSpeed = 700;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, 0);
  EXPECT_EQ(BarsForConditions(a, 0).SpeedCaption, "700\r\nm/s");
  a.LaunchSpeed = 400 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, 0);
  a.LaunchSpeed = 49 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 9000).Speed, kSpeedBarMax);
  a.LaunchSpeed = 50 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 9000).Speed, kSpeedBarMax);
  a.LaunchSpeed = 55 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 9000).Speed, kSpeedBarMax - 1);

  // Wind: a light aircraft's 4 m/s is the strong end, more than that calm;
  // a powered one's 40 knots and more the strong end, less than none calm.
  a.LaunchSpeed = 5;
  a.WindSpeed = 4;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, 0);
  a.WindSpeed = 4.5;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, kWindBarMax);
  a.WindSpeed = 0;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, kWindBarMax);
  a.LaunchSpeed = 50;
  a.WindSpeed = 40 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, 0);
  a.WindSpeed = 100;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, 0);
  a.WindSpeed = 35 / 1.95;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, 1);
  a.WindSpeed = -1;
  EXPECT_EQ(BarsForConditions(a, 0).Wind, kWindBarMax);
}

TEST(ConditionBars, SynchronisationFromFileValues) {
  aircraft::AircraftData a;
  a.LaunchSpeed = 5;
  a.WindSpeed = 5;  // too strong for a light aircraft: calm
  a.LaunchBank = 0.5;
  a.LaunchHeading = 6.2831852;  // north as the file stores it: the bar stays
  a.SurfacePressure = 1013;
  BarPositions p = BarsForConditions(a, 0);
  EXPECT_EQ(p.Wind, 8);
  EXPECT_EQ(p.Bank, 40);
  EXPECT_FALSE(p.Heading.has_value());
  EXPECT_EQ(p.Pressure, 37);
  a.LaunchSpeed = 0.5;
  EXPECT_EQ(BarsForConditions(a, 0).Speed, 70);  // below the class minimum: slowest
  EXPECT_EQ(PitchBarFor(-10 / 57.3), 45);

  const aircraft::AircraftData light = SyncedThroughBars(a, flight::FlightState{});
  EXPECT_EQ(light.WindSpeed, 0);  // the wind bar's change sets the calm
}

TEST(UnloadFields, UntouchedConditionsAskNothing) {
  const std::vector<std::string> jet = aircraft::AircraftFileLines(flight::testing::Powered(flight::testing::Engine::Jet));
  const std::vector<std::string> fields(jet.begin() + 1, jet.end());
  aircraft::AircraftData a;
  aircraft::ParseAircraftLines(jet, a);
  flight::FlightState s;
  // The screen's bars took the speed to 290 kt, the pitch to half degrees.
  aircraft::AircraftData flown = SyncedThroughBars(a, s);
  EXPECT_NE(flown.LaunchSpeed, a.LaunchSpeed);
  EXPECT_FALSE(LaunchConditionsChanged(fields, flown, s));
  flown.WindDirection = 0;  // moved to north: written as 360
  flown.WindDirection = 6.2831852;
  EXPECT_TRUE(LaunchConditionsChanged(fields, flown, s));
  flown = SyncedThroughBars(a, s);
  flown.SurfaceTemperature = 20;
  EXPECT_TRUE(LaunchConditionsChanged(fields, flown, s));

  EXPECT_FALSE(AircraftDataChanged(fields, fields, a));
  std::vector<std::string> edited = fields;
  edited[37] = "F404";
  EXPECT_TRUE(AircraftDataChanged(fields, edited, a));
  a.PitchDamping += 1;
  EXPECT_TRUE(AircraftDataChanged(fields, fields, a));
}

TEST(UnloadFields, SavedLinesFollowTheAnswers) {
  std::vector<std::string> file(54, "1");
  file[53] = "0";
  std::vector<std::string> handOver(39, "2");
  aircraft::AircraftData a;
  a.LaunchBank = -5 / 57.3;
  a.SurfaceTemperature = -3;
  a.TailHoldFlag = 1;
  std::vector<std::string> out = FieldsToSave(file, handOver, a, true, false);
  EXPECT_EQ(out[0], "2");
  EXPECT_EQ(out[38], "2");
  EXPECT_EQ(out[48], "1");  // No to the conditions: the file's lines
  EXPECT_EQ(out[53], "0");
  out = FieldsToSave(file, handOver, a, false, true);
  EXPECT_EQ(out[0], "1");
  EXPECT_EQ(out[48], "-5");
  EXPECT_EQ(out[52], "-3");
  EXPECT_EQ(out[53], "1");
  // A line the save does not set stays as the file has it, blanks
  // included, also where the hand-over file has it trimmed.
  file[5] = " 1 ";
  handOver[5] = "1";
  handOver[6] = " 3 ";
  out = FieldsToSave(file, handOver, a, true, true);
  EXPECT_EQ(out[5], " 1 ");
  EXPECT_EQ(out[6], "3");
}

TEST(FlightMenu, HoveredRowAndCommands) {
  EXPECT_EQ(HoveredMenuRow(1000, 11, 12), 11);
  EXPECT_EQ(HoveredMenuRow(1000, 6, 7), 6);
  EXPECT_EQ(HoveredMenuRow(-30, 11, 12), 0);
  EXPECT_EQ(HoveredMenuRow(40, 11, 12), 2);
  EXPECT_EQ(CommandForEntry(" Zarv の終了      F12"), MenuCommand::Quit);
  EXPECT_EQ(CommandForEntry("機体の交換        F10"), MenuCommand::ChangeAircraft);
  EXPECT_EQ(CommandForEntry("機体の交換         F10"), MenuCommand::None);  // the companion menu's entry
  EXPECT_EQ(CommandForEntry(""), MenuCommand::None);
}

// Every entry of every menu in its order, and the command it runs (the
// four-entry menus' entries run none: their keys do).
TEST(FlightMenu, EveryEntryOfEachPhase) {
  using C = MenuCommand;
  struct Entry {
    const char* Text;
    MenuCommand Command;
  };
  const std::vector<Entry> beforeLaunch = {
      {"ヘルプ             F1", C::Help},
      {"順位               F2", C::Ranking},
      {"翼型特性           F3", C::AirfoilChart},
      {"機体特性           F4", C::AircraftChart},
      {"フライトデータ     F5", C::FlightData},
      {"ビデオ             F6", C::Replay},
      {"機体データの変更   F7", C::Editor},
      {"機体の登録         F8", C::Registration},
      {"飛行のｷｬﾝｾﾙ Esc or F9", C::CancelOrPlatform},
      {"機体の交換        F10", C::ChangeAircraft},
      {"", C::None},
      {" Zarv の終了      F12", C::Quit},
  };
  std::vector<Entry> afterFlight = beforeLaunch;
  afterFlight[8] = {"ﾌﾟﾗｯﾄﾎｰﾑへ  Esc or F9", C::CancelOrPlatform};
  const struct {
    MenuPhase Phase;
    int Count;
    std::vector<Entry> Entries;
  } phases[] = {
      {kMenuCompanionLoad, 4,
       {{"随伴ﾓｰﾄﾞ解除 Esc or F9", C::None}, {"機体の交換         F10", C::None}, {"", C::None},
        {" Zarv の終了       F12", C::None}}},
      {kMenuBeforeLaunch, 11, beforeLaunch},
      {kMenuInFlight, 6,
       {{"ヘルプ             F1", C::Help},
        {"フライトデータ     F5", C::FlightData},
        {"ビデオ             F6", C::Replay},
        {"飛行のｷｬﾝｾﾙ Esc or F9", C::CancelOrPlatform},
        {"機体の交換        F10", C::ChangeAircraft},
        {"", C::None},
        {" Zarv の終了      F12", C::Quit}}},
      {kMenuWritingLog, 4,
       {{"ﾌｧｲﾙ作成解除 Esc or F9", C::None}, {"選択画面に戻る     F10", C::None}, {"", C::None},
        {" Zarv の終了       F12", C::None}}},
      {kMenuAfterFlight, 11, afterFlight},
  };
  for (const auto& c : phases) {
    const MenuEntries menu = MenuFor(c.Phase);
    EXPECT_EQ(menu.Count, c.Count) << c.Phase;
    ASSERT_EQ(menu.Entries.size(), c.Entries.size()) << c.Phase;
    for (size_t i = 0; i < c.Entries.size(); ++i) {
      EXPECT_EQ(menu.Entries[i], c.Entries[i].Text) << c.Phase << " " << i;
      EXPECT_EQ(CommandForEntry(menu.Entries[i]), c.Entries[i].Command) << c.Phase << " " << i;
    }
  }
}

TEST(ScreenSetUp, TagsAndHelp) {
  EXPECT_EQ(HangarTag("JfD", false, aircraft::EngineKind::Jet, 5000), "JfD");
  EXPECT_EQ(HangarTag("LongTag", false, aircraft::EngineKind::Jet, 5000), "D");
  EXPECT_EQ(HangarTag("LongTag", false, aircraft::EngineKind::Rocket, 9000), "JcD");
  EXPECT_EQ(HangarTag("LongTag", false, aircraft::EngineKind::Piston, 12000), "PcD");
  EXPECT_EQ(HangarTag("JfD", true, aircraft::EngineKind::None, 0), "D");
  const std::string piston = KeyHelpText(1, aircraft::EngineKind::Piston, 0);
  EXPECT_EQ(piston.find("Qキー"), std::string::npos);
  EXPECT_NE(piston.find("Wキー：調速機 ｱｯﾌﾟ\r\nSキー：調速機 ﾀﾞｳﾝ\r\n"), std::string::npos);
  const std::string tvc = KeyHelpText(2, aircraft::EngineKind::Jet, 1);
  EXPECT_EQ(tvc.rfind("Vキー：TVC On/ Off "), tvc.size() - std::string("Vキー：TVC On/ Off ").size());
}

}  // namespace
}  // namespace zarv::flightscreen
