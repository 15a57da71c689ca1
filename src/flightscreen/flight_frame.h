// The flight screen: the cockpit view with the condition bars, the display
// options, the pop-up menu and the option panel; it loads the aircraft,
// starts the flight loop and fills its seams, turns keys and mouse into
// control state, and ends the run through the restart cycle.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "flight/flight_keys.h"
#include "flight/flight_loop.h"
#include "flight/flight_options.h"
#include "flight/flight_seams.h"
#include "flightscreen/cockpit_drawing.h"
#include "flightscreen/companion_load.h"
#include "logbook/flight_log.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"
#include "records/records_screens.h"
#include "replay/replay_form.h"

namespace zarv::flightscreen {

// What the flight screen keeps besides the flight state, for one run.
struct FlightScreenState {
  flight::KeyboardState Keys;
  flight::KeyCommands Commands;  // what the keys call on this screen
  flight::FlightOptions Options;
  flight::FlightSeams Seams;
  uint32_t SavedWaveVolume = 0;
  uint32_t WaveOutVolume = 0;     // the wave volume as the developer diagnostics last read it
  int32_t BaseVolume = 0;
  int32_t LeftChannelVolume = 0, RightChannelVolume = 0;
  double SoundVolumeRatio = 0, EngineSoundLevel = 0, SoundPanSine = 0;
  std::string ShootSound;
  double WindDirectionAtLoad = 0;
  double TaskStartTime = 0;       // Timer s of the load or the current long task
  int16_t HoveredMenuIndex = 0;
  std::string LogSuffix;
  std::string KeyHelpText;
  int LoopDepth = 0;              // RunFlight calls on the stack
  int16_t PendingExit = -1;       // ExitMode of a change or quit held until the loop has ended
  bool CompanionLoading = false;  // the companion flight is being read (its menu and dialog show)
  bool Unloading = false;

  void Reset() { *this = FlightScreenState{}; }
};

class FlightFrame : public Form {
 public:
  FlightFrame();

  PictureBox Picture1{*this};  // the cockpit view
  PictureBox Picture8{*this};  // the top strip
  Label Label16{Picture8};     // メニュー
  Label Label21{Picture8};     // closes the menu
  Label Label14{Picture8};
  Label Label15{Picture8};
  Label Label24{Picture8};
  ListBox List1{*this};        // the pop-up menu

  Frame Frame1{*this};         // launch and weather conditions, display options
  HScrollBar HScroll1{Frame1}, HScroll2{Frame1}, HScroll3{Frame1};
  VScrollBar VScroll1{Frame1}, VScroll2{Frame1}, VScroll3{Frame1}, VScroll4{Frame1}, VScroll5{Frame1};
  Label Label1{Frame1}, Label2{Frame1}, Label3{Frame1}, Label4{Frame1}, Label5{Frame1}, Label6{Frame1},
      Label7{Frame1}, Label8{Frame1}, Label9{Frame1}, Label10{Frame1}, Label11{Frame1}, Label12{Frame1},
      Label13{Frame1};
  CheckBox Check8{Frame1};
  CheckBox Check1{Frame1}, Check2{Frame1}, Check3{Frame1}, Check4{Frame1}, Check5{Frame1}, Check6{Frame1},
      Check9{Frame1};
  Frame Frame5{static_cast<Container&>(Frame1)};        // simulation speed
  OptionButton Option1{Frame5}, Option2{Frame5};
  Frame Frame7{static_cast<Container&>(Frame1)};        // frame rate
  OptionButton Option6{Frame7}, Option7{Frame7};
  CommandButton Command1{Frame1};  // device settings
  CommandButton Command13{Frame1}; // registration

  PictureBox Picture7{*this};  // the option panel
  CheckBox Check7{Picture7};   // sound
  Frame Frame6{Picture7};      // screen size
  OptionButton Option3{Frame6}, Option4{Frame6}, Option5{Frame6};
  CommandButton Command16{Frame6}, Command17{Frame6};

  TextBox Text13{*this};       // key help
  Frame Frame3{*this};         // information columns (the panel drawing fills them)
  Frame Frame4{*this};
  ControlArray<TextBox> Text11{Frame3};  // flight data, second page
  ControlArray<TextBox> Text12{Frame4};  // flight data, third page
  PictureBox Picture9{*this};  // the data box
  ControlArray<TextBox> Text15{Picture9};  // flight data, first page
  PictureBox Picture13{*this}; // the panel's trace plots
  records::NameEntryPanel NameEntry{*this};  // the ranking name-entry panel
  PictureBox& Picture6 = NameEntry.Picture6;
  PictureBox Picture14{*this}; // the balance ball
  CommandButton Command14{*this};  // take-off

  TimerControl Timer1{*this};  // post-flight
  TimerControl Timer2{*this};  // starts the flight loop after the load
  TimerControl Timer3{*this};  // keeps the view live after the flight

