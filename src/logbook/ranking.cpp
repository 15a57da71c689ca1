#include "logbook/ranking.h"

#include <filesystem>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "platform/runtime/cp932.h"
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
}

namespace {
std::vector<std::string> RankingLines(const RankingState& ranking) {
  return {ranking.RecordLines.begin() + 1, ranking.RecordLines.end()};
}
}  // namespace

bool WriteRankingFile(const std::string& path, const RankingState& ranking, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  if (ranking.File != RankingState::FileState::Read && ranking.File != RankingState::FileState::Absent)
    return false;
  // A place moved down keeps its bytes.
  return RewriteTextLines(path, RankingLines(ranking), kMaxRankingFileBytes, tooLarge);
}

std::string RankingFileNotice(const RankingState& ranking, const std::string& path) {
  if (ranking.File != RankingState::FileState::Unreadable) return {};
  return "順位ファイルを読み込めませんでした。\r\n" + ShownName(path) + "\r\nこのファイルはそのまま残し、順位は保存しません。";
}

double RankingValue(const std::string& line) { return Val(line); }

int16_t RankingPlace(const RankingState& ranking, const RankingCandidate& f) {
  // Afloat on the lake (no platform under it) a pilot can pedal or drift
  // any distance along the surface: no platform flight.
  const bool qualifies = f.Distance > RankingValue(ranking.RecordLines[kRankingPlaces]) && aircraft::LaunchBelow10(f.LaunchSpeed) &&
                         !aircraft::NoPlatformUnder(f.LaunchSpeed, f.LaunchHeight) && f.WingSpan > 10 && f.WingSpan < 24 &&
                         f.Distance > 100 && f.Throttle == 0;
  if (!qualifies) return 0;
  for (int k = 1; k <= kRankingPlaces; ++k)
    if (RankingValue(ranking.RecordLines[static_cast<size_t>(k)]) < f.Distance) return static_cast<int16_t>(k);
  return 0;
}

int16_t CheckRanking(RankingState& ranking, const RankingCandidate& flight) {
  const int16_t place = RankingPlace(ranking, flight);
  if (place > 0) ranking.NewRecordRank = place;
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
