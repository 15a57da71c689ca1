// The flight records' screens: the ranking window, and the name-entry panel
// that the flight screen carries for a flight that earned a ranking place.
#pragma once

#include <functional>
#include <string>

#include "logbook/post_flight.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

namespace zarv::records {

// The ranking window: the 20 places, modeless; it closes as soon as another
// window takes the focus.
class ResultSheetForm : public Form {
 public:
  ResultSheetForm();
  Label Label1{*this};
  CommandButton Command1{*this};  // ｷｬﾝｾﾙ(Esc), out of sight

 private:
  void Form_Load();
};
ResultSheetForm& ResultSheet();

// What the ranking window needs of the flight screen.
struct ResultSheetLink {
  // Top-left corner in twips (the flight screen's).
  std::function<std::pair<double, double>()> Anchor;
  // After the window closed: the flight screen restarts its per-second count.
  std::function<void()> OnClosed;
};
ResultSheetLink& ResultSheetHost();

// The name-entry panel, a picture box on the flight screen (240 x 130 pixels).
class NameEntryPanel {
 public:
  explicit NameEntryPanel(Container& flightScreen);
  PictureBox Picture6;
  Label Label23{Picture6};          // title
  Label Label20{Picture6};          // prompt
  TextBox Text1{Picture6};          // the name
  CommandButton Command10{Picture6};  // OK
  CommandButton Command15{Picture6};  // Ｘ

  // The panel's layout (the flight screen's load), hidden.
  void Layout(const std::string& appName, double fontScale);
  // Shows the prompt for the place and waits for the name; OK inserts
  // recordEntryText + the name at the ranking's NewRecordRank.
  void Offer(const std::string& prompt, const std::string& recordEntryText);
  // Hides the panel without an entry (Ｘ, Esc, the device dialog).
  void Close();
  bool IsOpen() const;
  // OK: refused names get a message and the panel stays; otherwise the
  // entry goes in, the ranking window opens for a typed name, the panel hides.
  void Command10_Click();

 private:
  void DrawPanel();
  std::string entryText_;
};

// The post-flight timer's work: the timer is disabled before anything else,
// so that its tick cannot run again while the log writer yields to events;
// then the post-flight processing.
PostFlightOutcome OnPostFlightTimer(TimerControl& timer, PostFlightInputs& in, const PostFlightScreen& screen);

}  // namespace zarv::records
