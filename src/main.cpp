// Zarv: the start screen prepares everything and dispatches by start mode.
#include "platform/ui/app.h"
#include "records/ranking.h"
#include "shell/screens.h"

int main(int argc, char** argv) {
  zarv::Application app(argc, argv);
  zarv::shell::UsePlaceholderFlightScreen();
  zarv::records::ConnectRankingToShell();
  zarv::shell::Begin().Load();
  return app.Run();
}
