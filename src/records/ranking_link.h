// The ranking file's side of the shell: the shell reads and writes the
// ranking through hooks, since it does not link the records.
#pragma once

namespace zarv::records {

// Fills the shell's ranking-file hooks (start-up reading, the placeholder
// flight screen's writing) with the ranking's file code.
void ConnectRankingToShell();

}  // namespace zarv::records
