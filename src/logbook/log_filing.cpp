#include "logbook/log_filing.h"

#include <filesystem>
#include <memory>

#include "model/outline.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/file_lock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "logbook/flight_log.h"

namespace zarv::records {

namespace {

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

FilingResult Failed(const std::string& workingCopy) {
  FilingResult r;
  r.Problem = "飛行記録ﾌｧｲﾙを整理できませんでした。\r\n今回の記録は " + ShownName(workingCopy) + " に残してあります。";
  return r;
}

}  // namespace

std::string LogSuffixFor(const std::string& aircraftFileName) {
  return Left(aircraftFileName, Len(aircraftFileName) - 4) + ".csv";
}

bool IsLogOf(const std::string& fileName, const std::string& suffix) {
  // One digit, as the filer writes the numbers 0 to 9: with more, "012.csv"
  // (a log of 12.brd) or "112.csv" would pass for logs of 2.brd.
  return !suffix.empty() && fileName.size() == suffix.size() + 1 && fileName[0] >= '0' && fileName[0] <= '9' &&
         fileName.compare(1, std::string::npos, suffix) == 0;
}

namespace {
// The longest of an aircraft's log names is as long as any.
bool LogNamesFit(const std::string& folder, const std::string& suffix) { return NameFitsIn(folder, "9" + suffix); }
}  // namespace

std::string LogNamesNotice(const std::string& folder, const std::string& aircraftFileName) {
  if (LogNamesFit(folder, LogSuffixFor(aircraftFileName))) return {};
  return "機体ファイルの名前が長すぎるため、この機体の飛行記録は保存できません。\r\n" + ShownName(aircraftFileName);
}

std::vector<std::string> AircraftLogs(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> logs;
  for (const std::string& name : ListFiles(folder, "*.csv"))
    if (IsLogOf(name, suffix)) logs.push_back(name);
  return logs;
}

FileOps RuntimeFileOps() {
  return {[](const std::string& from, const std::string& to) { return MoveFile(from, to); },
          [](const std::string& path) { return DeleteFile(path); }};
}

namespace {

FilingResult FileInto(const std::string& folder, const std::string& suffix, const std::string& workingCopy,
                      int32_t logRowCount, const FileOps& ops) {
  if (logRowCount <= 3 || !LogNamesFit(folder, suffix)) {
    FilingResult r;
    r.Discarded = ops.Delete(workingCopy) || !Exists(workingCopy);
    return r;
  }
  auto path = [&](double n) { return JoinPath(folder, Str(n).substr(1) + suffix); };
  auto nameOf = [&](double n) { return Str(n).substr(1) + suffix; };

  // Close the gaps, lowest number first: the list's name order, as each
  // log's number is its one leading digit.
  double n = -1;
  for (const std::string& name : AircraftLogs(folder, suffix)) {
    const double v = name[0] - '0';
    if (v > n + 1) {
      if (Exists(path(n + 1)) || !ops.Move(JoinPath(folder, name), path(n + 1))) return Failed(workingCopy);
      n = n + 1;
    } else {
      n = v;
    }
  }

  FilingResult r;
  if (n >= 9) {
    // Ten logs: the oldest goes, the others move down by one.
    if (Exists(path(0)) && !ops.Delete(path(0))) return Failed(workingCopy);
    for (int k = 0; k <= 8; ++k) {
      if (!Exists(path(k + 1))) continue;
      if (Exists(path(k)) || !ops.Move(path(k + 1), path(k))) return Failed(workingCopy);
    }
    n = 8;
  }
  if (Exists(path(n + 1)) || !ops.Move(workingCopy, path(n + 1))) return Failed(workingCopy);
  r.Filed = true;
  r.FiledName = nameOf(n + 1);
  return r;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

FilingResult FileFlightLog(const std::string& folder, const std::string& suffix, const std::string& workingCopy,
                           int32_t logRowCount, const FileOps& ops) {
  FilingResult r = FileInto(folder, suffix, workingCopy, logRowCount, ops);
  // The renames survive a power cut only once the folders are synced.
  SyncDir(folder);
  SyncDir(FolderOf(workingCopy));
  return r;
}

namespace {
// A log kept beside the working copy goes to a free name of its own,
// "before1.csv" ... "before999.csv".
struct KeptNames {
  std::string Own, Stem, Extension;
  explicit KeptNames(const std::string& workingCopy) : Own(workingCopy.substr(workingCopy.find_last_of('/') + 1)) {
    const size_t dot = Own.find_last_of('.');
    Stem = Own.substr(0, dot);
    Extension = dot == std::string::npos ? "" : Own.substr(dot);
  }
  // The working copy's own name first, then the free names in turn.
  std::vector<std::string> InOrder(bool withItsOwn) const {
    std::vector<std::string> names = FreeNames(Stem, Extension);
    if (withItsOwn) names.insert(names.begin(), Own);
    return names;
  }
};
}  // namespace

NewLogFiling WriteAndFileLog(const std::string& workingCopy, const std::string& folder, const std::string& suffix,
                             std::string_view bytes, int32_t logRowCount, double waitSeconds) {
  // Held until the log is filed: the next copy's log must not take the
  // working copy's name meanwhile, nor a start file it as left over.
  const FileLock turn(workingCopy, waitSeconds);
  NewLogFiling out;
  out.WorkingCopy = WriteToFreeName(FolderOf(workingCopy), KeptNames(workingCopy).InOrder(!turn.TimedOut()), bytes);
  out.Written = !out.WorkingCopy.empty();
  if (!out.Written) {
    out.WorkingCopy = workingCopy;
    return out;
  }
  MakeDir(folder);
  out.Filing = FileFlightLog(folder, suffix, out.WorkingCopy, logRowCount);
  return out;
}

std::string FileLeftoverLog(const std::string& workingCopy, const std::string& folder,
                            const std::string& aircraftFileName, const FileOps& ops) {
  if (!FileExists(workingCopy)) return {};
  const FileLock turn(workingCopy, 0);
  if (turn.TimedOut() || !FileExists(workingCopy)) return {};
  const std::string suffix = LogSuffixFor(aircraftFileName);
  if (Len(aircraftFileName) > 4) {
    auto record = std::make_unique<flight::FlightRecord>();
    const LogReadResult read = ReadFlightLog(workingCopy, {}, *record, model::AirframeOutline{});
    if (read.Opened) {
      MakeDir(folder);
      const FilingResult filed = FileFlightLog(folder, suffix, workingCopy, record->LogRowCount, ops);
      if (filed.Filed || filed.Discarded) return {};
    }
  }
  const KeptNames names(workingCopy);
  const std::string kept = MoveToFreeName(workingCopy, FolderOf(workingCopy), names.Stem, names.Extension);
  return "前回の飛行記録ﾌｧｲﾙを整理できませんでした。\r\n記録は " + ShownName(kept.empty() ? workingCopy : kept) +
         " に残してあります。";
}

}  // namespace zarv::records
