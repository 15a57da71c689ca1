#include "records/ranking_link.h"

#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "platform/runtime/files.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace zarv::records {

void ConnectRankingToShell() {
  shell::RankingFileHooks& hooks = shell::RankingFile();
  hooks.Read = [] { ReadRankingFile(RankingPath(), Ranking()); };
  hooks.Write = [] { return WriteRankingFile(RankingPath(), Ranking()); };
}

void ConnectLeftoverLogToShell() {
  shell::Hooks().FileLeftoverLog = [](const std::string& aircraftFileName) {
    return FileLeftoverLog(ProgramPath("\\Temp\\before.csv"), ProgramPath("\\FlightData"), aircraftFileName);
  };
}

}  // namespace zarv::records
