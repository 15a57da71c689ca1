// The chart screen and the log picker on the off-screen platform.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/app.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "file_size_limit.h"
#include "list_pointer.h"
#include "memory_bounds.h"
#include "program_test.h"
#include "records/flight_data_form.h"
#include "logbook/flight_log.h"
#include "logbook/log_filing.h"
#include "records/log_picker.h"
#include "logbook/records_fixture.h"
#include "shell/flight_screen_link.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace zarv::records {
namespace {

class Screens : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Application::Ensure();
    MakeDir(Path("FlightData"));
    aircraft::Aircraft().LaunchSpeed = 8;  // light
    // The flight screen lives in a later layer: its side of the links.
    FlightDataLink& host = FlightDataHost();
    host.ShowFlightScreen = [this] { ++flightShown; };
    host.HideFlightScreen = [this] { ++flightHidden; };
    host.SetFlightScreenAutoRedraw = [](bool) {};
    host.SetFlightScreenMousePointer = [](int) {};
    host.SetFlightScreenTop = [](double) {};
    host.FlightSummary = [] { return std::string(); };
    host.PlayTransitionSound = [] {};
    shell::FlightScreen().Position = [] { return std::make_pair(0.0, 0.0); };
    LogPickerHost().LogSuffix = [] { return std::string("Marden7.csv"); };
    LogPickerHost().ReadLog = [](const std::string&, flight::FlightRecord&, std::string*) { return false; };
    SetMessageBoxResponder([](const MsgBoxCall&) { return vbOK; });
    auto steady = testing::SteadyRecord(400);
    flight::Record().Samples = steady->Samples;
    flight::Record().RecordCount = 400;
  }
  void Touch(const std::string& name, const std::string& firstLine) {
    std::ofstream(Path("FlightData/" + name)) << firstLine << "\r\n 3,'=x\r\n";
  }
  int flightShown = 0, flightHidden = 0;
};

TEST_F(Screens, LightAircraftOpensOnDistanceAndLeftClickSwaps) {
  OpenFlightData();
  FlightDataForm& f = Flight_Data();
  ASSERT_TRUE(f.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotFlightData], 1);
  EXPECT_EQ(flight::Record().RecordSampleCount, 400);
  f.Timer1_Timer();
  EXPECT_TRUE(f.Drawn());
  EXPECT_TRUE(f.DistanceChosen());
  EXPECT_GE(flightHidden, 1);
  // The viewport shows the distance chart: altitude 5 m at row 60, x = 33.
  EXPECT_EQ(f.Picture4.Canvas().Point(33, 60), kSeriesColours[0]);
  f.Picture4_MouseDown(vbRightButton);
  EXPECT_TRUE(f.DistanceChosen());
  f.Picture4_MouseDown(vbLeftButton);
  EXPECT_FALSE(f.DistanceChosen());
  EXPECT_EQ(f.Picture4.Canvas().Point(30, 60), kSeriesColours[0]);
  // Scrolling to the end shows the canvas's right end and is remembered.
  f.HScroll1.SetValue(f.HScroll1.Max());
  EXPECT_EQ(FlightDataKept().ScrollPosition, f.HScroll1.Max());
}

