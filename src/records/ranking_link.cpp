#include "records/ranking_link.h"

#include "logbook/ranking.h"
#include "shell/shell_state.h"

namespace zarv::records {

void ConnectRankingToShell() {
  shell::RankingFileHooks& hooks = shell::RankingFile();
  hooks.Read = [] { ReadRankingFile(RankingPath(), Ranking()); };
  hooks.Write = [] { return WriteRankingFile(RankingPath(), Ranking()); };
}

}  // namespace zarv::records
