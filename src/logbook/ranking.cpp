#include "logbook/ranking.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/file_lock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::records {

RankingState& Ranking() { return ProgramWide<RankingState>(); }

std::string RankingPath() { return ProgramPath("\\Temp\\record.dat"); }

void ReadRankingFile(const std::string& path, RankingState& ranking) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    ranking.File = RankingState::FileState::Absent;
    return;
  }
  bool ok = false;
  const std::vector<std::string> lines = ReadTextLines(path, &ok, kMaxRankingFileBytes, kRankingPlaces);
  for (int i = 1; i <= kRankingPlaces; ++i) {
    const size_t at = static_cast<size_t>(i) - 1;
    ranking.RecordLines[static_cast<size_t>(i)] = ok && at < lines.size() ? lines[at] : std::string();
  }
  ranking.File = ok ? RankingState::FileState::Read : RankingState::FileState::Unreadable;
  ranking.FileLines = ranking.RecordLines;
}

namespace {
std::vector<std::string> RankingLines(const RankingState& ranking) {
  return {ranking.RecordLines.begin() + 1, ranking.RecordLines.end()};
}

// The lines of `lines` that `held` does not hold, line for line: a line
// held once and listed twice is listed once. Free places are none.
std::vector<std::string> LinesNotHeld(const std::vector<std::string>& lines, std::vector<std::string> held) {
  std::vector<std::string> rest;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const auto at = std::find(held.begin(), held.end(), line);
    if (at != held.end()) {
      held.erase(at);
    } else {
      rest.push_back(line);
    }
  }
  return rest;
}

// What a line stands for: the flight's own distance for an entry of this
// run, else the line's leading number.
double LineValue(const RankingState& ranking, const std::string& line) {
  for (const RankingState::Entry& entry : ranking.EntryDistances)
    if (entry.Line == line) return entry.Distance;
  return RankingValue(line);
}

// The ranking rule, for the check and the write alike: below every line of
// an equal distance; 0 for none beyond the 20th.
int16_t PlaceOfDistance(const RankingState& ranking, double distance) {
  const auto value = [&](int k) { return LineValue(ranking, ranking.RecordLines[static_cast<size_t>(k)]); };
  if (!(distance > value(kRankingPlaces))) return 0;
  for (int k = 1; k <= kRankingPlaces; ++k)
    if (value(k) < distance) return static_cast<int16_t>(k);
  return 0;
}

}  // namespace

bool WriteRankingFile(const std::string& path, RankingState& ranking, bool* tooLarge, double lockWaitSeconds) {
  if (tooLarge) *tooLarge = false;
  if (ranking.File != RankingState::FileState::Read && ranking.File != RankingState::FileState::Absent)
    return false;
  // This run's entries: the lines the file did not hold when this run last
  // read or wrote it.
  const std::vector<std::string> ours =
      LinesNotHeld(RankingLines(ranking), {ranking.FileLines.begin() + 1, ranking.FileLines.end()});
  // Two copies in one folder each hold the list of their own start: the
  // later one's write must not drop the entry the other wrote meanwhile.
  // Without entries there is nothing to wait for.
  const FileLock lock(path, ours.empty() ? 0 : lockWaitSeconds);
  RankingState merged;
  ReadRankingFile(path, merged);
  if (merged.File == RankingState::FileState::Unreadable) return false;
  // Less those the file holds already (an earlier write of this run put
  // them there).
  const std::vector<std::string> entries = LinesNotHeld(ours, RankingLines(merged));
  // A copy still writing (on a slow disk, or stopped) would rename its list
  // over this one's: with nothing of this run's to add the file is left to
  // it, else the list is not written and the caller says so.
  if (lock.TimedOut()) return entries.empty();
  // Each goes where its flight's own distance ranks it among the file's
  // lines (and this run's entries placed before it), as the check did: with
  // the file unchanged, at the place it was announced.
  merged.EntryDistances = ranking.EntryDistances;
  for (const std::string& entry : entries) {
    const int place = PlaceOfDistance(merged, LineValue(merged, entry));
    if (place > 0) InsertRankingEntry(merged, place, entry, "");
  }
  // A place moved down keeps its bytes.
  if (!RewriteTextLines(path, RankingLines(merged), kMaxRankingFileBytes, tooLarge)) return false;
  ranking.RecordLines = ranking.FileLines = merged.RecordLines;
  ranking.File = RankingState::FileState::Read;
  return true;
}

std::string RankingFileNotice(const RankingState& ranking, const std::string& path) {
  if (ranking.File != RankingState::FileState::Unreadable) return {};
  return "順位ファイルを読み込めませんでした。\r\n" + ShownName(path) + "\r\nこのファイルはそのまま残し、順位は保存しません。";
}

double RankingValue(const std::string& line) { return Val(line); }

int16_t RankingPlace(const RankingState& ranking, const RankingCandidate& f) {
  // Afloat on the lake (no platform under it) a pilot can pedal or drift
  // any distance along the surface: no platform flight.
  const bool qualifies = aircraft::LaunchBelow10(f.LaunchSpeed) && !aircraft::NoPlatformUnder(f.LaunchSpeed, f.LaunchHeight) &&
                         f.WingSpan > 10 && f.WingSpan < 24 && f.Distance > 100 && f.Throttle == 0;
  return qualifies ? PlaceOfDistance(ranking, f.Distance) : int16_t{0};
}

int16_t CheckRanking(RankingState& ranking, const RankingCandidate& flight) {
  const int16_t place = RankingPlace(ranking, flight);
  if (place > 0) {
    ranking.NewRecordRank = place;
    ranking.NewRecordDistance = flight.Distance;
  }
  return place;
}

std::string PilotNameProblem(const std::string& name) {
  if (HoldsLineBreak(name)) return "名前に改行は使えません。";
  return {};
}

bool InsertRankingEntry(RankingState& ranking, int place, const std::string& entryText, const std::string& name) {
  if (place < 1 || place > kRankingPlaces || !PilotNameProblem(name).empty()) return false;
  for (int k = kRankingPlaces; k > place; --k)
    ranking.RecordLines[static_cast<size_t>(k)] = ranking.RecordLines[static_cast<size_t>(k) - 1];
  ranking.RecordLines[static_cast<size_t>(place)] = entryText + name;
  return true;
}

}  // namespace zarv::records