// The time chart of a light aircraft comes after the first picture: drawn
// by the timer's second round or when it is asked for, it must be the chart
// a drawing at once gives, with the series ticked meanwhile.
TEST_F(Screens, LightAircraftTimeChartDrawnLaterIsTheWholeChart) {
  auto reference = [] {
    const aircraft::AircraftData& a = aircraft::Aircraft();
    const flight::FlightState& s = flight::State();
    ChartInputs in;
    in.Record = &flight::Record();
    in.SampleCount = flight::Record().RecordSampleCount;
    in.Light = true;
    in.EngineRating = s.Engine.EngineRating;
    in.SeriesFlags = shell::CurrentSettings().ChartSeriesFlags;
    in.Pilot = {a.WingArea, a.WingSpan, s.Masses.Mass, s.Masses.StructureMoment, a.PilotWeight};
    Surface tile, canvas(Flight_Data().TimeCanvas().Width(), kChartHeight);
    canvas.SetFontName("ＭＳ ゴシック");
    canvas.SetFontSize(9);
    DrawTimeTile(tile);
    DrawChartByTime(canvas, tile, in, false);
    return canvas;
  };
  auto sameAs = [](const Surface& got, const Surface& want) {
    if (got.Width() != want.Width() || got.Height() != want.Height()) return false;
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x)
        if (got.Point(x, y) != want.Point(x, y)) return false;
    return true;
  };
  FlightDataForm& f = Flight_Data();
  for (bool byClick : {false, true}) {
    SCOPED_TRACE(byClick ? "asked for" : "second round");
    shell::CurrentSettings().ChartSeriesFlags[1] = static_cast<int16_t>(byClick ? 1 : 0);
    OpenFlightData();
    f.Timer1_Timer();
    ASSERT_TRUE(f.DistanceChosen());
    if (byClick) {
      f.Picture4_MouseDown(vbLeftButton);
      EXPECT_EQ(f.Picture4.Canvas().Point(30, 60), kSeriesColours[0]);
    } else {
      f.Timer1_Timer();
    }
    EXPECT_TRUE(sameAs(f.TimeCanvas(), reference()));
    CloseFlightData();
  }
}

TEST_F(Screens, PoweredAircraftShowsTimeChartAndTicksAfterOpeningRedraw) {
  aircraft::Aircraft().LaunchSpeed = 50;
  OpenFlightData();
  FlightDataForm& f = Flight_Data();
  // Ticked straight away (within 0.3 s of the load): nothing drawn yet.
  f.Check1.SetValue(vbChecked);
  EXPECT_EQ(shell::CurrentSettings().ChartSeriesFlags[1], 1);
  EXPECT_FALSE(f.Drawn());
  f.Timer1_Timer();
  EXPECT_FALSE(f.DistanceChosen());
  f.Picture4_MouseDown(vbLeftButton);
  EXPECT_FALSE(f.DistanceChosen());
  // Pitch 5 at 1 px per degree (the flag was stored before the drawing).
  EXPECT_EQ(f.TimeCanvas().Point(100, 325), kSeriesColours[5]);
}

TEST_F(Screens, TheTimeChartRestartsTheFlightsSecondAndAResizeClicks) {
  aircraft::Aircraft().LaunchSpeed = 50;  // the time chart comes first
  FlightDataForm& f = Flight_Data();
  for (const double flown : {199.9, 200.0}) {
    flight::State().Loop.FlightTime = flown;
    flight::State().Loop.TimeMark = 12345;
    OpenFlightData();
    f.Timer1_Timer();
    EXPECT_EQ(flight::State().Loop.TimeMark, flown < 200 ? 20 : 0) << flown;
    CloseFlightData();
  }
  int clicks = 0;
  FlightDataHost().PlayTransitionSound = [&] { ++clicks; };
  OpenFlightData();
  const double width = f.Width();
  clicks = 0;
  f.SetWidth(width / 2);
  f.OnResize();
  EXPECT_EQ(f.Width(), width);
  EXPECT_GE(clicks, 1);
  CloseFlightData();
  FlightDataHost().PlayTransitionSound = nullptr;
}

TEST_F(Screens, HideAndCloseBringTheFlightScreenBack) {
  OpenFlightData();
  FlightDataForm& f = Flight_Data();
  int key = vbKeyF2;
  f.OnKeyDown(key, 0);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotFlightData], 0);
  EXPECT_EQ(flightShown, 1);
  // The waiting opener returns once the charts close: here the user closes
  // them while the first drawing runs.
  FlightDataHost().HideFlightScreen = [] { Flight_Data().Unload(); };
  ShowFlightDataAndWait();
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(flightShown, 2);
}

