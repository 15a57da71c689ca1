// The ranking of the 20 best platform flights: the lines in memory, the
// ranking file Temp/record.dat, which flights qualify and where they go.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zarv::records {

inline constexpr int kRankingPlaces = 20;

struct RankingState {
  // Places 1..20, best first (slot 0 unused); an empty line is a free place.
  std::array<std::string, kRankingPlaces + 1> RecordLines{};
  // The places as the file held them when this run last read or wrote it:
  // a line of RecordLines not among them is an entry of this run.
  std::array<std::string, kRankingPlaces + 1> FileLines{};
  int16_t NewRecordRank = 0;  // the place the last flight earned
  double NewRecordDistance = 0;  // m, the flight's own distance that earned it
  // Each entry of this run beside the flight's own distance: its line shows
  // that distance only to the centimetre, and the entry keeps the place the
  // distance itself earned.
  struct Entry {
    std::string Line;
    double Distance = 0;  // m
  };
  std::vector<Entry> EntryDistances;
  // What the start found of the ranking file. The list is written back only
  // over a file that was read, or where there was none.
  enum class FileState : int8_t { NotLookedAt, Absent, Read, Unreadable };
  FileState File = FileState::NotLookedAt;

  void Reset() { *this = RankingState{}; }
};

// The program-wide ranking.
RankingState& Ranking();

// "\Temp\record.dat" below the program folder.
std::string RankingPath();
// Twenty lines of a few dozen bytes: a file far larger is no ranking file.
inline constexpr int64_t kMaxRankingFileBytes = 64 * 1024;

// Reads the ranking file when it exists (whatever the settings file said).
// A short file leaves the missing places empty. A file that exists but cannot
// be read (also one larger than kMaxRankingFileBytes, or no regular file)
// leaves the list empty and forbids writing it back.
void ReadRankingFile(const std::string& path, RankingState& ranking);
// Writes the 20 lines atomically (cp932, CR LF). Another copy of the program
// may have written the file since this one read it: under the file's lock
// the file is read again and this run's entries go into it, each at the
// place the ranking rule gives the flight's own distance there (below
// equal distances; one beyond the 20th place is dropped), each once; the
// file's own lines keep their order. With the file as this run read it,
// every entry stays where it was announced. The list written becomes the
// one in memory. Refused (false) unless the start read the file or found
// none, when the file is now there but cannot be read, and when the file
// would be larger than kMaxRankingFileBytes (*tooLarge set); false too when
// the write failed, the old file then being intact. A refused or failed write keeps the state.
// Another copy that holds the lock past lockWaitSeconds (on a very slow
// disk, or stopped) leaves the file to it: false when this run has an entry
// the file lacks, true (nothing written) when not. A run without entries of
// its own does not wait.
inline constexpr double kRankingLockWaitSeconds = 30;
[[nodiscard]] bool WriteRankingFile(const std::string& path, RankingState& ranking, bool* tooLarge = nullptr,
                                    double lockWaitSeconds = kRankingLockWaitSeconds);

// The longest name the entry box takes. A line is at most 3 bytes a UTF-16
// unit (a line cp932 cannot hold goes in UTF-8 after a 3-byte mark): the
// entry text of about 40 bytes, an aircraft name of at most 255 units
// (the editor's limit) and the pilot's 255 come to 3 + 40 + 3 * 510 + 2 =
// 1,575 bytes, and 20 such lines to 31,500, well below the 65,536 bytes read.
inline constexpr int kMaxPilotNameLength = 255;
// What the user is told, at the start and again at the unload, of a ranking
// file that was there but could not be read; empty for any other.
std::string RankingFileNotice(const RankingState& ranking, const std::string& path);

// The distance a ranking line stands for: its leading number (0 when none).
double RankingValue(const std::string& line);

struct RankingCandidate {
  double Distance = 0;     // m
  double LaunchSpeed = 0;  // m/s
  double WingSpan = 0;     // m
  double Throttle = 0;
  double LaunchHeight = 0;  // m
};

// The place (1..20) the flight earns, or 0: a platform flight (launch speed
// below 10 m/s, from a platform above 1 m) of an aircraft of 10..24 m span
// (both strict), with the throttle closed, of more than 100 m and more than
// the 20th place; it goes below every line of equal distance. A line of an
// entry of this run stands for that flight's own distance.
int16_t RankingPlace(const RankingState& ranking, const RankingCandidate& flight);

// The ranking check: sets NewRecordRank and NewRecordDistance when the
// flight qualifies (leaves them otherwise) and returns the place or 0.
int16_t CheckRanking(RankingState& ranking, const RankingCandidate& flight);

// Checks a typed pilot name: empty text when it can go in, else the message
// to show (a line break cannot be part of a ranking line).
std::string PilotNameProblem(const std::string& name);

// Inserts entryText + name at place (1..20); the lines below move down and
// the old 20th place is dropped. False (nothing changed) for a place out of
// range or a name with a line break.
bool InsertRankingEntry(RankingState& ranking, int place, const std::string& entryText, const std::string& name);

}  // namespace zarv::records
