// The flight-data chart screen (フライトデータ): a viewport onto the chart
// against time or against distance, a legend with seven check boxes for the
// optional series, a small menu and the keys F3 (open a log), F6 (print),
// F2 (hide), Esc / F9 (close).
//
// What the flight screen calls:
//   ShowFlightDataAndWait()  its "フライトデータ F5" command, during or after a
//                            flight: shows the charts of the samples recorded
//                            so far, hides the flight screen and yields until
//                            the charts close. The caller then goes on with a
//                            flight that was interrupted in the air (Altitude
//                            above 0) by calling RunFlight again.
//   CloseFlightData()        the end of a flight and the flight screen's unload.
// The flight screen fills FlightDataHost() when it is built.
//
// Hide (F2) closes the charts and brings the flight screen back, so a waiting
// flight goes on and a window is always visible.
//
// A stored log opened from here (F3) is read into the screen's own record:
// the record of a suspended flight is never overwritten.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "flight/flight_record.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"
#include "records/flight_data_charts.h"

namespace zarv::records {

struct FlightDataLink {
  std::function<void()> HideFlightScreen;
  std::function<void()> ShowFlightScreen;
  std::function<void(bool)> SetFlightScreenAutoRedraw;
  std::function<void(int)> SetFlightScreenMousePointer;
  std::function<void(double top)> SetFlightScreenTop;  // twips
  // The result line of the flight (shown in the strip).
  std::function<std::string()> FlightSummary;
  // The transition sound and the saved wave volume.
  std::function<void()> PlayTransitionSound;
  void Reset() { *this = FlightDataLink{}; }
};
FlightDataLink& FlightDataHost();

// Values that outlive the screen while the program runs.
struct FlightDataMemory {
  int ScrollPosition = 0;  // the scroll bar's last value
  void Reset() { *this = FlightDataMemory{}; }
};
FlightDataMemory& FlightDataKept();

// The pop-up menu's row under the pointer at y pixels below its first
// row's top: rows 15.6 pixels apart, the nearest one, at most the last (3).
int MenuRowAt(double y);

class FlightDataForm : public Form {
 public:
  FlightDataForm();
  PictureBox Picture3{*this};  // toolbar strip
  Label Label10{*this};        // メニュー
  Label Label1{*this};         // the flight's summary
  PictureBox Picture4{*this};  // viewport
  HScrollBar HScroll1{*this};
  CheckBox Check1{*this}, Check2{*this}, Check3{*this}, Check4{*this}, Check5{*this}, Check6{*this},
      Check7{*this};
  ListBox List1{*this};  // the pop-up menu
  Frame Frame1{*this};
  CommandButton Command4{Frame1};  // ファイル
  CommandButton Command1{Frame1};  // 印刷(P)
  CommandButton Command3{Frame1};  // 次ページ(N): hide
  TimerControl Timer1{*this};

  // Shows the charts of `record` (the flight's, or a stored log's).
  void ShowRecord(const flight::FlightRecord& record, const std::string& summary);

  // The first drawing (the timer's; tests call it directly): the chart on
  // screen; a second round draws the other one.
  void Timer1_Timer();
  void Command1_Click();  // print
  void Command3_Click();  // hide
  void Command4_Click();  // open a log
  void Picture4_MouseDown(int button);
  void HScroll1_Change();

  // ---- for tests and the probe ----
  const Surface& TimeCanvas() const { return timeCanvas_; }
  const Surface& DistanceCanvas() const { return distanceCanvas_; }
  bool DistanceChosen() const { return distanceChosen_; }
  bool Drawn() const { return drawn_; }
  const flight::FlightRecord* Source() const { return source_; }
  // The record stored logs are read into.
  flight::FlightRecord& LogRecord();

 private:
  void Form_Load();
  void Form_KeyDown(int& key);
  void Form_Unload(int& cancel);
  void CheckClick(int n);
  void Draw(bool bottomOnly);
  void DrawTimeChart(bool bottomOnly);
  void EnsureTimeChart();
  void Blit();
  void RunMenuRow(int row);
  void SetUpScreen();
  ChartInputs Inputs() const;

  std::array<CheckBox*, 7> checks_{};
  const flight::FlightRecord* source_ = nullptr;
  std::string summary_;
  std::unique_ptr<flight::FlightRecord> logRecord_;
  Surface timeCanvas_, distanceCanvas_, timeTile_, distanceTile_;
  bool light_ = true;
  bool distanceChosen_ = false;
  bool drawn_ = false;
  bool timeChartDrawn_ = false;
  int timeWidth_ = kMinCanvasWidth;
  bool progressOpen_ = false;
  double openTime_ = 0;
};

FlightDataForm& Flight_Data();

void ShowFlightDataAndWait();
// Opens the charts of the flight record without waiting.
void OpenFlightData();
void CloseFlightData();

}  // namespace zarv::records