// The pop-up menu shows its four rows whole, the pointer anywhere on a row
// highlights that row (below them, the last), and a click runs it: over the
// top of "印   刷    F6" it prints.
TEST_F(Screens, MenuRowUnderThePointerIsTheOneHighlightedAndRun) {
  SetPrintToPdf(true);
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  OpenFlightData();
  FlightDataForm& f = Flight_Data();
  f.Timer1_Timer();
  f.Label10.OnMouseMove(0, 0, 5, 5);
  ASSERT_TRUE(f.List1.Visible());
  EXPECT_EQ(zarv::testing::MenuListFault(f.List1), "");
  QListWidget* list = zarv::testing::ListWidgetOf(f.List1);
  const int top = list->visualItemRect(list->item(1)).top();
  const std::string printedBefore = LastPrintFile();
  zarv::testing::SendToList(f.List1, top);
  zarv::testing::SendToList(f.List1, top, true);
  EXPECT_NE(LastPrintFile(), printedBefore);
  EXPECT_TRUE(FileExists(LastPrintFile()));
  EXPECT_TRUE(f.Loaded());
  SetPrintDialogResponder(nullptr);
  SetPrintToPdf(false);
}

TEST_F(Screens, PrintWritesAPdfWithoutAPrinter) {
  SetPrintToPdf(true);
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  OpenFlightData();
  Flight_Data().Timer1_Timer();
  ClearMessageBoxCalls();
  Flight_Data().Command1_Click();
  EXPECT_EQ(LastPrintFile(), folder_ + "/print000.pdf");
  EXPECT_TRUE(FileExists(LastPrintFile()));
  EXPECT_TRUE(Flight_Data().HScroll1.Visible());
  // The user is told where it went.
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のファイルに保存しました。\r\n" + folder_ + "/print000.pdf");
  EXPECT_EQ(MessageBoxCalls()[0].style, vbInformation);
  // A page that does not fit (a full disk, a file-size limit) is no file,
  // and the user is told so.
  ClearMessageBoxCalls();
  {
    zarv::testing::FileSizeLimit limit(512);
    Flight_Data().Command1_Click();
  }
  EXPECT_FALSE(PathExists(folder_ + "/print001.pdf"));
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt,
            "プリンターが見つからないため、次のファイルに保存しようとしましたが、保存できませんでした。\r\n" + folder_ +
                "/print001.pdf");
  EXPECT_EQ(MessageBoxCalls()[0].style, vbExclamation);
  SetPrintDialogResponder(nullptr);
  SetPrintToPdf(false);
}

