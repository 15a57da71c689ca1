// The records' files seen from the shell: the shell reads and writes the
// ranking and files a leftover log through hooks, since it does not link
// the records.
#pragma once

namespace zarv::records {

// Fills the shell's ranking-file hooks (start-up reading, the placeholder
// flight screen's writing) with the ranking's file code.
void ConnectRankingToShell();

// Fills the shell's start-up hook that files a log an earlier run left in
// Temp/before.csv into FlightData.
void ConnectLeftoverLogToShell();

}  // namespace zarv::records
