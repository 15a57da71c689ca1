// Zarv: the start screen prepares everything and dispatches by start mode.
#include "flightscreen/flight_frame.h"
#include "platform/devices/sound.h"
#include "platform/runtime/files.h"
#include "platform/ui/app.h"
#include "records/ranking_link.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "shell/startup.h"
#include "view/screen_art.h"

namespace {

zarv::view::SkyTables CurrentSkyTables() { return zarv::view::SkyTablesFrom(zarv::shell::Sky()); }

// The shell's start-up calls the cached art through its hooks; the drawing
// lives with the flight view, which the shell does not link.
void InstallScreenArtHooks() {
  using namespace zarv;
  // Caches: one that could not be written is drawn again at the next start.
  shell::StartupHooks& hooks = shell::Hooks();
  hooks.DrawGradient = [] { static_cast<void>(view::SaveGradientProbe(ProgramPath("\\Temp"))); };
  hooks.DrawSkyBackgrounds = [] {
    const shell::ShellState& sh = shell::Shell();
    static_cast<void>(view::SaveSkyBackgrounds(ProgramPath("\\Temp"), sh.ScreenScale,
                                               shell::CurrentSettings().ScreenSizeChoice,
                                               sh.GradientBitmapLengthNow, CurrentSkyTables()));
  };
  hooks.DrawPanelArt = [] {
    const shell::ShellState& sh = shell::Shell();
    static_cast<void>(view::SavePanelArt(ProgramPath("\\Temp"), sh.ScreenScale, sh.FontScale,
                                         shell::CurrentSettings().ScreenSizeChoice, sh.DeveloperMode));
  };
}

// The start-up plays the transition sound from memory and waits for its end.
void InstallStartupSoundHook() {
  zarv::shell::Hooks().PlaySoundFromMemory = [](const std::string& image) {
    zarv::sndPlaySoundA(image, zarv::SND_MEMORY);
  };
}

}  // namespace

int main(int argc, char** argv) {
  zarv::Application app(argc, argv);
  InstallScreenArtHooks();
  InstallStartupSoundHook();
  zarv::flightscreen::UseFlightScreen();
  zarv::records::ConnectRankingToShell();
  zarv::records::ConnectLeftoverLogToShell();
  zarv::shell::Begin().Load();
  return app.Run();
}