TEST_F(Screens, PickerListsOnlyThisAircraftsLogs) {
  EXPECT_TRUE(IsLogOf("3Marden7.csv", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("12Marden7.csv", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("Marden7.csv", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("3xMarden7.csv", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("3Marden7.CSV", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("3Other.csv", "Marden7.csv"));
  EXPECT_FALSE(IsLogOf("3Marden7.csv", ""));
  Touch("3Marden7.csv", "  153.25m by Marden7");
  Touch("1Marden7.csv", "  80.5m by Marden7");
  Touch("3Other.csv", "  99m by Other");
  Touch("x3Marden7.csv", "  99m by Marden7");
  const std::vector<LogListing> logs = ListAircraftLogs(Path("FlightData"), "Marden7.csv");
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0].Name, "1Marden7.csv");
  EXPECT_EQ(logs[1].Name, "3Marden7.csv");
  EXPECT_EQ(logs[1].Row.substr(16), " 153m");
  EXPECT_EQ(LogListRow(DateTime{2024, 7, 15, 14, 5, 0}, " 153.4m by X"), "2024/07/15 14:05 153m");

  OpenLogPicker(kLogCallerCharts, Flight_Data().LogRecord(), nullptr);
  FileSelectForm& p = File_Select();
  EXPECT_EQ(p.List1.ListCount(), 2);
  EXPECT_EQ(p.List2.List(1).substr(16), " 153m");
  p.List1.SetListIndex(1);
  EXPECT_EQ(p.Text1.Text(), "3Marden7.csv");
  EXPECT_EQ(p.Label1.Caption(), "  153.25m by Marden7");
  p.Text1.SetText("9Marden7.csv");
  EXPECT_EQ(p.Label1.Caption(), "");

  // Losing the focus brings the picker to the front again.
  Form other;
  other.Show();
  other.SetFocus();
  DoEvents();
  ASSERT_EQ(Screen().ActiveForm(), &other);
  if (p.OnLostFocus) p.OnLostFocus();
  EXPECT_EQ(Screen().ActiveForm(), &p);
  other.Unload();
}

// A log of an aircraft named in cp932 ("表ソ.brd", both trail bytes that of
// a backslash) is listed read as cp932 and opened by its own bytes.
TEST_F(Screens, PickerShowsACp932NameAndOpensTheLogByItsBytes) {
  const std::string name = "0\x95\x5c\x83\x5c.csv";
  LogPickerHost().LogSuffix = [] { return std::string("\x95\x5c\x83\x5c.csv"); };
  Touch(name, "  42m by X");
  std::string opened;
  LogPickerHost().ReadLog = [&opened](const std::string& path, flight::FlightRecord&, std::string*) {
    opened = path;
    return true;
  };
  OpenLogPicker(kLogCallerCharts, Flight_Data().LogRecord(), nullptr);
  FileSelectForm& p = File_Select();
  ASSERT_EQ(p.List1.ListCount(), 1);
  EXPECT_EQ(p.List1.List(0), "0表ソ.csv");
  p.List1.SetListIndex(0);
  EXPECT_EQ(p.Text1.Text(), "0表ソ.csv");
  EXPECT_EQ(p.Label1.Caption(), "  42m by X");
  p.Command2_Click();
  EXPECT_EQ(opened.substr(opened.size() - name.size()), name);
  EXPECT_TRUE(FileExists(opened));
}

// 64 MiB of CR bytes named like a log: listed from its first line alone and
// refused when opened, quickly and holding little; a damaged summary shows
// a distance of the width a row has.
TEST_F(Screens, AFileOfLineEndsNamedLikeALogIsListedAndRefusedQuickly) {
  zarv::testing::WriteRepeatedByte(Path("FlightData/2Marden7.csv"), '\r', 64);
  Touch("1Marden7.csv", "1e400m by Marden7");
  LogPickerHost().ReadLog = [](const std::string& path, flight::FlightRecord& r, std::string*) {
    return ReadFlightLog(path, {8, 0}, r, {}).Opened;
  };
  // The picker's first showing takes some MB of its own (about 9, 18 under
  // the address sanitizer); the file alone is 64 MB, its lines would be GB.
  zarv::testing::ExpectResidentGrowthBelow(40 * 1024, folder_, [] {
    OpenLogPicker(kLogCallerCharts, Flight_Data().LogRecord(), nullptr);
    File_Select().List1.SetListIndex(1);
    File_Select().Command2_Click();
  });
  const auto start = std::chrono::steady_clock::now();
  OpenLogPicker(kLogCallerCharts, Flight_Data().LogRecord(), nullptr);
  FileSelectForm& p = File_Select();
  ASSERT_EQ(p.List1.ListCount(), 2);
  EXPECT_EQ(p.List2.List(0).substr(16), " 9999999m");
  EXPECT_EQ(p.List2.List(1).substr(16), " 0m");
  p.List1.SetListIndex(1);
  EXPECT_EQ(p.Label1.Caption(), "");
  p.Command2_Click();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, kUnreadableMessage);
  EXPECT_TRUE(p.Loaded());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  p.Unload();
}

TEST_F(Screens, StartedFromADevelopersFolderThePickerListsTheLogsOfTheZarvFolderBesideIt) {
  for (const char* folder : {"Testlab", "Testlab/FlightData", "Zarv", "Zarv/FlightData"})
    ASSERT_TRUE(MakeDir(Path(folder)));
  std::ofstream(Path("Testlab/FlightData/1Marden7.csv")) << "  12m by Marden7\r\n";
  std::ofstream(Path("Zarv/FlightData/2Marden7.csv")) << "  34m by Marden7\r\n";
  SetProgramFolder(Path("Testlab"));
  shell::StartupHooks& art = shell::Hooks();
  art.DrawPanelArt = art.DrawGradient = art.DrawSkyBackgrounds = [] {};
  art.PlaySoundFromMemory = [](const std::string&) {};
  art.FileLeftoverLog = [](const std::string&) { return std::string(); };
  shell::RankingFile().Read = [] { return std::string(); };
  shell::RankingFile().Write = [](bool*) { return true; };
  ASSERT_FALSE(shell::PrepareEnvironment(1024 * 15, 768 * 15).refused);
  EXPECT_TRUE(shell::Shell().DeveloperMode);

  OpenLogPicker(kLogCallerCharts, Flight_Data().LogRecord(), nullptr);
  FileSelectForm& p = File_Select();
  ASSERT_EQ(p.List1.ListCount(), 1);
  EXPECT_EQ(p.List1.List(0), "2Marden7.csv");
  EXPECT_EQ(p.List2.List(0).substr(16), " 34m");
  p.Unload();
}

TEST_F(Screens, PickerChecksTheNameAndReadsIntoTheChartsOwnRecord) {
  Touch("3Marden7.csv", "  153.25m by Marden7");
  int reads = 0;
  LogPickerHost().ReadLog = [&reads](const std::string&, flight::FlightRecord& r, std::string*) {
    ++reads;
    auto steady = testing::SteadyRecord(100, 2);
    r.Samples = steady->Samples;
    r.RecordSampleCount = 100;
    return true;
  };
  OpenFlightData();
  FlightDataForm& f = Flight_Data();
  f.Timer1_Timer();
  f.Command4_Click();
  EXPECT_EQ(shell::Shell().LogCaller, kLogCallerCharts);
  EXPECT_FALSE(f.Label10.Enabled());
  FileSelectForm& p = File_Select();
  ASSERT_TRUE(p.Loaded());
  p.Text1.SetText("abc");
  p.Command2_Click();
  ASSERT_EQ(MessageBoxCalls().size(), 1u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, kChooseFileMessage);
  p.Text1.SetText("7Marden7.csv");
  p.Command2_Click();
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  EXPECT_EQ(MessageBoxCalls()[1].prompt, std::string(kNoSuchFileMessage) + "7Marden7.csv");
  EXPECT_EQ(reads, 0);
  p.Text1.SetText("3Marden7.csv");
  p.Command2_Click();
  EXPECT_EQ(reads, 1);
  EXPECT_FALSE(p.Loaded());
  // The charts stay open on the log; the flight's record is untouched.
  EXPECT_TRUE(f.Loaded());
  EXPECT_EQ(shell::Shell().FormActiveFlags[shell::kSlotFlightData], 1);
  EXPECT_EQ(f.Source(), &f.LogRecord());
  EXPECT_EQ(f.Label1.Caption(), "  153.25m by Marden7");
  EXPECT_EQ(flight::Record().RecordSampleCount, 400);
  EXPECT_EQ(flight::Record().Samples[10].Height, 5);
  EXPECT_TRUE(f.Label10.Enabled());
  f.Timer1_Timer();
  EXPECT_EQ(f.DistanceCanvas().Point(33, 78), kSeriesColours[0]);  // 2 m: row 78
  // A reader that fails leaves the picker open with its message.
  LogPickerHost().ReadLog = [](const std::string&, flight::FlightRecord&, std::string* e) {
    *e = "壊れています";
    return false;
  };
  f.Command4_Click();
  p.Text1.SetText("3Marden7.csv");
  p.Command2_Click();
  EXPECT_EQ(MessageBoxCalls().back().prompt, "壊れています");
  EXPECT_TRUE(p.Loaded());
  p.Command4.OnClick();
  EXPECT_EQ(shell::Shell().LogCaller, kLogCallerNone);
}

}  // namespace
}  // namespace zarv::records
