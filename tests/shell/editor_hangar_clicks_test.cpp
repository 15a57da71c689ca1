// The editor and the hangar as a user drives them: every field the editor
// shows, typed or chosen on the screen, saved and read back by the aircraft
// reader; and what each click of the two screens does to what they show.
#include <utility>

#include "platform/runtime/angles.h"
#include "platform/runtime/text.h"
#include "aircraft/aircraft_file.h"
#include "aircraft/samples.h"
#include "shell/hangar.h"
#include "shell/screens.h"
#include "shell_fixture.h"

namespace zarv::shell {
namespace {

using aircraft::AircraftData;

class EditorAndHangarClicks : public testing::SampleFoldersTest {
 protected:
  // Marden７ made a powered aircraft with two turbofans, so that the editor
  // shows every one of its controls.
  void OpenPoweredEditor() {
    std::vector<std::string> lines = aircraft::SampleAircraftList()[0].Lines;
    lines[36] = "2";
    lines[37] = "4500";
    lines[38] = "Turbofan";
    lines[39] = "JT8D-9";
    lines[46] = "150";
    ASSERT_TRUE(WriteTextLines(aircraft::HandOverPath(), lines));
    ASSERT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft()));
    Write_().Show();
    ASSERT_TRUE(Write_().Visible());
  }
  static std::vector<std::string> Items(const ComboBox& c) {
    std::vector<std::string> items;
    for (int i = 0; i < c.ListCount(); ++i) items.push_back(c.List(i));
    return items;
  }
  // Chooses an entry of a list as the user would; fails when it is not offered.
  static void Pick(ComboBox& c, const std::string& text) {
    for (int i = 0; i < c.ListCount(); ++i) {
      if (c.List(i) != text) continue;
      c.SetListIndex(i);
      return;
    }
    ADD_FAILURE() << text << " is not offered";
  }
};

// Row, text typed, and what the reader makes of it.
struct TypedRow {
  int row;
  const char* text;
  double AircraftData::*member;
  double expected;
  double AircraftData::*second = nullptr;  // pair rows
  double expectedSecond = 0;
};
constexpr double kDeg = kDegreesPerRadian;
// Each differs from Marden７'s value and from every other row's.
const TypedRow kTyped[] = {
    {1, " 61 ", &AircraftData::PilotWeight, 61},
    {2, "37", &AircraftData::WingWeight, 37},
    {3, "2.6", &AircraftData::TailWeight, 2.6},
    {4, "3.9", &AircraftData::RearFuselageWeight, 3.9},
    {5, "5.1", &AircraftData::OverallLength, 5.1},
    {6, "3.3", &AircraftData::TailplaneArm, 3.3},
    {7, "3.4", &AircraftData::FinArm, 3.4},
    {8, "18", &AircraftData::RearFuselageStiffness, 18 * kDeg},
    {9, ".8", &AircraftData::WingDeflection, 0.8},
    {10, ".03", &AircraftData::ParasiteDragArea, 0.03},
    {11, "19.5", &AircraftData::WingSpan, 19.5},
    {12, "19.9", &AircraftData::WingArea, 19.9},
    {13, "2", &AircraftData::TipWashout, 2 / kDeg},
    {14, "3.5/20", &AircraftData::WingIncidence, 3.5, &AircraftData::FlapMax, 20},
    {15, "5/10", &AircraftData::InnerDihedral, 5 / kDeg, &AircraftData::InnerSweep, 10 / kDeg},
    {16, ".76", &AircraftData::InnerTaper, 0.76},
    {17, "6/11", &AircraftData::OuterDihedral, 6 / kDeg, &AircraftData::OuterSweep, 11 / kDeg},
    {18, ".55", &AircraftData::OuterTaper, 0.55},
    {19, ".35", &AircraftData::TipLength, 0.35},
    {20, "40/35", &AircraftData::TipDihedral, 40 / kDeg, &AircraftData::TipSweep, 35 / kDeg},
    {21, ".15", &AircraftData::TipTaper, 0.15},
    {22, "2.2", &AircraftData::TailplaneArea, 2.2},
    {23, "-2.5", &AircraftData::TailplaneIncidence, -2.5},
    {24, "1.25", &AircraftData::FinArea, 1.25},
    {25, "12", &AircraftData::FinTilt, 12 / kDeg},
    {26, "1.4", &AircraftData::FinHalfSpacing, 0.7},
    {27, "31", &AircraftData::CgPosition, 0.31},
    {28, ".75/1.3", &AircraftData::TailEndHeight, 0.75, &AircraftData::GearPosition, 1.3},
    {29, ".5", &AircraftData::WingHeight, 0.5},
    {30, "10.9", &AircraftData::LaunchHeight, 10.9},
};

