// Zarv: the start screen prepares everything and dispatches by start mode.
#include "platform/ui/app.h"
#include "flightscreen/flight_frame.h"
#include "shell/screens.h"

int main(int argc, char** argv) {
  zarv::Application app(argc, argv);
  zarv::flightscreen::UseFlightScreen();
  zarv::shell::Begin().Load();
  return app.Run();
}
