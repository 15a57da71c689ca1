// The replay screen: a recorded flight played back from a ground camera,
// with its menu bar, playback and options panels, readout bar and camera
// map. The flight screen opens it with OpenReplay, during a flight or after
// one; OpenReplay returns when the user closes the replay, and a flight that
// was interrupted in the air then goes on in the caller's own loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "aircraft/aircraft_data.h"
#include "flight/flight_record.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "replay/replay_player.h"
#include "shell/settings.h"

namespace zarv::replay {

// What the opener hands to the replay. References must outlive the call.
struct ReplayLink {
  flight::FlightRecord* Record = nullptr;          // the record to play
  const model::AirframeOutline* Outline = nullptr; // the own aircraft's outline
  flight::FlightState* Flight = nullptr;           // its heading is kept and given back
  const aircraft::AircraftData* Aircraft = nullptr;
  ReplayScenery Scenery;                            // shore, platform, poles, prisms
  shell::Settings* Settings = nullptr;              // camera, zoom and trail choices
  ReplaySounds Sounds;
  std::string Summary;                              // the flight's one-line result
  int32_t SavedWaveVolume = 0;                      // volume given back on closing
  Form* FlightScreen = nullptr;                     // hidden while the replay runs
  // The opener fills the hooks (the flight screen's are checked when it has
  // set itself up); an empty one is only allowed where its comment says so.
  // The flight screen's drawing-kept switch; off with a launch height of 0
  // makes the close end the flight.
  std::function<bool()> FlightScreenKeepsDrawing;
  // True once the flight has ended and been filed: nothing is lost when the
  // hidden flight screen goes (the close box then unloads it).
  std::function<bool()> FlightFiled;
  // Lets the user pick a stored flight log and reads it into the record;
  // true when a log was read.
  std::function<bool(flight::FlightRecord&)> OpenLog;
  // F12: end the program.
  std::function<void()> QuitProgram;
  // Saves a screenshot numbered with the cockpit view's counter; empty
  // saves the next free camNNN.bmp in the program folder.
  std::function<void(const Surface&)> SaveScreenshot;
  // Waits until the monotonic clock reaches the given ms; empty sleeps.
  std::function<void(uint64_t)> WaitUntil;
};

class ReplayForm : public Form {
 public:
  ReplayForm();

  // Unloads and loads the screen afresh over link's record, plays it until
  // the user closes it, then returns. Called again from inside its own loop
  // (a nested opener), it only asks the running loop to start over.
  void Open(const ReplayLink& link);

  // The player of the current opening (nullptr before the first).
  ReplayPlayer* Player() { return player_.get(); }
  bool Running() const { return running_; }

  // The frame picture shown in the window and the background bitmap.
  Surface Picture7;
  Surface Picture6;
  bool BackgroundLoaded = false;

  PictureBox Picture4{*this};  // menu bar
  Label Label13{Picture4};     // メニュー
  Label Label14{Picture4};     // 操作
  Label Label16{Picture4};     // summary line
  ListBox List1{*this};        // drop-down menu
  PictureBox Picture3{*this};  // playback panel
  CommandButton Command2{Picture3};
  CommandButton Command4{Picture3};
  CommandButton Command9{Picture3};
  CommandButton Command5{Picture3};
  CommandButton Command3{Picture3};
  PictureBox Picture5{*this};  // options pop-up
  CommandButton Command6{Picture5};
  CheckBox Check1{Picture5};
  OptionButton Option1{Picture5};
  OptionButton Option2{Picture5};
  Frame Frame1{Picture5};
  OptionButton Option3{Frame1};
  OptionButton Option4{Frame1};
  Label Label17{Picture5};
  Label Label18{Picture5};
  PictureBox Picture2{*this};  // readout bar
  std::array<std::unique_ptr<Label>, 16> Readout;  // Label1..Label15 (Label13, Label14 unused)
  PictureBox Picture1{*this};  // camera map
  Label Label19{Picture1};
  Frame Frame2{*this};         // close, open, help
  CommandButton Command1{Frame2};
  CommandButton Command8{Frame2};
  CommandButton Command7{Frame2};

  // Handlers, public for the tests.
  void Form_KeyDown(int& key, int shift);
  void Form_MouseDown(int button, int shift, double x, double y);
  void Form_MouseMove(int button, int shift, double x, double y);
  void Command1_Click();  // close
  void Command2_Click();  // play
  void Command3_Click();  // fast forward
  void Command4_Click();  // rewind
  void Command5_Click();  // step forward
  void Command9_Click();  // step back
  void Command6_Click();  // camera map
  void Command7_Click();  // help
  void Command8_Click();  // open a flight log
  void List1_MouseDown();
  void Picture1_MouseDown(double x, double y);
  void Picture1_MouseMove(double x, double y);

 private:
  void Form_Load();
  void Form_Unload(int& cancel);
  void Layout();
  void StartPlayer(uint64_t now);
  void RunLoop();
  void ShowFrame();
  void CopySettingsBack();
  void DrawMap();
  // The flight screen the replay hid, shown again where the replay stands.
  void ShowFlightScreenHere(Form& screen);

  ReplayLink link_;
  std::unique_ptr<ReplayPlayer> player_;
  std::unique_ptr<ReplayPlayer> retired_;  // the player of the last unloaded opening
  bool running_ = false;
  bool unloading_ = false;
  bool openLogRequested_ = false;
  int16_t pointerX_ = 0, pointerY_ = 0;
};

// The program-wide replay screen.
ReplayForm& Vedeo();

// Opens the replay over link's record and returns when it is closed.
void OpenReplay(const ReplayLink& link);

}  // namespace zarv::replay