TEST_F(EditorAndHangarClicks, EveryShownFieldComesBackAsSetWithEachBoxBothWays) {
  // Ticked means the surface moves; the file keeps 1 for a fixed one.
  const std::pair<int, int> boxes[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};  // fin, tailplane
  for (const auto& [fin, tail] : boxes) {
    SCOPED_TRACE(::testing::Message() << "fin " << fin << ", tailplane " << tail);
    OpenPoweredEditor();
    WriteForm& w = Write_();
    for (const TypedRow& r : kTyped) w.Text1(r.row - 1).SetText(r.text);
    w.Text2.SetText("試作機 A");
    Pick(w.Combo1, "NACA64A710?");
    Pick(w.Combo2, "NACA64A005?");
    w.Check2.SetValue(tail);  // its click may tick the fin box: the fin after it
    w.Check1.SetValue(fin);
    w.Text3.SetText(" 1 ");
    w.Text4.SetText("1234.5");
    Pick(w.Combo3, "Aug fan(USA)");
    w.Combo4.OnDropDown();
    Pick(w.Combo4, "F110-GE129");
    ClearMessageBoxCalls();
    w.Command1.SetValue(true);
    ASSERT_TRUE(MessageBoxCalls().empty()) << MessageBoxCalls()[0].prompt;
    ASSERT_FALSE(w.Loaded());

    AircraftData back;
    std::string why;
    ASSERT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), back, &why)) << why;
    for (const TypedRow& r : kTyped) {
      EXPECT_EQ(back.AircraftLines[static_cast<size_t>(r.row)], Trim(r.text)) << "row " << r.row;
      EXPECT_DOUBLE_EQ(back.*r.member, r.expected) << "row " << r.row;
      if (r.second) {
        EXPECT_DOUBLE_EQ(back.*r.second, r.expectedSecond) << "row " << r.row;
      }
    }
    EXPECT_EQ(back.AircraftName, "試作機 A");
    EXPECT_EQ(back.WingAirfoil, "NACA64A710?");
    EXPECT_EQ(back.TailAirfoil, "NACA64A005?");
    EXPECT_EQ(back.FinFixed, 1 - fin);
    EXPECT_EQ(back.TailplaneFixed, 1 - tail);
    EXPECT_EQ(back.EngineCount, 1);
    EXPECT_EQ(back.FuelCapacity, 1234.5);
    EXPECT_EQ(back.EngineFamily, "Aug fan(USA)");
    EXPECT_EQ(back.EngineModel, "F110-GE129");
    EXPECT_EQ(back.LaunchSpeed, 150);

    // Opened again, the editor shows the boxes as they were saved.
    ASSERT_TRUE(aircraft::LoadAircraftData(aircraft::HandOverPath(), aircraft::Aircraft()));
    w.Show();
    EXPECT_EQ(w.Check1.Value(), fin);
    EXPECT_EQ(w.Check2.Value(), tail);
    w.Command2.SetValue(true);
  }
}

TEST_F(EditorAndHangarClicks, EditorListsAndTheTailplaneBox) {
  OpenPoweredEditor();
  WriteForm& w = Write_();
  for (Control* c : std::initializer_list<Control*>{&w.Label5, &w.Text3, &w.Label6, &w.Text4, &w.Combo3, &w.Combo4})
    EXPECT_TRUE(c->Visible());
  EXPECT_EQ(w.Text3.Text(), "2");
  const std::vector<std::string> common = {"NACA0009", "NACA0012", "NACA4412",  "NACA4415",
                                           "NACA6412", "DAE41?",   "FX61-126?", "NACA64A510?"};
  std::vector<std::string> wing = common, tail = common;
  for (const char* s : {"NACA64A710?", "NACA64A210?", "NACA64A205?", "NACA64A005?", "NACA64A105LE?"}) wing.push_back(s);
  for (const char* s : {"NACA64A210?", "NACA64A205?", "NACA64A005?"}) tail.push_back(s);
  EXPECT_EQ(Items(w.Combo1), wing);
  EXPECT_EQ(Items(w.Combo2), tail);
  EXPECT_EQ(Items(w.Combo3),
            (std::vector<std::string>{"Turbofan", "Aug fan(USA)", "Aug fan", "Turbojet", "Piston"}));
  // The file's model is chosen in its family's list, in the family's order.
  EXPECT_EQ(w.Combo4.Text(), "JT8D-9");
  const std::pair<const char*, std::vector<std::string>> families[] = {
      {"Turbofan", {"JT8D-9", "F3-IHI30", "PW4052", "PW4090"}},
      {"Piston",
       {"O-200", "RR V1650-7", "Racing Marin", "栄２１", "PW R2800-18", "PW R2800-63", "PW R4360-63", "M-14P"}},
      {"Aug fan(USA)", {"F100-PW100", "F119-PW100", "F404-GE400", "F404-GE402", "F110-GE129", "TFE1042-70"}},
      {"Aug fan", {"AL-31F", "AL-37FU", "RD-33", "TF40-IHI801", "RB168-Mk202", "RM8B", "FNX-5011B"}},
      {"Turbojet", {"J79-GE17", "J79-GE8A", "J85-GE21", "Olympus", "LMDPS", "SSME"}},
  };
  for (const auto& [family, models] : families) {
    Pick(w.Combo3, family);
    w.Combo4.OnDropDown();
    EXPECT_EQ(Items(w.Combo4), models) << family;
  }

  // Ticking the tailplane box ticks the fin box; clearing it leaves the fin
  // box alone, and the fin box never moves the tailplane box.
  ASSERT_EQ(w.Check1.Value(), vbChecked);  // field 33 "0"
  w.Check1.SetValue(vbUnchecked);
  w.Check2.SetValue(vbUnchecked);
  w.Check2.SetValue(vbChecked);
  EXPECT_EQ(w.Check1.Value(), vbChecked);
  w.Check2.SetValue(vbUnchecked);
  EXPECT_EQ(w.Check1.Value(), vbChecked);
  w.Check1.SetValue(vbUnchecked);
  w.Check1.SetValue(vbChecked);
  EXPECT_EQ(w.Check2.Value(), vbUnchecked);
}