  FlightScreenState& Screen() { return screen_; }
  bool FlightLoaded() const { return loaded_; }

  // The screen's commands (also reached by keys and the menu).
  void Command14_Click();  // take-off run / wheel brake
  void Command11_Click();  // cancel the flight / back to the platform
  void Command3_Click();   // change the aircraft
  void QuitCommand();      // F12
  void ReadDisplayOptions();
  void Form_KeyDown(int& keyCode, int shift);
  void Form_KeyPress(int& keyAscii);
  void Form_MouseDown(int button, double x, double y);
  void Form_MouseMove(double x, double y);
  void List1_MouseMove(double y);
  void List1_MouseDown();
  void Label16_Open();
  void Label21_Close();
  void Timer2_Timer();
  // The records' and replay's screens (menu entries and F2 to F6).
  void Command9_Click();   // ranking
  void Command4_Click();   // airfoil chart
  void Command7_Click();   // aircraft chart
  void Command5_Click();   // flight-data charts; a flight interrupted in the air goes on
  void Command6_Click();   // replay; likewise
  void Timer1_Timer();     // post-flight: result, log, ranking place, filing
  const records::PostFlightOutcome& LastPostFlight() const { return postFlight_; }
  // The result line of the last flight ("" until the flight has ended).
  const std::string& FlightSummary() const { return flightSummary_; }
  // Stops the sound and puts the user's volume back, as a change of screen does.
  void PlayTransitionSound();
  void RestartFrameRateCount();
  // The link a replay opened from this screen gets.
  void FillReplayLink(replay::ReplayLink& link);
  // What the post-flight processing calls on this screen; its OK of the name
  // entry reads `prompt`.
  records::PostFlightScreen PostFlightScreenHooks(std::string& prompt);
  // The companion's and the gun's links into this screen's flight.
  CompanionSeamLinks CompanionLinks();

  // One place for each drawing the view and panel issues provide.
  void DrawFrame();
  void DrawPanel();
  void DrawHeadUp();
  // The gun: a powered aircraft's left click and the joystick's fire button.
  void FireGun();
  CockpitDrawing& Drawing() { return *drawing_; }
  // The post-flight processing that the records issue provides.
  void RunPostFlight();

  // Tests: the flight loop paces without waiting and real time is the clock's.
  static void SetHeadlessPacing(bool on);
  // Tests: how the replay waits for its next frame (empty: real time).
  static void SetReplayWait(std::function<void(uint64_t deadlineMs)> wait);

 private:
  void Form_Load();
  void Form_Unload(int& cancel);
  void SetUpScreen();       // layout, captions, options
  void DrawBallPicture();
  void LoadStartDuties();   // menu, start state, wind sound
  void FillSeams();
  void FillMenu(int phase);
  // False when the user chose to stay after the aircraft file could not be saved.
  bool AskSaveQuestions();
  bool WriteHandOverFile(bool* tooLarge = nullptr);
  void SetLastFlightStrings();
  void UpdateWindSound();
  bool SaveSettingsNow(bool* tooLarge = nullptr);
  void ApplyOptionBoxesToSettings();
  void OptionPanel_Show();
  void Command16_Click();
  void Command17_Click();
  // The size options set to the size this screen is laid out at.
  void ShowSizeInUse();
  void Check6_Click();
  void PlayLoopSound();
  void StopSound(unsigned flags);
  void RestoreVolume();
  void SetWave(int32_t left, int32_t right);
  void LoadRecordsScreens();    // the load's share of the records' and charts' screens
  void UnloadRecordsScreens();  // and the unload's
  void CloseIdleReplay();       // the replay's window once the replay has closed
  void ResumeFlightInAir();     // RunFlight again after a screen interrupted the flight
  void Timer3_Timer();
  void Form_Activate();
  void Form_Deactivate();
  void Form_Resize();
  void CarryOutPendingExit();
  void ConditionBarChanged(int bar);

  void InitDrawing();
  void LoadCompanion();
  bool CompanionLoadKey(int& keyCode);  // true: the key was the loading's
  void FillKeyCommands();
  void ShowFrameCaptions();
  void SetUpDataBoxes();
  void ShowFlightDataPages();  // the panel's pages and traces into their boxes

  FlightScreenState screen_;
  std::unique_ptr<CockpitDrawing> drawing_ = std::make_unique<CockpitDrawing>();
  bool loaded_ = false;
  bool settingUp_ = false;
  // The records' side of the run.
  records::PostFlightOutcome postFlight_;
  std::string flightSummary_;
  std::unique_ptr<flight::FlightRecord> replayLog_;  // logs opened from the replay
  bool quitAfterReplay_ = false;
};

FlightFrame& FlightScreenForm();

// The progress dialog as the log writer and reader drive it.
records::LongTaskHooks ProgressDialogHooks();

}  // namespace zarv::flightscreen
