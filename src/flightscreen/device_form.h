// The control-device settings dialog: assigns joystick buttons (or chords)
// to the flight functions, reads the throttle lever's detent, and sets the
// stick-to-surface ratios, the surface rate and the pitch control law. It is
// modeless: the flight goes on behind it and the ratio bars act at once.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

namespace zarv::flightscreen {

// Chosen at opening from the joystick box and the aircraft's engine rating.
enum class DeviceLayout { JoystickPcas, JoystickRatios, MousePcas, MouseRatios };

class DeviceForm : public Form {
 public:
  DeviceForm();

  ListBox List1{*this};              // function rows, then value rows
  ControlArray<TextBox> Text1{*this};  // the code of each function row
  TextBox Text2{*this};              // the buttons held now
  TextBox Text3{*this};              // pitch (tailplane) ratio
  TextBox Text4{*this};              // roll (fin) ratio
  TextBox Text5{*this};              // surface rate, deg/s
  TextBox Text6{*this};              // pitch response
  TextBox Text7{*this};              // pitch damping
  VScrollBar VScroll1{*this};
  VScrollBar VScroll2{*this};
  VScrollBar VScroll3{*this};
  VScrollBar VScroll4{*this};
  VScrollBar VScroll5{*this};
  Label Label1{*this};  // how to assign a button
  Label Label2{*this};  // the detent instruction
  Label Label3{*this};  // live elevator (and fin) deflection
  CommandButton Command1{*this};  // 完了
  CommandButton Command2{*this};  // ｷｬﾝｾﾙ
  CommandButton Command3{*this};  // ﾎﾞﾀﾝのｷｬﾝｾﾙ
  TimerControl Timer1{*this};

  DeviceLayout Layout() const { return layout_; }
  int FunctionRowCount() const { return functionRows_; }
  bool Pcas() const { return pcas_; }
  // The throttle lever's reading, 0..256, as the detent would be stored.
  int16_t Lever() const { return lever_; }
  int GaugeLeft() const { return gaugeLeft_; }  // 0 without the gauge
  double LeverFraction() const { return leverFraction_; }
  double SurfaceRateEdit() const { return surfaceRateEdit_; }
  double PitchResponseEdit() const { return pitchResponseEdit_; }
  double PitchDampingEdit() const { return pitchDampingEdit_; }

 private:
  void Form_Load();
  void Form_Activate();
  void Form_Unload(int& cancel);
  void Timer1_Timer();
  void Command1_Click();
  void Command3_Click();
  void VScroll_Change(int bar);

  void BuildLayout();
  void PlaceValueRows();
  void StackLowerControls();
  void DrawGaugeFrame();
  void DrawGaugeFill();
  void ShowReadout();
  bool IsFunctionRow(int row) const { return row >= 0 && row < functionRows_; }

  DeviceLayout layout_ = DeviceLayout::MouseRatios;
  bool pcas_ = false;
  int joystickBox_ = 0;
  int functionRows_ = 0;
  int firstValueRow_ = 0;
  int gaugeLeft_ = 0;
  double leverFraction_ = 0;
  int16_t lever_ = 0;
  double surfaceRateEdit_ = 0, pitchResponseEdit_ = 0, pitchDampingEdit_ = 0;
};

// The one dialog object.
DeviceForm& Device();

}  // namespace zarv::flightscreen