TEST_F(EditorAndHangarClicks, HangarFolderChangeAndFileClicks) {
  ASSERT_TRUE(MakeDir(Path("Hangar2")));
  ASSERT_TRUE(WriteTextLines(Path("Hangar2/Other.brd"), aircraft::SampleAircraftList()[2].Lines));
  CurrentSettings().HangarDir = Path("Data");
  Choice().Load();
  ChoiceForm& c = Choice();
  ASSERT_EQ(c.File1.Path(), Path("Data"));
  // A click on a file puts its name in the name box.
  c.File1.SetListIndex(1);
  EXPECT_EQ(c.Text1.Text(), c.File1.List(1));
  Shell().SelectedFileName = "stale";
  // Another folder: its files, the name box back to the pattern, no selection.
  ASSERT_TRUE(c.Dir1.SetPath(Path("Hangar2")));
  EXPECT_EQ(c.File1.Path(), Path("Hangar2"));
  EXPECT_EQ(c.Text1.Text(), "*.brd");
  EXPECT_EQ(c.File1.ListIndex(), -1);
  EXPECT_EQ(Shell().SelectedFileName, "");
  // A double click chooses the file and flies it from the folder shown.
  c.File1.SetListIndex(0);
  c.File1.OnDblClick();
  ASSERT_TRUE(flightScreen_.Shown);
  EXPECT_EQ(CurrentSettings().AircraftFileName, "Other.brd");
  EXPECT_EQ(CurrentSettings().AircraftFilePath, Path("Hangar2/Other.brd"));
  EXPECT_EQ(CurrentSettings().HangarDir, Path("Hangar2/"));
  EXPECT_EQ(aircraft::Aircraft().AircraftName, "MardenⅢ");
}

TEST_F(EditorAndHangarClicks, RegistrationPreselectsTheCurrentFileInTheProgramFolder) {
  for (size_t i = 1; i <= 3; ++i)
    ASSERT_TRUE(WriteTextLines(Path(aircraft::SampleAircraftList()[i].FileName),
                               aircraft::SampleAircraftList()[i].Lines));
  struct Case {
    std::string hangar, current, shown;
    int index;
  };
  const Case cases[] = {
      {folder_, "MardenⅢ.brd", "MardenⅢ.brd", 1},  // listed: chosen
      {folder_, "MardenⅣ.brd", "MardenⅣ.brd", 2},
      {folder_, "Gone.brd", "MardenⅡ.brd", 0},    // not listed: the first entry
      {Path("Data"), "MardenⅢ.brd", "*.brd", -1},  // another folder: the change clears it
  };
  for (const Case& k : cases) {
    CurrentSettings().HangarDir = k.hangar;
    CurrentSettings().AircraftFileName = k.current;
    Shell().ScreenMode = kScreenModeRegister;
    Choice().Load();
    ASSERT_TRUE(Choice().Visible());
    EXPECT_EQ(Choice().Text1.Text(), k.shown) << k.current;
    EXPECT_EQ(Choice().File1.ListIndex(), k.index) << k.current;
    Choice().Command1.SetValue(true);
    ASSERT_FALSE(Choice().Loaded());
  }
}

}  // namespace
}  // namespace zarv::shell
