// The characteristic chart screens: the airfoil chart (翼型特性) and the
// aircraft chart (機体特性). Both are fixed 510 x 480 windows over the flight
// screen's top-left corner, drawn once when they load, with a cancel and a
// print button; they close when another window is activated.
//
// What the flight screen calls:
//   OpenAirfoilChart()        its "翼型特性 F3" command
//   OpenAircraftChart()       its "機体特性 F4" command
//   LoadAircraftChartHidden() near the end of its load, right after
//                             flight::PrepareFlightScreenLoad (which has
//                             already evaluated the aircraft chart and set the
//                             flight limits): loads the aircraft chart without
//                             showing it, drawn from that evaluation
//   UnloadCharts()            its unload (a chart that is printing closes
//                             when its print has ended)
// The screens read the program-wide aircraft, flight state and outline, and
// the flight screen's position through shell::FlightScreen().Position.
#pragma once

#include <string>

#include "platform/ui/colors.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace zarv::charts {

// The frame both chart screens share: buttons, printing, closing.
class ChartForm : public Form {
 public:
  Frame Frame1{*this};
  CommandButton Command1{Frame1};  // ｷｬﾝｾﾙ(Esc)
  CommandButton Command2{Frame1};  // 印刷(F3)

  // The print button: the window without its buttons goes to the printer; a
  // failed print is reported. A close asked for meanwhile waits for it.
  void Command2_Click();
  // True while the screen draws or prints; a deactivation then only marks
  // the close, which follows when the work is done.
  bool Busy() const { return busy_; }
  bool ClosePending() const { return closePending_; }

 protected:
  ChartForm(int slot, int helpTopic, std::string caption);
  // Window, position, fonts and buttons. The aircraft chart's buttons sit in
  // a frame one pixel larger each way, one twip down.
  void SetUpFrame(double frameWidth, double frameHeight, bool nudged);
  void BeginWork() { busy_ = true; }
  void EndWork();
  int Slot() const { return slot_; }

 private:
  void Form_Activate();
  void Form_Deactivate();
  void Form_Unload(int& cancel);

  int slot_;
  int helpTopic_;
  std::string caption_;
  bool busy_ = false;
  bool closePending_ = false;
};

class WingCharactorForm : public ChartForm {
 public:
  WingCharactorForm();
  Label Label1{*this};  // the airfoil's name
  Label Label2{*this};  // 揚力係数
  Label Label3{*this};  // 抵抗係数Ｘ10

 private:
  void Form_Load();
  void DrawCurves(double speedChord, Color liftColour, bool moveLegends);
};

class PlaneCharactorForm : public ChartForm {
 public:
  PlaneCharactorForm();
  Label Label1{*this};  // the aircraft's name
  Label Label2{*this};  // the summary
  Label Label3{*this};  // 揚力係数
  Label Label4{*this};  // 抵抗係数Ｘ10
  Label Label5{*this};  // 揚抗比

  // The next load draws the evaluation that is in place instead of running
  // it again (the flight screen's load has just run it).
  void UseEvaluationInPlace() { useInPlace_ = true; }

 private:
  void Form_Load();
  void DrawGrid();
  void DrawCurves();
  bool useInPlace_ = false;
};

WingCharactorForm& Wing_Charactor();
PlaneCharactorForm& Plane_Charactor();

void OpenAirfoilChart();
void OpenAircraftChart();
void LoadAircraftChartHidden();
void UnloadCharts();

}  // namespace zarv::charts
