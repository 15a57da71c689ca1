// The flight screen as the shell's screens see it. It lives in a later
// layer, so the shell's tests fill its link with this fake, which keeps what
// was asked of it and, like the real screen's load, takes down the start,
// notice and hangar screens when it is shown.
#pragma once

#include <string>
#include <utility>

#include "shell/flight_screen_link.h"
#include "shell/screens.h"

namespace zarv::shell::testing {

struct FakeFlightScreen {
  bool Shown = false;
  int Unloads = 0;
  int Cancels = 0;
  std::string Caption;
  double Left = 3000, Top = 2000;  // twips

  void Wire() {
    FlightScreenLink& link = FlightScreen();
    link.Show = [this] {
      Shown = true;
      if (Begin().Loaded() && !Begin().Unloading()) Begin().Unload();
      for (Form* f : std::initializer_list<Form*>{&Choice(), &Notice()})
        if (f->Loaded()) f->Unload();
    };
    link.Unload = [this] {
      if (!Shown) return;
      Shown = false;
      ++Unloads;
    };
    link.Loaded = [this] { return Shown; };
    link.SetCaption = [this](const std::string& caption) { Caption = caption; };
    link.Position = [this] { return std::make_pair(Left, Top); };
    link.MoveTo = [this](double left, double top) {
      Left = left;
      Top = top;
    };
    link.ProgressAnchor = [this] { return std::make_pair(Left, Top); };
    link.CancelLongTasks = [this] { ++Cancels; };
  }
};

}  // namespace zarv::shell::testing
