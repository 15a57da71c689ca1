// Zarv: the hooks wired and checked, then the start screen prepares
// everything and dispatches by start mode.
#include "flightscreen/program_wiring.h"
#include "platform/runtime/process.h"
#include "platform/ui/app.h"
#include "shell/screens.h"

int main(int argc, char** argv) {
  zarv::PrepareProcess();
  zarv::Application app(argc, argv);
  zarv::flightscreen::WireProgram();
  zarv::flightscreen::EndForUnwiredHooks(zarv::flightscreen::UnwiredHooks());
  zarv::shell::Begin().Load();
  return app.Run();
}
