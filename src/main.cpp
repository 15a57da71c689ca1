// Zarv: the hooks wired and checked, then the start screen prepares
// everything and dispatches by start mode.
#include <cstdio>

#include "flightscreen/program_wiring.h"
#include "platform/ui/app.h"
#include "shell/screens.h"

int main(int argc, char** argv) {
  zarv::Application app(argc, argv);
  zarv::flightscreen::WireProgram();
  const std::vector<std::string> unwired = zarv::flightscreen::UnwiredHooks();
  for (const std::string& hook : unwired) std::fprintf(stderr, "zarv: hook not wired: %s\n", hook.c_str());
  if (!unwired.empty()) return 70;  // a fault of the build, not of the user's files
  zarv::shell::Begin().Load();
  return app.Run();
}
